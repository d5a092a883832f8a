// ReadIni and WriteIni on a simulated disk: defaults, the file a first save creates, the
// extension slots, vanished folders, the hand-edited keys, integer forms, failed writes and
// the file's encoding.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/sim/SimCodepage.h"
#include "platform/sim/SimPlatform.h"
#include "settings/IniDocument.h"
#include "settings/Rw_ini.h"
#include "settings/SettingsKeys.h"

namespace varnel {
namespace {

using platform::Rect;

constexpr const char* kIniPath = "C:\\Tools\\varnel.ini";
// The settings window as designed: 500 x 400 pixels.
const Rect kSettingsWindow = Rect::FromSize(100, 100, 500, 400);

class SettingsFile : public ::testing::Test {
 protected:
  SettingsFile() {
    simulated.kernel.SetModuleFileName("C:\\Tools\\varnel.exe");
    simulated.desktop.SetScreen(1280, 800, Rect{0, 0, 1280, 760});
    files.CreateFolder("C:\\Tools");
  }

  struct Loaded {
    Settings settings;
    std::vector<std::string> extensions;
    Rect workArea;
  };
  Loaded Read() {
    Loaded loaded;
    ReadIni(platform, loaded.settings, loaded.extensions, loaded.workArea, kSettingsWindow);
    return loaded;
  }
  std::string FileText() { return files.ReadFile(kIniPath).value_or("<no file>"); }

  sim::SimPlatform simulated;
  sim::SimFileSystem& files = simulated.files;
  platform::Platform& platform = simulated.Get();
};

TEST_F(SettingsFile, NoFileGivesTheDefaults) {
  const Loaded loaded = Read();
  const Settings& s = loaded.settings;
  EXPECT_EQ(loaded.workArea, (Rect{0, 0, 1280, 760}));
  // The settings window opens in the work area's bottom-right corner.
  EXPECT_EQ(s.Pos.Top, 760 - 400);
  EXPECT_EQ(s.Pos.Left, 1280 - 500);
  EXPECT_EQ(s.Pos.Speed, 10);
  EXPECT_EQ(s.Pos.Sense, 3);
  EXPECT_EQ(s.Pos.Offset, 20);
  EXPECT_EQ(s.Pos.INHConner, 1);
  EXPECT_EQ(s.Pos.INHdotX, 30);
  EXPECT_EQ(s.Pos.INHdotY, 20);
  EXPECT_EQ(s.Pos.HideTray, 0);
  EXPECT_EQ(s.Exp.Left, 1);
  EXPECT_EQ(s.Exp.Right + s.Exp.Upper + s.Exp.Lower + s.Exp.Button + s.Exp.BtnLR, 0);
  EXPECT_EQ(s.Exp.Width, 400);
  EXPECT_EQ(s.Exp.Height, 300);
  EXPECT_EQ(s.Exp.FixSave + s.Exp.Fix + s.Exp.Watch + s.Exp.NoTree + s.Exp.PathEn, 0);
  EXPECT_EQ(s.Exp.VT_ADJ + s.Exp.VB_ADJ + s.Exp.HL_ADJ + s.Exp.HR_ADJ, 0);
  EXPECT_EQ(s.Exp.Path, "C:\\Tools\\");
  EXPECT_EQ(s.Exp.PathEx, "C:\\Tools\\");
  EXPECT_EQ(s.Watch.Browser + s.Watch.Enb + s.Watch.Mode, 0);
  EXPECT_EQ(s.Watch.SRCPath + s.Watch.TrgPath + s.Watch.AppPath, "");
  EXPECT_TRUE(loaded.extensions.empty());
  EXPECT_EQ(s.Launch.Path, "");
  EXPECT_EQ(s.Launch.Left, 0);
  EXPECT_EQ(s.Launch.Right, 1);
  EXPECT_EQ(s.Launch.Upper, 1);
  EXPECT_EQ(s.Launch.Lower + s.Launch.Button + s.Launch.BtnLR + s.Launch.Auto, 0);
  EXPECT_EQ(s.Launch.Idle, 6);
  EXPECT_EQ(s.Launch.Lnk, 1);
  EXPECT_EQ(s.Popup.LR + s.Popup.All + s.ini.inh, 0);
}

TEST_F(SettingsFile, TheExplorersDefaultSizeLooksTheSameOnAScaledScreenButAStoredOneStays) {
  simulated.desktop.SetSystemDpi(144);
  EXPECT_EQ(Read().settings.Exp.Width, 600);
  EXPECT_EQ(Read().settings.Exp.Height, 450);
  simulated.desktop.SetSystemDpi(120);
  EXPECT_EQ(Read().settings.Exp.Height, 375);
  files.WriteFile(kIniPath, "[Exp]\r\nWidth=400\r\n");
  EXPECT_EQ(Read().settings.Exp.Width, 400);  // dots as stored
}

TEST_F(SettingsFile, NoFileGivesEveryKeyTheDefaultOfTheTable) {
  const Loaded loaded = Read();
  const DefaultBasis basis{loaded.workArea, kSettingsWindow, "C:\\Tools\\"};
  for (const SettingKey& entry : kSettingKeys) {
    SCOPED_TRACE(std::string(entry.section) + "." + std::string(entry.key));
    switch (entry.kind) {
      case KeyKind::Integer:
        EXPECT_EQ(entry.integer(loaded.settings), entry.DefaultInteger(basis));
        break;
      case KeyKind::Folder:
      case KeyKind::File:
      case KeyKind::Text:
        EXPECT_EQ(entry.text(loaded.settings), entry.DefaultText(basis));
        break;
      case KeyKind::ExtensionSlots:
        EXPECT_TRUE(loaded.extensions.empty());
        break;
    }
  }
}

// A value of its own for every key: a number, or a folder or file that exists.
std::string OwnValue(sim::SimFileSystem& files, const SettingKey& entry, int number) {
  const std::string name = "C:\\K" + std::to_string(number);
  switch (entry.kind) {
    case KeyKind::Integer:
      return std::to_string(number);
    case KeyKind::Folder:
      files.CreateFolder(name);
      return name + "\\";
    case KeyKind::File:
      files.WriteFile(name + ".exe", "MZ");
      return name + ".exe";
    case KeyKind::Text:
      return "K" + std::to_string(number);  // names no keystroke, so kept as it stands
    case KeyKind::ExtensionSlots:
      break;
  }
  return std::string();
}

std::string MemberText(const SettingKey& entry, const Settings& settings) {
  return entry.kind == KeyKind::Integer ? std::to_string(entry.integer(settings))
                                        : entry.text(settings);
}

TEST_F(SettingsFile, EveryKeyReadsIntoItsOwnMemberAndIsWrittenFromIt) {
  std::string text;
  std::string_view section;
  int number = 1000;
  for (const SettingKey& entry : kSettingKeys) {
    if (entry.section != section) {
      section = entry.section;
      text += "[" + std::string(section) + "]\r\n";
    }
    if (entry.kind == KeyKind::ExtensionSlots) continue;
    text += std::string(entry.key) + "=" + OwnValue(files, entry, number++) + "\r\n";
  }
  files.WriteFile(kIniPath, text);
  Loaded loaded = Read();

  // Each member holds its own key's value; then each takes a new one, which only the keys
  // that are written carry into the file.
  const IniDocument before = IniDocument::Parse(text);
  number = 2000;
  for (const SettingKey& entry : kSettingKeys) {
    if (entry.kind == KeyKind::ExtensionSlots) continue;
    SCOPED_TRACE(std::string(entry.section) + "." + std::string(entry.key));
    EXPECT_EQ(MemberText(entry, loaded.settings), before.Get(entry.section, entry.key));
    if (entry.kind == KeyKind::Integer) entry.integer(loaded.settings) = number++;
    else entry.text(loaded.settings) = OwnValue(files, entry, number++);
  }
  WriteIni(platform, loaded.settings, loaded.extensions);
  const IniDocument after = IniDocument::Parse(FileText());
  for (const SettingKey& entry : kSettingKeys) {
    if (entry.kind == KeyKind::ExtensionSlots) continue;
    SCOPED_TRACE(std::string(entry.section) + "." + std::string(entry.key));
    EXPECT_EQ(after.Get(entry.section, entry.key),
              entry.written ? MemberText(entry, loaded.settings)
                            : before.Get(entry.section, entry.key));
  }
}

TEST_F(SettingsFile, FirstWriteCreatesTheFileInTheWrittenOrder) {
  Loaded loaded = Read();
  WriteIni(platform, loaded.settings, loaded.extensions);

  std::string expected =
      "[Pos]\r\nTop=360\r\nLeft=780\r\nSpeed=10\r\nSense=3\r\nOffset=20\r\nINHConner=1\r\n"
      "INHdotX=30\r\nINHdotY=20\r\nHideTray=0\r\n"
      "[Exp]\r\nLeft=1\r\nRight=0\r\nUpper=0\r\nLower=0\r\nButton=0\r\nBtnLR=0\r\nWidth=400\r\n"
      "Height=300\r\nFixSave=0\r\nFix=0\r\nWatch=0\r\nNoTree=0\r\nPath=C:\\Tools\\\r\n"
      "PathEn=0\r\nPathEx=C:\\Tools\\\r\nFullGuard=1\r\nAllMonitors=0\r\n"
      "[Watch]\r\nBrowser=0\r\nEnb=0\r\nMode=0\r\nSRCPath=\r\nTrgPath=\r\nAppPath=\r\n";
  for (int i = 0; i < 32; ++i) expected += "Ext" + std::to_string(i) + "=\r\n";
  expected +=
      "[Launch]\r\nPath=\r\nLeft=0\r\nRight=1\r\nUpper=1\r\nLower=0\r\nButton=0\r\nBtnLR=0\r\n"
      "Idle=6\r\nLnk=1\r\nAuto=0\r\n"
      "[Popup]\r\nLR=0\r\nAll=0\r\n"
      "[ini]\r\ninh=0\r\n"
      "[Hotkey]\r\nExplorer=\r\nLaunch=\r\nPause=\r\n[Quiet]\r\nPrograms=\r\n";
  EXPECT_EQ(FileText(), expected);
  EXPECT_EQ(files.ActualPath(kIniPath), kIniPath);
  EXPECT_EQ(files.ReplaceCount(), 1);

  // What was written reads back as it was.
  const Loaded again = Read();
  EXPECT_EQ(again.settings.Pos.Top, 360);
  EXPECT_EQ(again.settings.Exp.Path, "C:\\Tools\\");
  EXPECT_EQ(again.settings.Launch.Idle, 6);
}

TEST_F(SettingsFile, ExtensionSlotsCloseUpAndStopAt32) {
  files.WriteFile(kIniPath, "[Watch]\r\nExt0=doc\r\nExt1=\r\nExt2=txt\r\nExt31= pdf\r\n");
  Loaded loaded = Read();
  // Values as the profile functions give them: trimmed.
  EXPECT_EQ(loaded.extensions, (std::vector<std::string>{"doc", "txt", "pdf"}));

  WriteIni(platform, loaded.settings, loaded.extensions);
  // Slots are rewritten where they stand; the missing keys follow the last key of [Watch].
  EXPECT_NE(FileText().find("Ext0=doc\r\nExt1=txt\r\nExt2=pdf\r\nExt31=\r\nBrowser=0\r\n"),
            std::string::npos);
  EXPECT_EQ(Read().extensions, (std::vector<std::string>{"doc", "txt", "pdf"}));

  std::vector<std::string> many;
  for (int i = 0; i < 35; ++i) many.push_back("e" + std::to_string(i));
  WriteIni(platform, loaded.settings, many);
  EXPECT_NE(FileText().find("Ext30=e30\r\nExt32=e32\r\nExt33=e33\r\nExt34=e34\r\n[Pos]"),
            std::string::npos);
  const std::vector<std::string> readBack = Read().extensions;
  ASSERT_EQ(readBack.size(), 32u);
  EXPECT_EQ(readBack.front(), "e0");
  EXPECT_EQ(readBack.back(), "e31");

  // A shorter list blanks the slots it no longer uses; slots past 31 are left as they are.
  WriteIni(platform, loaded.settings, {"one"});
  EXPECT_EQ(Read().extensions, (std::vector<std::string>{"one"}));
  EXPECT_NE(FileText().find("Ext1=\r\n"), std::string::npos);
  EXPECT_NE(FileText().find("Ext34=e34\r\n"), std::string::npos);
}

TEST_F(SettingsFile, FoldersAndFilesThatNoLongerExistReadAsEmptyAndStayInTheFile) {
  files.CreateFolder("C:\\Data\\In");
  files.WriteFile("C:\\Apps\\viewer.exe", "MZ");
  files.WriteFile(kIniPath,
                  "[Exp]\r\nPath=C:\\Gone\\\r\nPathEx=c:\\data\\in\\\r\n"
                  "[Watch]\r\nSRCPath=C:\\Data\\In\r\nTrgPath=C:\\Apps\\viewer.exe\r\n"
                  "AppPath=C:\\Apps\\viewer.exe\r\n"
                  "[Launch]\r\nPath=C:\\Data\\Gone\\\r\n");
  Loaded loaded = Read();
  EXPECT_EQ(loaded.settings.Exp.Path, "");
  EXPECT_EQ(loaded.settings.Exp.PathEx, "c:\\data\\in\\");
  EXPECT_EQ(loaded.settings.Watch.SRCPath, "C:\\Data\\In");
  EXPECT_EQ(loaded.settings.Watch.TrgPath, "");  // a file is no folder
  EXPECT_EQ(loaded.settings.Watch.AppPath, "C:\\Apps\\viewer.exe");
  EXPECT_EQ(loaded.settings.Launch.Path, "");

  // Unset while missing, but the file keeps what the user stored: the drive may come back.
  WriteIni(platform, loaded.settings, loaded.extensions);
  EXPECT_NE(FileText().find("[Exp]\r\nPath=C:\\Gone\\\r\n"), std::string::npos);
  EXPECT_NE(FileText().find("TrgPath=C:\\Apps\\viewer.exe\r\n"), std::string::npos);

  files.Remove("C:\\Apps\\viewer.exe");
  EXPECT_EQ(Read().settings.Watch.AppPath, "");
}

TEST_F(SettingsFile, HandEditedKeysAndTextSurviveWrites) {
  const std::string edited =
      "; my settings\r\n[Exp]\r\nVT_ADJ=12\r\nVB_ADJ = -3\r\nHL_ADJ=0x10\r\nHR_ADJ=$8\r\n"
      "[Mine]\r\nkeep=this\r\n";
  files.WriteFile(kIniPath, edited);
  Loaded loaded = Read();
  EXPECT_EQ(loaded.settings.Exp.VT_ADJ, 12);
  EXPECT_EQ(loaded.settings.Exp.VB_ADJ, -3);
  EXPECT_EQ(loaded.settings.Exp.HL_ADJ, 16);
  EXPECT_EQ(loaded.settings.Exp.HR_ADJ, 8);

  loaded.settings.Exp.VT_ADJ = 99;  // never written, whatever the model holds
  for (int i = 0; i < 3; ++i) WriteIni(platform, loaded.settings, loaded.extensions);
  const std::string text = FileText();
  EXPECT_TRUE(text.starts_with("; my settings\r\n[Exp]\r\nVT_ADJ=12\r\nVB_ADJ = -3\r\n"
                               "HL_ADJ=0x10\r\nHR_ADJ=$8\r\nLeft=1\r\n"));
  EXPECT_NE(text.find("[Mine]\r\nkeep=this\r\n[Pos]\r\nTop="), std::string::npos);
  EXPECT_EQ(Read().settings.Exp.VT_ADJ, 12);
}

TEST_F(SettingsFile, IntegerForms) {
  auto speedOf = [&](const std::string& value) {
    files.WriteFile(kIniPath, "[Pos]\r\nSpeed=" + value + "\r\n");
    return Read().settings.Pos.Speed;
  };
  EXPECT_EQ(speedOf("0x14"), 20);
  EXPECT_EQ(speedOf("abc"), 10);
  EXPECT_EQ(speedOf(""), 10);
  EXPECT_EQ(speedOf("500"), 500);  // the slider clamps later, at start-up
  EXPECT_EQ(speedOf("5"), 5);
  EXPECT_EQ(speedOf("0"), 0);
  EXPECT_EQ(speedOf("\"7\""), 7);
  EXPECT_EQ(speedOf("4294967296"), 10);
  EXPECT_EQ(speedOf("-2147483649"), 10);

  files.WriteFile(kIniPath, "[Pos]\r\nTop=x1F\r\nLeft=-20\r\n");
  const Loaded loaded = Read();
  EXPECT_EQ(loaded.settings.Pos.Top, 31);
  EXPECT_EQ(loaded.settings.Pos.Left, -20);
}

TEST_F(SettingsFile, FailedWriteKeepsTheOldFileWhole) {
  const std::string old = "[Pos]\r\nSpeed=42\r\n[Exp]\r\nVT_ADJ=12\r\n";
  files.WriteFile(kIniPath, old);
  files.SetAttributes(kIniPath, platform::FileAttributeReadOnly);
  Loaded loaded = Read();
  loaded.settings.Pos.Speed = 7;

  try {
    WriteIni(platform, loaded.settings, loaded.extensions);
    FAIL() << "a read-only file was written";
  } catch (const EIniWriteError& error) {
    EXPECT_STREQ(error.what(), "C:\\Tools\\varnel.ini に書き込めません");
  }
  EXPECT_EQ(FileText(), old);

  files.SetAttributes(kIniPath, 0);
  files.SetDiskFull(true);
  EXPECT_THROW(WriteIni(platform, loaded.settings, loaded.extensions), EIniWriteError);
  EXPECT_EQ(FileText(), old);
  files.SetDiskFull(false);
  WriteIni(platform, loaded.settings, loaded.extensions);
  EXPECT_EQ(Read().settings.Pos.Speed, 7);
}

TEST_F(SettingsFile, WriteProtectedFolderCreatesNothing) {
  simulated.kernel.SetModuleFileName("D:\\Locked\\Varnel.EXE");
  files.CreateFolder("D:\\Locked");
  files.SetFolderWriteProtected("D:\\Locked", true);
  Loaded loaded = Read();
  EXPECT_THROW(
      {
        try {
          WriteIni(platform, loaded.settings, loaded.extensions);
        } catch (const EIniWriteError& error) {
          EXPECT_STREQ(error.what(), "D:\\Locked\\Varnel.ini に書き込めません");
          throw;
        }
      },
      EIniWriteError);
  EXPECT_FALSE(files.Exists("D:\\Locked\\Varnel.ini"));
}

TEST_F(SettingsFile, OneNameForReadingAndWriting) {
  // A file saved as VARNEL.INI by an older version is the same file on Windows.
  files.WriteFile("C:\\Tools\\VARNEL.INI", "[Pos]\r\nSpeed=33\r\n");
  EXPECT_EQ(SettingsFilePath(platform), kIniPath);
  Loaded loaded = Read();
  EXPECT_EQ(loaded.settings.Pos.Speed, 33);
  WriteIni(platform, loaded.settings, loaded.extensions);
  EXPECT_EQ(files.ActualPath(kIniPath), "C:\\Tools\\VARNEL.INI");

  simulated.kernel.SetModuleFileName("C:\\Tools\\v.1\\varnel");
  EXPECT_EQ(SettingsFilePath(platform), "C:\\Tools\\v.1\\varnel.ini");
}

TEST_F(SettingsFile, AnsiOrUtf8DependingOnWhatTheValuesNeed) {
  // 日本語: every character has a form in code page 932.
  const std::string japanese = "C:\\\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\\";
  const std::string japaneseSjis = "C:\\\x93\xfa\x96\x7b\x8c\xea\\";
  // 한국어 (Korean) has none.
  const std::string korean = "C:\\\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4\\";
  files.CreateFolder(japanese);
  files.CreateFolder(korean);

  Loaded loaded = Read();
  loaded.settings.Exp.Path = japanese;
  WriteIni(platform, loaded.settings, loaded.extensions);
  EXPECT_NE(FileText().find("Path=" + japaneseSjis + "\r\n"), std::string::npos);
  EXPECT_FALSE(FileText().starts_with("\xEF\xBB\xBF"));
  EXPECT_EQ(Read().settings.Exp.Path, japanese);

  loaded.settings.Exp.PathEx = korean;
  WriteIni(platform, loaded.settings, loaded.extensions);
  EXPECT_TRUE(FileText().starts_with("\xEF\xBB\xBF[Pos]\r\n"));
  EXPECT_NE(FileText().find("Path=" + japanese + "\r\n"), std::string::npos);
  Loaded utf8 = Read();
  EXPECT_EQ(utf8.settings.Exp.Path, japanese);
  EXPECT_EQ(utf8.settings.Exp.PathEx, korean);

  // Once UTF-8, the file stays UTF-8 when the last such character is gone.
  utf8.settings.Exp.PathEx = "C:\\Tools\\";
  WriteIni(platform, utf8.settings, utf8.extensions);
  EXPECT_TRUE(FileText().starts_with("\xEF\xBB\xBF[Pos]\r\n"));
  EXPECT_EQ(Read().settings.Exp.Path, japanese);
}

// --- The file's encoding and the bytes nobody changed ------------------------------------

std::string Encoded(std::string_view utf8, const char* encoding) {
  return *sim::SimCodepage(encoding).Utf8ToAnsi(utf8);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST_F(SettingsFile, ARoundTripKeepsEveryByteNobodyChangedInEachEncoding) {
  // Every key the program writes, as a first save writes it; then what a user adds by hand.
  Loaded loaded = Read();
  WriteIni(platform, loaded.settings, loaded.extensions);
  const std::string ours = FileText();
  // 設定 and 東京 fit code page 932, so one text serves every encoding.
  const std::string before = "; \xE8\xA8\xAD\xE5\xAE\x9A\r\n[Mine]\r\nkeep=this\r\n";
  std::string after = Replaced(ours, "Sense=3\r\n", "  Sense =  3 \n");
  after = Replaced(after, "[Exp]\r\n",
                   "[Exp]\r\nVT_ADJ=12\r\nVB_ADJ = -3\r\nHL_ADJ=0x10\rHR_ADJ=$8\r\n");
  after += "[Other]\r\n\xE5\xA0\xB4\xE6\x89\x80=\xE6\x9D\xB1\xE4\xBA\xAC\r\nno break at the end";

  struct Case {
    const char* name;
    std::string mark;
    const char* encoding;
    std::string damaged;  // a line of bytes that are no character of the encoding
  };
  const Case cases[] = {
      {"ANSI", "", "CP932", "; \x82 \x81\r\n"},
      {"UTF-8 with mark", "\xEF\xBB\xBF", "UTF-8", "; \xC0\xAF \xFF\r\n"},
      {"UTF-16 LE with mark", "\xFF\xFE", "UTF-16LE",
       Encoded("; ", "UTF-16LE") + std::string("\x00\xDC", 2) + Encoded("\r\n", "UTF-16LE")},
  };
  for (const Case& c : cases) {
    const auto file = [&](const std::string& rest) {
      return c.mark + Encoded(before, c.encoding) + c.damaged + Encoded(rest, c.encoding);
    };
    files.WriteFile(kIniPath, file(after));
    Loaded edited = Read();
    EXPECT_EQ(edited.settings.Pos.Speed, 10) << c.name;
    EXPECT_EQ(edited.settings.Exp.VT_ADJ, 12) << c.name;
    EXPECT_EQ(edited.settings.Exp.HR_ADJ, 8) << c.name;
    edited.settings.Pos.Speed = 55;
    WriteIni(platform, edited.settings, edited.extensions);
    EXPECT_EQ(FileText(), file(Replaced(after, "Speed=10\r\n", "Speed=55\r\n"))) << c.name;
  }

  // A folder with no form in code page 932 makes the ANSI file UTF-8 with its mark: every
  // character stays, and the damaged bytes, which never read as characters, read as U+FFFD.
  const std::string korean = "C:\\\xED\x95\x9C\\";
  files.CreateFolder(korean);
  files.WriteFile(kIniPath, Encoded(before, "CP932") + "; \x82 \x81\r\n" + Encoded(after, "CP932"));
  Loaded edited = Read();
  edited.settings.Exp.PathEx = korean;
  WriteIni(platform, edited.settings, edited.extensions);
  EXPECT_EQ(FileText(), "\xEF\xBB\xBF" + before + "; \xEF\xBF\xBD \xEF\xBF\xBD\r\n" +
                            Replaced(after, "PathEx=C:\\Tools\\", "PathEx=" + korean));
  EXPECT_EQ(Read().settings.Exp.PathEx, korean);
}

TEST_F(SettingsFile, AFileOver1MiBIsNeitherReadNorOverwritten) {
  const std::string head = "[Pos]\r\nSpeed=55\r\n;";
  for (const std::size_t size : {std::size_t{1024 * 1024}, std::size_t{1024 * 1024 + 1}}) {
    const std::string contents = head + std::string(size - head.size(), 'x');
    files.WriteFile(kIniPath, contents);
    Loaded loaded = Read();
    if (size == 1024 * 1024) {
      EXPECT_EQ(loaded.settings.Pos.Speed, 55);
      EXPECT_NO_THROW(WriteIni(platform, loaded.settings, loaded.extensions));
      continue;
    }
    EXPECT_EQ(loaded.settings.Pos.Speed, 10);
    EXPECT_EQ(loaded.settings.Exp.Path, "C:\\Tools\\");
    try {
      WriteIni(platform, loaded.settings, loaded.extensions);
      ADD_FAILURE() << "a file over 1 MiB was overwritten";
    } catch (const EIniWriteError& error) {
      EXPECT_STREQ(error.what(),
                   "C:\\Tools\\varnel.ini に書き込めません\n"
                   "（1 MB を超える設定ファイルは読み込みも上書きもしません）");
    }
    EXPECT_EQ(FileText(), contents);
  }
}

}  // namespace
}  // namespace varnel
