// The watched folder: files of the listed extensions moved to the target, or a new one opened
// with the chosen program, at most one every 30 seconds.

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

class WatchFolderTest : public EngineFixture {
 protected:
  void StartWatching(int mode, const std::string& extensions = "Ext0=jpg\r\nExt1=png\r\n",
                     const std::string& source = "C:\\In\\") {
    system.files.CreateFolder("C:\\In");
    system.files.CreateFolder("C:\\Out");
    system.files.WriteFile("C:\\Apps\\viewer.exe", "MZ");
    Start("[Watch]\r\nEnb=1\r\nMode=" + std::to_string(mode) + "\r\nSRCPath=" + source +
          "\r\nTrgPath=C:\\Out\r\nAppPath=C:\\Apps\\viewer.exe\r\n" + extensions);
  }
  // Runs ticks up to and including the next watch step.
  void UntilWatchStep() {
    const int ticks = 50 - form->Engine.WatchTickCount;
    TickAt(960, 540, ticks);
  }
  std::vector<std::string> Opened() const {
    std::vector<std::string> opened;
    for (const auto& call : system.shell.Calls()) {
      if (call.file == "C:\\Apps\\viewer.exe") opened.push_back(call.parameters);
    }
    return opened;
  }
};

TEST_F(WatchFolderTest, TheMaskIsBuiltFromTheExtensionsAsTheyWereTyped) {
  StartWatching(0, "Ext0=jpg\r\nExt1=png\r\nExt2=.txt\r\n");
  EXPECT_EQ(form->FileListBox1->Mask(), "*.jpg;*.png;*..txt");
  EXPECT_EQ(form->FileListBox2->Directory(), "C:\\In\\");
  form->ListBox1->Items().Clear();
  form->BuildWatchMask();
  EXPECT_EQ(form->FileListBox1->Mask(), "");
}

TEST_F(WatchFolderTest, MoveModeMovesEveryListedFileAndNeverReplacesOne) {
  // The folder without its backslash still joins the name with one.
  StartWatching(0, "Ext0=jpg\r\nExt1=png\r\nExt2=.txt\r\n", "C:\\In");
  for (const char* name : {"b.PNG", "a.jpg", "notes.txt", "c.gif", "x..txt"}) {
    system.files.WriteFile(std::string("C:\\In\\") + name, name);
  }
  system.files.WriteFile("C:\\In\\taken.jpg", "new");
  system.files.WriteFile("C:\\Out\\taken.jpg", "old");
  system.files.WriteFile("C:\\In\\busy.png", "writing");
  system.files.SetHeldOpen("C:\\In\\busy.png", true);
  system.files.WriteFile("C:\\In\\hidden.jpg", "h");
  system.files.SetAttributes("C:\\In\\hidden.jpg", platform::FileAttributeHidden);

  TickAt(960, 540, 49);
  EXPECT_TRUE(system.files.Exists("C:\\In\\a.jpg"));  // not before the 50th tick
  UntilWatchStep();
  EXPECT_EQ(system.files.Contents("C:\\Out\\a.jpg"), "a.jpg");
  EXPECT_EQ(system.files.Contents("C:\\Out\\b.PNG"), "b.PNG");
  EXPECT_EQ(system.files.Contents("C:\\Out\\x..txt"), "x..txt");
  for (const char* stays : {"notes.txt", "c.gif", "taken.jpg", "busy.png", "hidden.jpg"}) {
    EXPECT_TRUE(system.files.Exists(std::string("C:\\In\\") + stays)) << stays;
  }
  EXPECT_EQ(system.files.Contents("C:\\Out\\taken.jpg"), "old");

  // Retried at every step for as long as it stays.
  system.files.SetHeldOpen("C:\\In\\busy.png", false);
  UntilWatchStep();
  EXPECT_EQ(system.files.Contents("C:\\Out\\busy.png"), "writing");
}

TEST_F(WatchFolderTest, NothingMovesWithoutBothFoldersTheSwitchOrAnExtension) {
  StartWatching(0);
  system.files.WriteFile("C:\\In\\a.jpg", "a");
  form->Settings.Watch.TrgPath = "C:\\Nowhere\\";
  UntilWatchStep();
  form->Settings.Watch.TrgPath = "";
  UntilWatchStep();
  form->Settings.Watch.TrgPath = "C:\\Out\\";
  form->Settings.Watch.Enb = 0;
  UntilWatchStep();
  form->Settings.Watch.Enb = 1;
  form->ListBox1->Items().Clear();
  UntilWatchStep();
  EXPECT_TRUE(system.files.Exists("C:\\In\\a.jpg"));
  EXPECT_EQ(system.files.MoveCount(), 0);
}

TEST_F(WatchFolderTest, OpenModeOpensTheFirstNewFileOnceItsWriterHasLetGo) {
  system.files.WriteFile("C:\\In\\old.jpg", "o");
  StartWatching(1);
  UntilWatchStep();
  EXPECT_TRUE(Opened().empty());  // present at start: not new

  system.files.WriteFile("C:\\In\\b.jpg", "b");
  system.files.WriteFile("C:\\In\\a.png", "a");
  system.files.SetHeldOpen("C:\\In\\a.png", true);
  UntilWatchStep();
  EXPECT_TRUE(Opened().empty());
  system.files.SetHeldOpen("C:\\In\\a.png", false);
  UntilWatchStep();
  ASSERT_EQ(Opened(), std::vector<std::string>{"\"C:\\In\\a.png\""});
  const sim::ShellExecuteCall& call = system.shell.Calls().back();
  EXPECT_EQ(call.directory, "C:\\Apps\\");
  EXPECT_EQ(call.verb, "");
  EXPECT_EQ(call.showCommand, platform::SwShowNormal);
  EXPECT_EQ(call.owner, form->Handle());

  // b.jpg arrived with it and was taken into the accepted listing unopened.
  for (int step = 0; step < 8; ++step) UntilWatchStep();
  EXPECT_EQ(Opened().size(), 1u);
}

TEST_F(WatchFolderTest, AfterAnOpenTheNextWaitsForTheSeventhStep) {
  StartWatching(1);
  system.files.WriteFile("C:\\In\\1.jpg", "1");
  UntilWatchStep();
  ASSERT_EQ(Opened().size(), 1u);
  system.files.WriteFile("C:\\In\\2.jpg", "2");
  for (int step = 1; step <= 6; ++step) {
    UntilWatchStep();
    EXPECT_EQ(Opened().size(), 1u) << "step " << step;
  }
  UntilWatchStep();
  EXPECT_EQ(Opened().size(), 2u);
}

TEST_F(WatchFolderTest, OpenModeFollowsTheCountOfFilesNotTheirNames) {
  system.files.WriteFile("C:\\In\\keep.jpg", "k");
  system.files.WriteFile("C:\\In\\gone.jpg", "g");
  StartWatching(1);
  // One out, one in: the count stays, nothing opens and nothing is accepted.
  system.files.Remove("C:\\In\\gone.jpg");
  system.files.WriteFile("C:\\In\\z.jpg", "z");
  UntilWatchStep();
  EXPECT_TRUE(Opened().empty());
  EXPECT_EQ(form->FindNewWatchedFile(), "z.jpg");
  // A later arrival raises the count: the first new name in sorted order opens.
  system.files.WriteFile("C:\\In\\m.jpg", "m");
  UntilWatchStep();
  EXPECT_EQ(Opened(), std::vector<std::string>{"\"C:\\In\\m.jpg\""});

  // Fewer files: the accepted listing follows, and nothing opens.
  system.files.Remove("C:\\In\\m.jpg");
  system.files.Remove("C:\\In\\z.jpg");
  UntilWatchStep();
  EXPECT_EQ(form->FileListBox1->Items(), std::vector<std::string>{"keep.jpg"});

  // Without the program, nothing is read at all.
  system.files.Remove("C:\\Apps\\viewer.exe");
  system.files.WriteFile("C:\\In\\n.jpg", "n");
  for (int step = 0; step < 8; ++step) UntilWatchStep();
  EXPECT_EQ(Opened().size(), 1u);
}

}  // namespace
}  // namespace varnel::testing
