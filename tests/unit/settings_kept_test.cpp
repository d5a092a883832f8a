// What the user stored stays stored: a path whose drive is away at start, and an extension
// list that cannot grow into "every file" or past what the file keeps.

#include "settings/SettingsKeys.h"
#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

struct KeptSettings : EngineFixture {
  bool FileHolds(const std::string& line) {
    bool canClose = true;
    form->FormCloseQuery(*form, canClose);
    return system.files.Contents(kIniPath).value_or("").find(line + "\r\n") != std::string::npos;
  }
  void Ok() {
    form->mnuSettingClick(*form);
    form->BitBtn1->Click();
  }
  bool Add(const std::string& extension) {
    const std::size_t boxes = system.ui.MessageBoxes().size();
    PeerOf(*form->Edit4).UserType(extension);
    PeerOf(*form->Button4).UserClick();
    return system.ui.MessageBoxes().size() == boxes;
  }
};

TEST_F(KeptSettings, APathWhoseDriveIsAwayIsUnsetButKeptInTheFile) {
  const std::tuple<const char*, const char*, TEdit* TForm1::*> cases[] = {
      {"Exp", "Path", &TForm1::Edit1},     {"Exp", "PathEx", &TForm1::Edit10},
      {"Launch", "Path", &TForm1::Edit5},  {"Watch", "SRCPath", &TForm1::Edit2},
      {"Watch", "TrgPath", &TForm1::Edit3}, {"Watch", "AppPath", &TForm1::Edit11}};
  for (const auto& [section, name, field] : cases) {
    SCOPED_TRACE(name);
    const std::string stored = "E:\\Stick\\" + std::string(name), line = name + ("=" + stored);
    system.files.Remove("E:\\");
    Start("[" + std::string(section) + "]\r\n" + line + "\r\n");
    std::string& setting = SettingKeyNamed(section, name).text(form->Settings);
    EXPECT_EQ(setting, "");  // unset while it is missing
    EXPECT_EQ((form->*field)->Text(), stored);
    EXPECT_TRUE(FileHolds(line));
    Ok();  // the field as it was: still unset, still kept
    EXPECT_EQ(setting, "");
    EXPECT_TRUE(FileHolds(line));
    if (field == &TForm1::Edit11) continue;  // chosen with its button only
    system.files.CreateFolder(stored);  // the drive is back before OK: the text counts
    Ok();
    EXPECT_EQ(setting, stored);
    PeerOf(*(form->*field)).UserType("");  // the user empties the field: the text goes
    Ok();
    EXPECT_FALSE(FileHolds(line));
  }
}

TEST_F(KeptSettings, TheExtensionListTakesOnlyWhatTheMaskAndTheFileCanHold) {
  system.files.CreateFolder("C:\\In");
  Start("[Watch]\r\nSRCPath=C:\\In\\\r\nExt0=txt;*\r\nExt1=pdf\r\nExt2=*\r\nExt3=a b\r\n");
  EXPECT_EQ(form->FileListBox1->Mask(), "*.pdf");  // hand-typed entries stay out of the mask
  for (const char* refused : {"txt;*", "*", "jp?", "a b", "a\tb", "x\xE3\x80\x80y", "..\\x",
                              "c:x", "<>", "a|b", "\"q\"", "a/b"}) {
    EXPECT_FALSE(Add(refused)) << refused;
    EXPECT_EQ(form->Edit4->Text(), refused);  // left for the user to mend
  }
  for (const char* taken : {" tar.gz ", "日本語", ".txt"}) EXPECT_TRUE(Add(taken)) << taken;
  EXPECT_EQ(form->FileListBox1->Mask(), "*.pdf;*.tar.gz;*.日本語;*..txt");
  while (form->ListBox1->Items().Count() < 32) EXPECT_TRUE(Add("e"));
  EXPECT_FALSE(Add("one33"));
  EXPECT_EQ(form->ListBox1->Items().Count(), 32);
  EXPECT_EQ(system.ui.MessageBoxes().back().text, "拡張子は 32 個まで登録できます。");
  EXPECT_EQ(system.ui.MessageBoxes().back().owner, form->Handle());
}

}  // namespace
}  // namespace varnel::testing
