// The main form on the simulated desktop: start-up, the settings window, exit.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "platform/sim/SimPlatform.h"
#include "settings/IniDocument.h"
#include "settings/SettingsKeys.h"
#include "tests/unit/EngineFixture.h"

namespace varnel {
namespace {

using testing::kIniPath;
constexpr int kOuterWidth = 320 + sim::SimUi::kFrameWidth;
constexpr int kOuterHeight = 346 + sim::SimUi::kFrameHeight;

class Form1Test : public testing::EngineFixture {
 protected:
  std::optional<std::string> Stored(const char* section, const char* key) {
    const std::optional<std::string> file = system.files.ReadFile(kIniPath);
    if (!file) return std::nullopt;
    return IniDocument::Parse(*file).Get(section, key);
  }
  platform::Rect FormRect() { return system.desktop.GetWindowRect(form->Handle()); }
};

TEST_F(Form1Test, FirstStartWithoutAFileShowsNothingAndHasNoTaskbarButton) {
  Start();
  EXPECT_EQ(FormRect(), platform::Rect::FromSize(-1920, -1080, 1, 1));
  EXPECT_TRUE(system.desktop.IsWindowVisible(form->Handle()));
  EXPECT_EQ(form->DesignWidth, kOuterWidth);
  EXPECT_EQ(form->DesignHeight, kOuterHeight);

  const platform::Hwnd appWindow = application->Handle();
  EXPECT_EQ(system.desktop.GetClassName(appWindow), "TApplication");
  EXPECT_EQ(system.desktop.GetWindowText(appWindow), "Varnel");
  EXPECT_EQ(system.desktop.GetWindowRect(appWindow).Width(), 0);  // shown, but of no size
  EXPECT_EQ(system.desktop.GetWindowRect(appWindow).Height(), 0);
  EXPECT_EQ(static_cast<std::uint32_t>(
                system.desktop.GetWindowLong(appWindow, platform::GwlExStyle)),
            platform::WsExToolWindow);
  EXPECT_EQ(system.desktop.Find(form->Handle())->owner, appWindow);

  EXPECT_EQ(form->Settings.Pos.Left, 1920 - kOuterWidth);
  EXPECT_EQ(form->Settings.Pos.Top, 1040 - kOuterHeight);
  EXPECT_EQ(form->Settings.Exp.Path, "C:\\Tools\\Varnel\\");
  EXPECT_EQ(form->Engine.HiddenFolder, "C:\\Tools\\Varnel\\");
  EXPECT_EQ(form->Engine.LastEdge, EdgeLeft);
  EXPECT_EQ(form->PageControl1->ActivePageIndex(), 0);
  EXPECT_FALSE(form->FirstActivate);  // the first activation has happened
  EXPECT_FALSE(form->SettingsOpen);
  EXPECT_NE(form->ShellApp, nullptr);
  EXPECT_FALSE(system.files.Exists(kIniPath));
}

TEST_F(Form1Test, LastEdgeIsTheFirstEnabledEdgeInTheOrderLeftRightTopBottom) {
  Start("[Exp]\r\nLeft=1\r\nLower=1\r\n");
  EXPECT_EQ(form->Engine.LastEdge, EdgeLeft);
}

TEST_F(Form1Test, LastEdgeStaysNoneWithoutAnEnabledEdge) {
  Start("[Exp]\r\nLeft=0\r\n");
  EXPECT_EQ(form->Engine.LastEdge, EdgeNone);
}

TEST_F(Form1Test, LastEdgeTakesTopOverBottom) {
  Start("[Exp]\r\nLeft=0\r\nUpper=1\r\nLower=1\r\n");
  EXPECT_EQ(form->Engine.LastEdge, EdgeTop);
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_TRUE(form->CheckBox4->Checked());
  EXPECT_FALSE(form->CheckBox2->Checked());
}

TEST_F(Form1Test, StartUpCorrectsSlidersSensitivityAndThePin) {
  Start(
      "[Pos]\r\nSpeed=500\r\nOffset=5\r\nSense=0\r\nINHdotX=1000\r\n"
      "[Exp]\r\nFix=1\r\nFixSave=0\r\n[Launch]\r\nIdle=0x14\r\n");
  EXPECT_EQ(form->Settings.Pos.Speed, 100);
  EXPECT_EQ(form->Settings.Pos.Offset, 10);
  EXPECT_EQ(form->Settings.Pos.Sense, 1);
  EXPECT_EQ(form->UpDown2->Position(), 2);  // the arrows cannot show 1; the model keeps it
  EXPECT_EQ(form->Settings.Pos.INHdotX, 500);
  EXPECT_EQ(form->Edit8->Text(), "500");
  EXPECT_EQ(form->Settings.Launch.Idle, 20);
  EXPECT_EQ(form->Settings.Exp.Fix, 0);
  form->mnuExitClick(*form);
  EXPECT_EQ(Stored("Pos", "Sense"), "1");
  EXPECT_EQ(Stored("Pos", "Speed"), "100");
  EXPECT_EQ(Stored("Exp", "Fix"), "0");
}

TEST_F(Form1Test, ThePinSurvivesWhenItIsToBeRecorded) {
  Start("[Exp]\r\nFix=1\r\nFixSave=1\r\n");
  EXPECT_EQ(form->Settings.Exp.Fix, 1);
  EXPECT_TRUE(form->mnuExpFix->Checked());
  EXPECT_TRUE(form->CheckBox18->Checked());
}

TEST_F(Form1Test, ControlsShowTheModelAfterStart) {
  Start(
      "[Pos]\r\nHideTray=1\r\n[Exp]\r\nButton=1\r\nBtnLR=1\r\nNoTree=1\r\n"
      "[Watch]\r\nMode=1\r\nExt0=doc\r\nExt2=txt\r\n[Popup]\r\nLR=1\r\n[ini]\r\ninh=1\r\n");
  EXPECT_TRUE(form->CheckBox14->Checked());
  EXPECT_TRUE(form->CheckBoxBtn->Checked());
  EXPECT_EQ(form->RadioGroupBtn->ItemIndex(), 1);
  EXPECT_EQ(form->RadioGroupBtnL->ItemIndex(), 0);
  PeerOf(form->RadioGroupBtn->Button(0)).UserClick();
  EXPECT_EQ(form->Settings.Exp.BtnLR, 0);
  EXPECT_TRUE(form->CheckBox19->Checked());
  EXPECT_TRUE(form->RadioButton2->Checked());
  EXPECT_FALSE(form->RadioButton1->Checked());
  EXPECT_EQ(form->Settings.Watch.Mode, 1);
  EXPECT_TRUE(form->CheckBox6->Checked());
  EXPECT_TRUE(form->CheckBox15->Checked());
  EXPECT_TRUE(form->CheckBox11->Checked());  // Launch.Lnk defaults to on
  EXPECT_EQ(form->ListBox1->Items().Items(), (std::vector<std::string>{"doc", "txt"}));
  EXPECT_EQ(PeerOf(*form->ListBox1).ItemTexts(), (std::vector<std::string>{"doc", "txt"}));
}

TEST_F(Form1Test, ExitClosesTheManagedExplorerAndWritesTheDefaults) {
  Start();
  sim::SimWindow explorer;
  explorer.className = "CabinetWClass";
  explorer.processId = 7;
  form->Engine.ExplorerWnd = system.desktop.AddWindow(explorer);
  system.desktop.ClearCalls();

  form->mnuExitClick(*form);
  EXPECT_TRUE(application->Terminated());
  EXPECT_FALSE(system.desktop.IsWindow(form->Engine.ExplorerWnd));
  // Closed once, by the close itself: the query only saves.
  int closeCommands = 0;
  for (const std::string& call : system.desktop.Calls()) {
    if (call.find("0x112, 0xf060") != std::string::npos) ++closeCommands;
  }
  EXPECT_EQ(closeCommands, 1);
  EXPECT_EQ(Stored("Exp", "Path"), "C:\\Tools\\Varnel\\");
  EXPECT_EQ(Stored("Pos", "Left"), std::to_string(1920 - kOuterWidth));
  EXPECT_EQ(Stored("Pos", "Top"), std::to_string(1040 - kOuterHeight));
  EXPECT_EQ(Stored("Exp", "Width"), "400");
}

TEST_F(Form1Test, ACloseRequestFromOutsideTakesTheExitPath) {
  Start();
  system.desktop.SendMessage(form->Handle(), platform::WmClose, 0, 0);
  EXPECT_TRUE(application->Terminated());
  EXPECT_EQ(Stored("Launch", "Idle"), "6");
}

TEST_F(Form1Test, SessionEndSavesAtTheQueryAndEndsWithTheSession) {
  Start();
  const platform::Hwnd explorer = Explorer();
  EXPECT_TRUE(PeerOf(*form).SystemQueryEndSession());
  EXPECT_EQ(Stored("Pos", "Speed"), "10");
  // A cancelled logoff leaves the program as it was, its Explorer included.
  PeerOf(*form).SystemEndSession(false);
  EXPECT_FALSE(application->Terminated());
  EXPECT_TRUE(system.desktop.IsWindow(explorer));
  PeerOf(*form).SystemEndSession(true);
  EXPECT_TRUE(application->Terminated());
  EXPECT_FALSE(system.desktop.IsWindow(explorer));
}

// Read-only, in a folder the user may not write, or on a full disk: the file cannot be
// written, and yet every way out works.
enum class Way { ExitCommand, CloseRequest, SessionEnd };
enum class Fault { ReadOnly, ProtectedFolder, DiskFull };

class UnwritableFileTest : public Form1Test,
                           public ::testing::WithParamInterface<std::tuple<Way, Fault>> {};

TEST_P(UnwritableFileTest, NeverTrapsTheUser) {
  const auto [way, fault] = GetParam();
  Start("[Pos]\r\nSpeed=12\r\n");
  if (fault == Fault::ReadOnly) system.files.SetAttributes(kIniPath, platform::FileAttributeReadOnly);
  if (fault == Fault::ProtectedFolder) system.files.SetFolderWriteProtected("C:\\Tools\\Varnel", true);
  if (fault == Fault::DiskFull) system.files.SetDiskFull(true);
  const platform::Hwnd explorer = Explorer();
  form->Settings.Pos.Speed = 30;

  if (way == Way::SessionEnd) {
    EXPECT_TRUE(PeerOf(*form).SystemQueryEndSession());
    EXPECT_TRUE(system.desktop.IsWindow(explorer));  // not before the end is certain
    PeerOf(*form).SystemEndSession(true);
    EXPECT_TRUE(system.ui.MessageBoxes().empty());
  } else {
    if (way == Way::ExitCommand) form->mnuExitClick(*form);
    if (way == Way::CloseRequest) system.desktop.SendMessage(form->Handle(), platform::WmClose, 0, 0);
    ASSERT_EQ(system.ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(system.ui.MessageBoxes()[0].text.rfind(std::string(kIniPath) + " に書き込めません", 0),
              0u);
    EXPECT_EQ(system.ui.MessageBoxes()[0].caption, "Varnel");
  }
  EXPECT_TRUE(application->Terminated());
  EXPECT_FALSE(system.desktop.IsWindow(explorer));
  EXPECT_EQ(Stored("Pos", "Speed"), "12");
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, UnwritableFileTest,
                         ::testing::Combine(::testing::Values(Way::ExitCommand, Way::CloseRequest,
                                                              Way::SessionEnd),
                                            ::testing::Values(Fault::ReadOnly,
                                                              Fault::ProtectedFolder,
                                                              Fault::DiskFull)));

TEST_F(Form1Test, ExplorerGeometryFromTheFileIsBoundedByTheWorkArea) {
  Start("[Exp]\r\nWidth=2147483647\r\nHeight=-2147483648\r\nVT_ADJ=2000000000\r\n"
        "VB_ADJ=2000000000\r\nHL_ADJ=-2147483648\r\nHR_ADJ=5\r\n");
  const Settings::ExpSection& exp = form->Settings.Exp;
  EXPECT_EQ(exp.Width, 1920);
  EXPECT_EQ(exp.Height, 0);
  EXPECT_EQ(exp.VT_ADJ, 1040);
  EXPECT_EQ(exp.VB_ADJ, 1040);
  EXPECT_EQ(exp.HL_ADJ, -1920);
  EXPECT_EQ(exp.HR_ADJ, 5);
  // The slide works on them without overflowing (UBSan would stop here otherwise).
  TickAt(0, 500, 3);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
}

TEST_F(Form1Test, DoNotRememberLeavesTheFileAsItWasAtExit) {
  const std::string original = "; mine\r\n[ini]\r\ninh=1\r\n[Pos]\r\nSpeed=33\r\n";
  Start(original);
  form->mnuExitClick(*form);
  EXPECT_TRUE(application->Terminated());
  EXPECT_EQ(system.files.ReadFile(kIniPath), original);
}

TEST_F(Form1Test, OkStillWritesWhenTheStateIsNotRemembered) {
  Start("[ini]\r\ninh=1\r\n");
  form->mnuSettingClick(*form);
  form->BitBtn1->Click();
  EXPECT_EQ(Stored("ini", "inh"), "1");
}

TEST_F(Form1Test, ATooSmallExplorerSizeWritesNothing) {
  Start("[Exp]\r\nWidth=1\r\n");
  form->mnuSettingClick(*form);
  form->BitBtn1->Click();
  form->mnuExitClick(*form);
  EXPECT_EQ(Stored("Exp", "Path"), std::nullopt);
  EXPECT_EQ(Stored("Exp", "Width"), "1");
}

TEST_F(Form1Test, TheSettingsWindowOpensWhereItWasAndOkShrinksItAway) {
  Start();
  form->mnuSettingClick(*form);
  EXPECT_TRUE(form->SettingsOpen);
  EXPECT_EQ(FormRect(), platform::Rect::FromSize(1920 - kOuterWidth, 1040 - kOuterHeight,
                                                 kOuterWidth, kOuterHeight));
  PeerOf(*form).UserDrag(100, 50);
  PeerOf(*form->BitBtn1).UserClick();
  EXPECT_FALSE(form->SettingsOpen);
  EXPECT_EQ(FormRect(), platform::Rect::FromSize(-1920, -1080, 1, 1));
  EXPECT_EQ(Stored("Pos", "Left"), "100");
  EXPECT_EQ(Stored("Pos", "Top"), "50");

  form->mnuSettingClick(*form);
  EXPECT_EQ(FormRect(), platform::Rect::FromSize(100, 50, kOuterWidth, kOuterHeight));
}

TEST_F(Form1Test, AWindowDraggedOffThePrimaryScreenKeepsItsLastPlace) {
  Start("[Pos]\r\nLeft=300\r\nTop=200\r\n");
  form->mnuSettingClick(*form);
  PeerOf(*form).UserDrag(-800, 120);
  form->BitBtn1->Click();
  EXPECT_EQ(form->Settings.Pos.Left, 300);
  EXPECT_EQ(form->Settings.Pos.Top, 120);
  form->mnuSettingClick(*form);
  PeerOf(*form).UserDrag(20, 1080);
  form->BitBtn1->Click();
  EXPECT_EQ(form->Settings.Pos.Left, 20);
  EXPECT_EQ(form->Settings.Pos.Top, 120);
}

TEST_F(Form1Test, OkTakesTheFolderFieldsButNeverTheApplicationField) {
  system.files.CreateFolder("C:\\Watched");
  Start();
  form->mnuSettingClick(*form);
  PeerOf(*form->Edit2).UserType("C:\\Watched\\");
  PeerOf(*form->Edit5).UserType("C:\\Nowhere\\");
  PeerOf(*form->Edit11).UserType("C:\\Apps\\viewer.exe");
  EXPECT_EQ(form->Settings.Watch.SRCPath, "");  // fields are taken over at OK only
  form->BitBtn1->Click();
  EXPECT_EQ(form->Settings.Watch.SRCPath, "C:\\Watched\\");
  EXPECT_EQ(form->Settings.Launch.Path, "C:\\Nowhere\\");  // not checked here
  EXPECT_EQ(form->Settings.Watch.AppPath, "");
  EXPECT_EQ(form->Edit11->Text(), "");  // read-only: the program is chosen with its button
}

TEST_F(Form1Test, ControlsStoreTheirSettingTheMomentTheyChange) {
  Start();
  form->mnuSettingClick(*form);
  PeerOf(*form->CheckBox3).UserClick();
  PeerOf(*form->CheckBox2).UserClick();
  PeerOf(*form->TrackBar1).UserMoveTo(77);
  PeerOf(form->RadioGroupBtnL->Button(1)).UserClick();
  PeerOf(*form->RadioButton2).UserClick();
  PeerOf(*form->UpDown2).UserMoveTo(9);
  PeerOf(*form->CheckBox15).UserClick();
  EXPECT_EQ(form->Settings.Exp.Right, 1);
  EXPECT_EQ(form->Settings.Exp.Left, 0);
  EXPECT_EQ(form->Settings.Pos.Speed, 77);
  EXPECT_EQ(form->Settings.Launch.BtnLR, 1);
  EXPECT_EQ(form->Settings.Watch.Mode, 1);
  EXPECT_EQ(form->Settings.Pos.Sense, 9);
  EXPECT_EQ(form->Edit7->Text(), "9");
  EXPECT_EQ(form->Settings.ini.inh, 1);
  EXPECT_EQ(form->Engine.LastEdge, EdgeLeft);  // only the start-up and the tick set it
}

// Which control edits which setting, as the settings window's pages list them.
template <class Control>
struct Edits {
  Control* TForm1::*control;
  const char* section;
  const char* key;
};

const Edits<TCheckBox> kCheckBoxes[] = {
    {&TForm1::CheckBox1, "Exp", "Upper"},
    {&TForm1::CheckBox2, "Exp", "Left"},
    {&TForm1::CheckBox3, "Exp", "Right"},
    {&TForm1::CheckBox4, "Exp", "Lower"},
    {&TForm1::CheckBoxBtn, "Exp", "Button"},
    {&TForm1::CheckBox13, "Pos", "INHConner"},
    {&TForm1::CheckBox14, "Pos", "HideTray"},
    {&TForm1::CheckBox6, "Popup", "LR"},
    {&TForm1::CheckBox15, "ini", "inh"},
    {&TForm1::CheckBox17, "Exp", "PathEn"},
    {&TForm1::CheckBox19, "Exp", "NoTree"},
    {&TForm1::CheckBox21, "Exp", "Watch"},
    {&TForm1::CheckBox7, "Launch", "Upper"},
    {&TForm1::CheckBox8, "Launch", "Left"},
    {&TForm1::CheckBox9, "Launch", "Right"},
    {&TForm1::CheckBox10, "Launch", "Lower"},
    {&TForm1::CheckBoxBtnL, "Launch", "Button"},
    {&TForm1::CheckBox11, "Launch", "Lnk"},
    {&TForm1::CheckBox12, "Launch", "Auto"},
    {&TForm1::CheckBox16, "Popup", "All"},
    {&TForm1::CheckBox18, "Exp", "FixSave"},
    {&TForm1::CheckBox5, "Watch", "Enb"},
    {&TForm1::CheckBox20, "Watch", "Browser"},
};

TEST_F(Form1Test, EveryCheckBoxShowsItsOwnSettingAndStoresIntoItAlone) {
  // Every other box on, so that a box showing a neighbour's setting shows the wrong state.
  IniDocument ini;
  for (std::size_t i = 0; i < std::size(kCheckBoxes); ++i) {
    ini.Set(kCheckBoxes[i].section, kCheckBoxes[i].key, std::to_string(i % 2));
  }
  Start(ini.Serialize());
  auto setting = [&](const Edits<TCheckBox>& box) -> std::int32_t& {
    return SettingKeyNamed(box.section, box.key).integer(form->Settings);
  };
  for (std::size_t i = 0; i < std::size(kCheckBoxes); ++i) {
    EXPECT_EQ((form->*kCheckBoxes[i].control)->Checked(), i % 2 == 1) << kCheckBoxes[i].key;
  }
  // Each click turns one setting over, and no other.
  form->mnuSettingClick(*form);
  for (std::size_t clicked = 0; clicked < std::size(kCheckBoxes); ++clicked) {
    PeerOf(*(form->*kCheckBoxes[clicked].control)).UserClick();
    for (std::size_t i = 0; i < std::size(kCheckBoxes); ++i) {
      const std::int32_t expected = i <= clicked ? 1 - i % 2 : i % 2;
      EXPECT_EQ(setting(kCheckBoxes[i]), expected)
          << kCheckBoxes[i].section << "." << kCheckBoxes[i].key << " after a click on "
          << kCheckBoxes[clicked].key;
    }
  }
}

TEST_F(Form1Test, EveryNumberAndFieldShowsItsOwnSettingAndStoresIntoIt) {
  for (const char* folder : {"C:\\E1", "C:\\E10", "C:\\E5", "C:\\E2", "C:\\E3"}) {
    system.files.CreateFolder(folder);
  }
  system.files.WriteFile("C:\\E11.exe", "MZ");
  Start(
      "[Pos]\r\nSpeed=31\r\nOffset=32\r\nSense=33\r\nINHdotX=34\r\nINHdotY=35\r\n"
      "[Exp]\r\nBtnLR=1\r\nPath=C:\\E1\r\nPathEx=C:\\E10\r\n"
      "[Watch]\r\nSRCPath=C:\\E2\r\nTrgPath=C:\\E3\r\nAppPath=C:\\E11.exe\r\n"
      "[Launch]\r\nPath=C:\\E5\r\nIdle=36\r\n");
  const std::pair<TEdit* TForm1::*, const char*> fields[] = {
      {&TForm1::Edit1, "C:\\E1"}, {&TForm1::Edit10, "C:\\E10"}, {&TForm1::Edit5, "C:\\E5"},
      {&TForm1::Edit2, "C:\\E2"}, {&TForm1::Edit3, "C:\\E3"}, {&TForm1::Edit11, "C:\\E11.exe"}};
  for (const auto& [field, text] : fields) EXPECT_EQ((form->*field)->Text(), text);
  EXPECT_EQ(form->RadioGroupBtn->ItemIndex(), 1);
  EXPECT_EQ(form->RadioGroupBtnL->ItemIndex(), 0);
  PeerOf(form->RadioGroupBtn->Button(0)).UserClick();
  EXPECT_EQ(form->Settings.Exp.BtnLR, 0);

  const Edits<TTrackBar> sliders[] = {{&TForm1::TrackBar1, "Pos", "Speed"},
                                      {&TForm1::TrackBar2, "Pos", "Offset"}};
  const Edits<TUpDown> arrows[] = {{&TForm1::UpDown2, "Pos", "Sense"},
                                   {&TForm1::UpDown3, "Pos", "INHdotX"},
                                   {&TForm1::UpDown4, "Pos", "INHdotY"},
                                   {&TForm1::UpDown1, "Launch", "Idle"}};
  std::int32_t shown = 31;
  auto check = [&](const auto& control) {
    SCOPED_TRACE(control.key);
    std::int32_t& setting = SettingKeyNamed(control.section, control.key).integer(form->Settings);
    EXPECT_EQ((form->*control.control)->Position(), shown++);
    PeerOf(*(form->*control.control)).UserMoveTo(40);
    EXPECT_EQ(setting, 40);
  };
  for (const auto& slider : sliders) check(slider);
  for (const auto& updown : arrows) check(updown);
}

TEST_F(Form1Test, TheFieldRuleTakesNumbersAndFallsBackToTheArrows) {
  Start();
  sim::SimControlPeer& field = PeerOf(*form->Edit8);
  field.UserType("45");
  EXPECT_EQ(form->Settings.Pos.INHdotX, 45);
  EXPECT_EQ(form->UpDown3->Position(), 45);
  field.UserType("abc");
  EXPECT_EQ(form->Settings.Pos.INHdotX, 45);
  EXPECT_EQ(form->Edit8->Text(), "45");
  field.UserType("$1F");
  EXPECT_EQ(form->Settings.Pos.INHdotX, 31);
  EXPECT_EQ(form->Edit8->Text(), "31");
  field.UserType("9999");
  EXPECT_EQ(form->Settings.Pos.INHdotX, 500);
  EXPECT_EQ(form->Edit8->Text(), "500");
  PeerOf(*form->UpDown4).UserMoveTo(7);
  EXPECT_EQ(form->Settings.Pos.INHdotY, 7);
}

TEST_F(Form1Test, AFailedWriteAtOkStillClosesTheSettingsWindow) {
  Start();
  system.files.SetFolderWriteProtected("C:\\Tools\\Varnel", true);
  form->mnuSettingClick(*form);
  PeerOf(*form->BitBtn1).UserClick();
  EXPECT_EQ(system.ui.MessageBoxes().size(), 1u);
  EXPECT_FALSE(form->SettingsOpen);
  EXPECT_EQ(FormRect(), platform::Rect::FromSize(-1920, -1080, 1, 1));
}

TEST_F(Form1Test, TheProgramRunsWithoutTheShellObject) {
  system.shell.SetAvailable(false);
  Start();
  EXPECT_EQ(form->ShellApp, nullptr);
  form->mnuExitClick(*form);
  EXPECT_TRUE(application->Terminated());
}

// The design values a user sees, one table: what, as built, as designed.
TEST_F(Form1Test, TheSettingsWindowCarriesItsDesign) {
  Start();
  ASSERT_EQ(form->PageControl1->PageCount(), 6);
  const struct {
    const char* what;
    std::string built;
    std::string designed;
  } design[] = {
      {"caption", form->Caption(), "Varnel（設定）"},
      {"window class", PeerOf(*form).Spec().className, "TForm1"},
      {"page 1", form->PageControl1->Page(0).Caption(), "動作"},
      {"page 2", form->PageControl1->Page(1).Caption(), "フォルダ"},
      {"page 3", form->PageControl1->Page(2).Caption(), "Launch"},
      {"page 4", form->PageControl1->Page(3).Caption(), "監視"},
      {"page 5", form->PageControl1->Page(4).Caption(), "その他"},
      {"page 6", form->PageControl1->Page(5).Caption(), "About"},
      {"OK's width", std::to_string(form->BitBtn1->Width()), "97"},
      {"CheckBox2's hint", form->CheckBox2->Hint(), "左から出現"},
      {"mnuExitS", form->mnuExitS->Caption(), "終了"},
      {"Launch menu's fixed items", std::to_string(form->PopupMenuLaunch->Items().Count()), "6"},
      {"tray menu's items", std::to_string(form->PopupMenu1->Items().Count()), "8"},
  };
  for (const auto& value : design) EXPECT_EQ(value.built, value.designed) << value.what;
  EXPECT_TRUE(PeerOf(*form).Spec().dialogFrame);
  EXPECT_NE(system.ui.PeerWithText("Shift+CTL+クリップボード転送で検索"), nullptr);
}

TEST_F(Form1Test, MenuCommandsReachTheirHandlers) {
  Start();
  form->mnuSettingS->Click();
  EXPECT_TRUE(form->SettingsOpen);
  form->BitBtn1->Click();
  form->mnuExitS->Click();
  EXPECT_TRUE(application->Terminated());
}

}  // namespace
}  // namespace varnel
