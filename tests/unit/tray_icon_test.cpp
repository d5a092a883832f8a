// The tray icon: its record in the notification area, its tip, its buttons.

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

class TrayIconTest : public EngineFixture {
 protected:
  TTrayIcon& Icon() { return *form->TrayIcon1; }
  void Shell(unsigned mouseMessage) {
    auto* window = dynamic_cast<TCallbackWindow*>(form->FindComponent("TrayCallbackWindow"));
    ASSERT_NE(window, nullptr);
    system.ui.Peer(window->Handle())
        ->SystemMessage(TCallbackWindow::kCallbackMessage, Icon().Id(), mouseMessage);
  }
  std::vector<unsigned> Actions() const {
    std::vector<unsigned> actions;
    for (const auto& call : system.shell.NotifyCalls()) actions.push_back(call.action);
    return actions;
  }
};

TEST_F(TrayIconTest, TheIconIsInTheTrayWithTheClockAsItsTip) {
  Start();
  system.ui.At(0, [] {});
  form->Timer1Timer(*form);
  ASSERT_EQ(system.shell.Tray().size(), 1u);
  const platform::NotifyIconData& record = system.shell.Tray().begin()->second;
  EXPECT_EQ(record.tip, "2026年12月07日(月曜日) 14:05");
  EXPECT_EQ(record.flags, 7u);
  EXPECT_EQ(record.callbackMessage, 0x4C8u);
  EXPECT_EQ(sim::ImageName(record.icon), "MAINICON");
  EXPECT_EQ(record.id, Icon().Id());
  // The same minute again sends nothing.
  const std::size_t calls = system.shell.NotifyCalls().size();
  form->Timer1Timer(*form);
  EXPECT_EQ(system.shell.NotifyCalls().size(), calls);
}

TEST_F(TrayIconTest, HiddenByTheSettingAndWhileTheSettingsWindowIsOpen) {
  Start("[Pos]\r\nHideTray=1\r\n");
  EXPECT_TRUE(system.shell.Tray().empty());
  form->CheckBox14->SetChecked(false);
  form->mnuSettingClick(*form);
  EXPECT_TRUE(system.shell.Tray().empty());
  form->BitBtn1Click(*form);
  EXPECT_EQ(system.shell.Tray().size(), 1u);
  form->mnuSettingClick(*form);
  EXPECT_TRUE(system.shell.Tray().empty());
}

TEST_F(TrayIconTest, TipsAreCutAtSixtyTwoCharactersAndAnEmptyTipDropsTheFlag) {
  Start();
  std::string tip;
  for (int i = 0; i < 70; ++i) tip += "時";
  Icon().SetTipHelp(tip);
  EXPECT_EQ(Icon().TipHelp(), tip.substr(0, 62 * 3));
  Icon().SetTipHelp("");
  EXPECT_EQ(system.shell.Tray().begin()->second.flags, 3u);
  EXPECT_EQ(CutAtCharacters("ab", 62), "ab");
  EXPECT_EQ(CutAtCharacters("aé時", 2), "aé");
}

TEST_F(TrayIconTest, ButtonsPopTheirMenusAsPopupLrSays) {
  Start();
  Shell(platform::WmLButtonDown);
  Shell(platform::WmRButtonDown);
  ASSERT_EQ(system.ui.MenusShown().size(), 2u);
  EXPECT_EQ(system.ui.MenusShown()[0].items.at(0).caption, "補完Exp");
  EXPECT_EQ(system.ui.MenusShown()[1].items.at(0).caption, "Pop終了");
  EXPECT_EQ(CallsNamed("SetForegroundWindow").at(0),
            "SetForegroundWindow(" + sim::HandleText(form->Handle()) + ")");

  form->mnuSettingClick(*form);
  form->CheckBox6->Click();  // swapped at once, with the settings window still open
  EXPECT_EQ(Icon().LBPopupMenu(), form->PopupMenuLaunch);
  EXPECT_EQ(Icon().RBPopupMenu(), form->PopupMenu1);
  form->CheckBox6->Click();
  EXPECT_EQ(Icon().LBPopupMenu(), form->PopupMenu1);
}

TEST_F(TrayIconTest, TheTrayMenuReachesTheSettingsAndTheExit) {
  Start();
  system.ui.SetMenuScript([](sim::SimOpenMenu& open) { return sim::MenuItemId(open.items, "設定"); });
  Shell(platform::WmLButtonDown);
  EXPECT_TRUE(form->SettingsOpen);
  form->BitBtn1Click(*form);
  system.ui.SetMenuScript([](sim::SimOpenMenu& open) { return sim::MenuItemId(open.items, "終了"); });
  Shell(platform::WmLButtonDown);
  EXPECT_TRUE(application->Terminated());
  EXPECT_TRUE(system.files.Exists(kIniPath));
}

TEST_F(TrayIconTest, DisabledOrWithoutAutoPopupTheButtonsOnlyReport) {
  Start();
  int downs = 0;
  Icon().OnMouseDown = [&](TComponent&, TMouseButton button, int shift, int, int) {
    EXPECT_EQ(button, TMouseButton::mbLeft);
    EXPECT_EQ(shift, ssLeft);
    ++downs;
  };
  Icon().SetEnabled(false);
  Shell(platform::WmLButtonDown);
  EXPECT_EQ(downs, 0);
  Icon().SetEnabled(true);
  Icon().AutoPopup = false;
  Shell(platform::WmLButtonDown);
  EXPECT_EQ(downs, 1);
  EXPECT_TRUE(system.ui.MenusShown().empty());
}

TEST_F(TrayIconTest, ASingleClickIsToldFromADoubleClick) {
  Start();
  int clicks = 0;
  int doubleClicks = 0;
  Icon().OnClick = [&](TComponent&) { ++clicks; };
  Icon().OnDblClick = [&](TComponent&) { ++doubleClicks; };
  Icon().AutoPopup = false;
  Shell(platform::WmLButtonUp);
  system.ui.AdvanceClock(600);
  EXPECT_EQ(clicks, 1);
  Shell(platform::WmLButtonUp);
  Shell(platform::WmLButtonDblClk);
  Shell(platform::WmLButtonUp);
  system.ui.AdvanceClock(600);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubleClicks, 1);
  // With OnMouseUp assigned, no click is ever told.
  Icon().OnMouseUp = [](TComponent&, TMouseButton, int, int, int) {};
  Shell(platform::WmLButtonUp);
  system.ui.AdvanceClock(600);
  EXPECT_EQ(clicks, 1);
  // The second press of a right double click does nothing.
  int downs = 0;
  Icon().OnMouseDown = [&](TComponent&, TMouseButton, int, int, int) { ++downs; };
  Shell(platform::WmRButtonDblClk);
  EXPECT_EQ(downs, 0);
}

TEST_F(TrayIconTest, ATripleClickLeavesNoTimerBehind) {
  Start();
  const int timers = system.ui.TimerCount();
  int clicks = 0;
  Icon().OnClick = [&](TComponent&) { ++clicks; };
  Icon().AutoPopup = false;
  for (unsigned message : {platform::WmLButtonUp, platform::WmLButtonDblClk, platform::WmLButtonUp,
                           platform::WmLButtonUp}) {
    Shell(message);
  }
  system.ui.AdvanceClock(5000);
  EXPECT_EQ(system.ui.TimerCount(), timers);
  EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIconTest, TheIconComesBackAfterAFailedAddOrATaskbarRestart) {
  system.shell.SetTaskbarRunning(false);  // the shell is not up yet when the program starts
  Start();
  Tick();
  EXPECT_TRUE(system.shell.Tray().empty());
  system.shell.SetTaskbarRunning(true);
  Tick();
  ASSERT_EQ(system.shell.Tray().size(), 1u);

  // The shell announces its new taskbar: the icon is back at once, tip and all.
  system.shell.RestartTaskbar();
  ASSERT_EQ(system.shell.Tray().size(), 1u);
  EXPECT_EQ(system.shell.Tray().begin()->second.tip, Icon().TipHelp());

  // Lost without a word: the shell refuses the next update, and the next tick adds it again.
  system.shell.SetTaskbarRunning(false);
  system.shell.SetTaskbarRunning(true);
  Icon().SetTipHelp("another tip");
  Tick();
  EXPECT_EQ(system.shell.Tray().size(), 1u);

  // A hidden icon stays hidden.
  Icon().SetVisible(false);
  system.shell.RestartTaskbar();
  Tick();
  EXPECT_TRUE(system.shell.Tray().empty());
}

TEST_F(TrayIconTest, ADestroyedMenuIsForgotten) {
  Start();
  TPopupMenu& extra = TComponent::Create<TPopupMenu>(*form, "Extra", system.ui);
  Icon().SetLBPopupMenu(&extra);
  form->DestroyComponent(extra);
  EXPECT_EQ(Icon().LBPopupMenu(), nullptr);
  int downs = 0;
  Icon().OnMouseDown = [&](TComponent&, TMouseButton, int, int, int) { ++downs; };
  Shell(platform::WmLButtonDown);
  EXPECT_EQ(downs, 1);
}

TEST_F(TrayIconTest, IdentifiersCountUpAndAreGivenAgainAfterTheLastOneGoes) {
  Start();
  const unsigned first = Icon().Id();
  auto& second = TComponent::Create<TTrayIcon>(*form, "Second", *form);
  EXPECT_EQ(second.Id(), first + 1);
  form->DestroyComponent(second);
  auto& third = TComponent::Create<TTrayIcon>(*form, "Third", *form);
  EXPECT_EQ(third.Id(), first + 1);
}

TEST_F(TrayIconTest, LeavingTheProgramTakesTheIconAway) {
  Start();
  form->mnuExitClick(*form);
  application.reset();
  EXPECT_TRUE(system.shell.Tray().empty());
  EXPECT_EQ(Actions().back(), platform::NimDelete);
}

}  // namespace
}  // namespace varnel::testing
