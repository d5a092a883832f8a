// The simulated disk behaves as the Windows file functions do where the program relies on it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimFileSystem.h"

namespace varnel::sim {
namespace {

using platform::FileAttributeDirectory;
using platform::FileAttributeHidden;
using platform::FileAttributeReadOnly;
using platform::InvalidFileAttributes;

TEST(SimFileSystem, NamesIgnoreCaseAndSlashKind) {
  SimFileSystem files;
  files.WriteFile("C:\\Data\\Notes.TXT", "abc");
  EXPECT_EQ(files.ReadFile("c:/data/notes.txt"), "abc");
  EXPECT_EQ(files.ActualPath("c:\\DATA\\notes.txt"), "C:\\Data\\Notes.TXT");
  EXPECT_TRUE(files.FolderExists("C:\\Data\\"));
  EXPECT_TRUE(files.FolderExists("c:\\data"));
  EXPECT_TRUE(files.FolderExists("C:\\"));
  EXPECT_TRUE(files.FileExists("C:\\Data\\Notes.txt"));
  // A trailing backslash asks for a folder.
  EXPECT_EQ(files.GetFileAttributes("C:\\Data\\Notes.txt\\"), InvalidFileAttributes);
  EXPECT_FALSE(files.FolderExists("D:\\"));
  EXPECT_FALSE(files.FolderExists("Data"));
  EXPECT_FALSE(files.FolderExists(""));
  EXPECT_EQ(files.ReadFile("C:\\Data"), std::nullopt);
}

TEST(SimFileSystem, AttributesKeepTheDirectoryBit) {
  SimFileSystem files;
  files.CreateFolder("C:\\A\\B");
  files.SetAttributes("C:\\A\\B", FileAttributeHidden);
  EXPECT_EQ(files.GetFileAttributes("C:\\A\\B"), FileAttributeDirectory | FileAttributeHidden);
  files.Remove("C:\\A");
  EXPECT_FALSE(files.Exists("C:\\A\\B"));
  EXPECT_TRUE(files.Exists("C:\\"));
}

TEST(SimFileSystem, ReplaceFileIsAllOrNothing) {
  SimFileSystem files;
  files.CreateFolder("C:\\Dir");
  EXPECT_TRUE(files.ReplaceFile("C:\\Dir\\new.ini", "1"));
  EXPECT_EQ(files.ReadFile("C:\\Dir\\new.ini"), "1");
  EXPECT_FALSE(files.ReplaceFile("C:\\Missing\\x.ini", "1"));
  EXPECT_FALSE(files.ReplaceFile("C:\\Dir", "1"));

  files.SetAttributes("C:\\Dir\\new.ini", FileAttributeReadOnly);
  EXPECT_FALSE(files.ReplaceFile("c:\\dir\\NEW.INI", "2"));
  files.SetAttributes("C:\\Dir\\new.ini", FileAttributeHidden);
  EXPECT_TRUE(files.ReplaceFile("c:\\dir\\NEW.INI", "3"));
  // The replaced file keeps its name and attributes.
  EXPECT_EQ(files.ActualPath("C:\\Dir\\new.ini"), "C:\\Dir\\new.ini");
  EXPECT_EQ(files.GetFileAttributes("C:\\Dir\\new.ini"), FileAttributeHidden);

  files.SetFolderWriteProtected("C:\\Dir", true);
  EXPECT_FALSE(files.ReplaceFile("C:\\Dir\\new.ini", "4"));
  EXPECT_FALSE(files.ReplaceFile("C:\\Dir\\other.ini", "4"));
  files.SetFolderWriteProtected("C:\\Dir", false);
  files.SetDiskFull(true);
  EXPECT_FALSE(files.ReplaceFile("C:\\Dir\\new.ini", "5"));
  EXPECT_EQ(files.ReadFile("C:\\Dir\\new.ini"), "3");
  EXPECT_FALSE(files.Exists("C:\\Dir\\other.ini"));
  EXPECT_EQ(files.ReplaceCount(), 8);
}

// ReplaceFileW moved the old file aside and could not give the new one its name: the repair
// leaves one whole file in place when it can, and otherwise loses neither.
TEST(SimFileSystem, AReplaceThatFailsHalfwayIsRepaired) {
  struct Case {
    const char* name;
    bool existed;
    int failingMoves;  // renames onto the file's name that fail
    bool replaced;
    std::vector<std::string> after;  // the folder's files, "name=contents"
  };
  const Case cases[] = {
      {"the new file on the second try", true, 1, true, {"a.ini=new"}},
      {"the old file back", true, 2, false, {"a.ini=old"}},
      {"neither can take the name", true, 3, false, {"vnl1000.bak=old", "vnl1000.tmp=new"}},
      {"a new file that cannot take its name", false, 1, false, {}},
  };
  for (const Case& c : cases) {
    SimFileSystem files;
    files.CreateFolder("C:\\Dir");
    if (c.existed) {
      files.WriteFile("C:\\Dir\\a.ini", "old");
      files.SetAttributes("C:\\Dir\\a.ini", FileAttributeHidden);
    }
    files.FailMovesInto("C:\\Dir\\a.ini", c.failingMoves);
    EXPECT_EQ(files.ReplaceFile("C:\\Dir\\a.ini", "new"), c.replaced) << c.name;
    std::vector<std::string> after;
    for (const platform::FindData& found : files.FindFiles("C:\\Dir\\*.*")) {
      if (found.name != "." && found.name != "..")
        after.push_back(found.name + "=" + *files.ReadFile("C:\\Dir\\" + found.name));
    }
    EXPECT_EQ(after, c.after) << c.name;
    if (c.existed && c.failingMoves < 3) {
      EXPECT_EQ(files.GetFileAttributes("C:\\Dir\\a.ini"), FileAttributeHidden) << c.name;
    }
  }
}

}  // namespace
}  // namespace varnel::sim
