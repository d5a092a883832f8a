// The settings window's buttons and links: the folder and program choosers, the watched
// extensions, the About page.

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

class SettingsButtonsTest : public EngineFixture {
 protected:
  // The user confirms `answer` in every dialog (nothing: cancels).
  void DialogsAnswer(std::optional<std::string> answer) {
    system.ui.SetDialogScript([answer](const sim::SimUi::SimDialog&) { return answer; });
  }
  void Click(TControl& control) { PeerOf(control).UserClick(); }
};

TEST_F(SettingsButtonsTest, AChosenFolderGainsOneBackslashAndADriveRootStaysAsItIs) {
  system.files.CreateFolder("C:\\Old");
  Start("[Watch]\r\nTrgPath=C:\\Old\\\r\n");
  form->mnuSettingClick(*form);
  PeerOf(*form->Edit3).UserType("C:\\Typed\\");
  DialogsAnswer("D:\\Music");
  Click(*form->Button3);
  const sim::SimUi::SimDialog& dialog = system.ui.Dialogs().back();
  EXPECT_EQ(dialog.kind, "BrowseForFolder");
  EXPECT_EQ(dialog.folder, "C:\\Old\\");  // the setting, not the typed text
  EXPECT_EQ(dialog.title, "フォルダーの選択");
  EXPECT_EQ(dialog.owner, form->Handle());
  EXPECT_EQ(form->Settings.Watch.TrgPath, "D:\\Music\\");
  EXPECT_EQ(form->Edit3->Text(), "D:\\Music\\");

  DialogsAnswer("E:\\");
  Click(*form->Button1);
  EXPECT_EQ(form->Settings.Exp.Path, "E:\\");
  EXPECT_EQ(form->Edit1->Text(), "E:\\");
  // A confirmed item with no path in the file system keeps the folder the dialog started on.
  DialogsAnswer("");
  Click(*form->Button7);
  EXPECT_EQ(form->Settings.Exp.PathEx, form->Edit10->Text());
}

TEST_F(SettingsButtonsTest, CancellingChangesNothingAndRebuildsNothing) {
  system.files.CreateFolder("C:\\Launch");
  system.files.WriteFile("C:\\Launch\\Editor.lnk", "L");
  system.files.CreateFolder("C:\\Other");
  system.files.WriteFile("C:\\Other\\Player.lnk", "L");
  Start("[Launch]\r\nPath=C:\\Launch\\\r\n");
  const auto shows = [this](const std::string& caption) {
    const TMenuItem& menu = form->PopupMenuLaunch->Items();
    for (int i = 0; i < menu.Count(); ++i) {
      if (menu.Item(i).Caption() == caption) return true;
    }
    return false;
  };
  system.files.WriteFile("C:\\Launch\\Later.lnk", "L");
  DialogsAnswer(std::nullopt);
  Click(*form->Button6);
  EXPECT_EQ(form->Settings.Launch.Path, "C:\\Launch\\");
  EXPECT_EQ(form->Edit5->Text(), "C:\\Launch\\");
  EXPECT_FALSE(shows("Later"));  // not rebuilt
  DialogsAnswer("C:\\Other");
  Click(*form->Button6);
  EXPECT_EQ(form->Settings.Launch.Path, "C:\\Other\\");
  EXPECT_TRUE(shows("Player"));
  EXPECT_FALSE(shows("Editor"));
}

TEST_F(SettingsButtonsTest, TheWatchedFolderAndExtensionsRebuildTheListingsAtOnce) {
  system.files.CreateFolder("C:\\In");
  system.files.WriteFile("C:\\In\\a.pdf", "a");
  Start();
  DialogsAnswer("C:\\In");
  Click(*form->Button2);
  EXPECT_EQ(form->FileListBox1->Directory(), "C:\\In\\");

  PeerOf(*form->Edit4).UserType(" \tpdf  ");
  Click(*form->Button4);
  PeerOf(*form->Edit4).UserType("pdf");
  Click(*form->Button4);
  PeerOf(*form->Edit4).UserType("  ");
  Click(*form->Button4);
  EXPECT_EQ(form->ListBox1->Items().Items(), (std::vector<std::string>{"pdf", "pdf"}));
  EXPECT_EQ(form->Edit4->Text(), "  ");  // a blank entry is left as typed
  EXPECT_EQ(form->FileListBox1->Mask(), "*.pdf;*.pdf");
  EXPECT_EQ(form->FileListBox2->Count(), 2);  // two patterns, one file, listed twice

  form->ListBox1->SetItemIndex(-1);
  Click(*form->Button5);
  EXPECT_EQ(form->ListBox1->Items().Count(), 2);
  PeerOf(*form->ListBox1).UserSelect(0);
  Click(*form->Button5);
  EXPECT_EQ(form->ListBox1->Items().Items(), std::vector<std::string>{"pdf"});
  EXPECT_EQ(form->FileListBox1->Mask(), "*.pdf");
}

TEST_F(SettingsButtonsTest, TheProgramChooserOffersExecutablesAndStoresTheChoice) {
  Start();
  DialogsAnswer(std::nullopt);
  Click(*form->Button8);
  EXPECT_EQ(form->Settings.Watch.AppPath, "");
  DialogsAnswer("C:\\Apps\\viewer.exe");
  Click(*form->Button8);
  const sim::SimUi::SimDialog& dialog = system.ui.Dialogs().back();
  EXPECT_EQ(dialog.kind, "GetOpenFileName");
  EXPECT_EQ(dialog.filter, "実行形式 file(*.exe)|*.exe");
  EXPECT_EQ(dialog.defaultExtension, ".exe");
  EXPECT_EQ(form->Settings.Watch.AppPath, "C:\\Apps\\viewer.exe");
  EXPECT_EQ(form->Edit11->Text(), "C:\\Apps\\viewer.exe");
}

TEST_F(SettingsButtonsTest, TheAboutLinksAndTheHelpPageOpenThroughTheShell) {
  system.kernel.SetModuleFileName("D:\\Portable\\Varnel\\varnel.exe");
  Start();
  // No link leads to an address nobody answers: the home-page link opens the help page that
  // travels with the program, and there is no mail link to show.
  EXPECT_FALSE(form->Label5->Visible());
  Click(*form->Label4);
  Click(*form->BitBtn2);
  const auto& calls = system.shell.Calls();
  ASSERT_GE(calls.size(), 2u);
  const sim::ShellExecuteCall& home = calls[calls.size() - 2];
  EXPECT_EQ(home.file, "D:\\Portable\\Varnel\\varnel_help\\help.htm");
  EXPECT_EQ(home.verb, "open");
  EXPECT_EQ(home.owner, system.desktop.GetDesktopWindow());
  const sim::ShellExecuteCall& help = calls.back();
  EXPECT_EQ(help.file, "D:\\Portable\\Varnel\\varnel_help\\help.htm");
  EXPECT_EQ(help.directory, "D:\\Portable\\Varnel\\varnel_help\\");
  EXPECT_EQ(help.owner, form->Handle());
  EXPECT_EQ(help.showCommand, platform::SwShowNormal);

  TMailAndHP bare(nullptr, "bare", system.Get());
  bare.SendMail();
  bare.OpenHomePage();
  EXPECT_EQ(calls[calls.size() - 2].file, "mailto:");
  EXPECT_EQ(calls.back().file, "http://");
}

}  // namespace
}  // namespace varnel::testing
