// The tick: counting at the edges, corners, buttons, going back, keeping the Explorer alive,
// and what stops it.

#include <algorithm>

#include "platform/Refusal.h"
#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

using EdgeTickTest = EngineFixture;

TEST_F(EdgeTickTest, ComesOutOnTheThirdTickAtTheLeftEdge) {
  Start();
  TickAt(0, 500, 2);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  EXPECT_EQ(form->Engine.PendingEdge, EdgeLeft);
  EXPECT_EQ(form->Engine.PendingCount, 1);
  TickAt(0, 500);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
  EXPECT_EQ(ExplorerRect(), platform::Rect::FromSize(0, 1, 400, 1038));
  // It comes out with its ordinary style: the tick took the tool style off and left it off.
  EXPECT_EQ(ExplorerWindow().exStyle & platform::WsExToolWindow, 0u);
}

TEST_F(EdgeTickTest, TheCornerZoneNeitherCountsNorResetsButTheInteriorResets) {
  Start();
  TickAt(0, 500, 2);
  TickAt(0, 20, 3);  // dead zone: y <= Pos.INHdotY
  TickAt(0, 1080 - 20);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  EXPECT_EQ(form->Engine.PendingCount, 1);
  TickAt(0, 21);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);

  form->ParkExplorer();
  form->Engine.ShownEdge = EdgeNone;
  TickAt(0, 500, 2);
  TickAt(5, 500);  // inside the screen: the count starts again
  EXPECT_EQ(form->Engine.PendingEdge, EdgeNone);
  TickAt(0, 500, 2);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
}

TEST_F(EdgeTickTest, ACornerSharedByTwoEdgesNeverCountsToTheEnd) {
  Start("[Pos]\r\nINHConner=0\r\n[Exp]\r\nLeft=1\r\nUpper=1\r\n");
  TickAt(0, 0, 10);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
}

TEST_F(EdgeTickTest, WithAButtonBothEdgesOfACornerFireAndTheLastOneWins) {
  Start("[Pos]\r\nINHConner=0\r\n[Exp]\r\nLeft=1\r\nUpper=1\r\nButton=1\r\nBtnLR=0\r\n");
  TickAt(0, 0, 3);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);  // no button held
  system.desktop.SetKeyHeld(platform::VkLButton, true);
  TickAt(0, 0);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeTop);
  EXPECT_EQ(form->Engine.LastEdge, EdgeTop);
  EXPECT_EQ(ExplorerRect(), platform::Rect::FromSize(1, 0, 1918, 300));
}

TEST_F(EdgeTickTest, TheChosenButtonOnlyAndNoneForAnUnknownChoice) {
  Start("[Exp]\r\nButton=1\r\nBtnLR=1\r\n");
  system.desktop.SetKeyHeld(platform::VkLButton, true);
  TickAt(0, 500, 3);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  system.desktop.SetKeyHeld(platform::VkRButton, true);
  TickAt(0, 500);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);

  form->Settings.Exp.BtnLR = 2;
  form->ParkExplorer();
  form->Engine.ShownEdge = EdgeNone;
  TickAt(0, 500, 5);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
}

TEST_F(EdgeTickTest, GoesBackOnlyWhenThePointerMovesAwayFromTheEdgeBeyondTheOffset) {
  Start();
  TickAt(0, 500, 3);
  TickAt(420, 500);  // R.right + Pos.Offset: still near
  TickAt(100, 5);    // above the window: away along the edge, not from it
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
  TickAt(421, 500);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  EXPECT_EQ(ExplorerRect().Left, -1920);
  EXPECT_EQ(ExplorerExStyle(), platform::WsExToolWindow);
}

TEST_F(EdgeTickTest, EachEdgeHasItsOwnWayBack) {
  Start("[Exp]\r\nLeft=0\r\nRight=1\r\nUpper=1\r\nLower=1\r\n");
  TickAt(1919, 500, 3);
  ASSERT_EQ(form->Engine.ShownEdge, EdgeRight);
  TickAt(1500, 500);  // WorkArea.right - width - offset = 1500
  EXPECT_EQ(form->Engine.ShownEdge, EdgeRight);
  TickAt(1499, 500);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);

  TickAt(900, 0, 3);
  ASSERT_EQ(form->Engine.ShownEdge, EdgeTop);
  TickAt(900, 320);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeTop);
  TickAt(900, 321);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);

  TickAt(900, 1079, 3);
  ASSERT_EQ(form->Engine.ShownEdge, EdgeBottom);
  EXPECT_EQ(ExplorerRect(), platform::Rect::FromSize(1, 740, 1918, 300));
  TickAt(900, 720);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeBottom);
  TickAt(900, 719);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
}

TEST_F(EdgeTickTest, AMenuOfTheExplorerUnderThePointerKeepsItOut) {
  Start();
  TickAt(0, 500, 3);
  sim::SimWindow menu;
  menu.className = "#32768";
  menu.owner = Explorer();
  menu.style = platform::WsPopup;
  menu.visible = true;
  menu.rect = platform::Rect::FromSize(380, 480, 200, 100);
  const platform::Hwnd menuWindow = system.desktop.AddWindow(menu);
  TickAt(500, 500);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
  system.desktop.DestroyWindow(menuWindow);
  TickAt(500, 500);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
}

TEST_F(EdgeTickTest, ASizeTheUserChoseIsKeptForTheNextSlideAndTheFile) {
  Start();
  TickAt(0, 500, 3);
  system.desktop.MoveWindow(Explorer(), 0, 1, 520, 1038, true);
  TickAt(700, 500);
  EXPECT_EQ(form->Settings.Exp.Width, 520);
  TickAt(0, 500, 3);
  EXPECT_EQ(ExplorerRect(), platform::Rect::FromSize(0, 1, 520, 1038));
  form->mnuExitClick(*form);
  EXPECT_EQ(system.files.ReadFile(kIniPath)->find("Width=520") != std::string::npos, true);
}

TEST_F(EdgeTickTest, AWindowThatVanishedWhileOutIsNotMeasured) {
  Start();
  TickAt(0, 500, 3);
  system.desktop.KillProcess(ExplorerWindow().processId);
  system.shell.SetExplorerDelay(std::nullopt);
  TickAt(700, 500);
  EXPECT_EQ(form->Settings.Exp.Width, 400);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
}

TEST_F(EdgeTickTest, AMinimisedOrMaximisedWindowThatIsOutIsRestored) {
  Start();
  TickAt(0, 500, 3);
  system.desktop.ShowWindow(Explorer(), platform::SwShowMaximized);
  TickAt(100, 500);
  EXPECT_FALSE(ExplorerWindow().maximized);
  system.desktop.ShowWindow(Explorer(), platform::SwShowMinimized);
  TickAt(100, 500);
  EXPECT_FALSE(ExplorerWindow().minimized);
}

TEST_F(EdgeTickTest, APinnedWindowStaysOutAndIsNotReparked) {
  Start();
  TickAt(0, 500, 3);
  form->Settings.Exp.Fix = 1;
  system.desktop.ClearCalls();
  TickAt(1000, 500, 3);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
  EXPECT_TRUE(CallsNamed("SetWindowLong").empty());
}

TEST_F(EdgeTickTest, ALostExplorerComesBackInTheFolderItLastShowed) {
  system.files.CreateFolder("C:\\Data");
  Start("[Exp]\r\nWatch=1\r\n");
  const platform::Hwnd first = Explorer();
  form->Engine.HiddenFolder = "C:\\Data\\";
  system.desktop.KillProcess(ExplorerWindow().processId);
  TickAt(0, 500);
  EXPECT_NE(Explorer(), first);
  EXPECT_TRUE(system.desktop.IsWindow(Explorer()));
  EXPECT_EQ(system.shell.Calls().back().parameters, " /n,/e,\"C:\\Data\\\"");
  EXPECT_EQ(form->Settings.Exp.Path, "C:\\Tools\\Varnel\\");
  EXPECT_EQ(ExplorerRect().Left, -1920);  // parked again
}

TEST_F(EdgeTickTest, NothingHappensWhileTheSettingsWindowIsOpenOrAScreenSaverRuns) {
  Start();
  form->mnuSettingClick(*form);
  system.desktop.ClearCalls();
  TickAt(0, 500, 5);
  EXPECT_TRUE(system.desktop.Calls().empty());
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  form->BitBtn1Click(*form);

  system.desktop.SetScreenSaverRunning(true);
  system.desktop.ClearCalls();
  TickAt(0, 500, 5);
  EXPECT_TRUE(system.desktop.Calls().empty());
  system.desktop.SetScreenSaverRunning(false);
  TickAt(0, 500, 3);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
}

TEST_F(EdgeTickTest, OpeningTheSettingsWindowParksTheWindowThatIsOut) {
  Start();
  TickAt(0, 500, 3);
  form->mnuSettingClick(*form);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  EXPECT_EQ(ExplorerRect().Left, -1920);
}

TEST_F(EdgeTickTest, TicksInsideASlideStopAtTheBusyFlag) {
  Start("[Pos]\r\nSpeed=100\r\n");
  form->Timer1->SetEnabled(true);
  system.desktop.SetCursorPos({0, 500});
  // The third tick slides for more than 100 ms; halfway the pointer leaves for the right, and
  // the tick that falls due inside the slide must not park the window under it.
  system.ui.At(350, [&] { system.desktop.SetCursorPos({1500, 500}); });
  system.ui.AdvanceClock(300);
  ASSERT_EQ(form->Engine.ShownEdge, EdgeLeft);
  EXPECT_EQ(ExplorerRect(), platform::Rect::FromSize(0, 1, 400, 1038));
  const std::vector<Placement> moves = Moves(Explorer());
  EXPECT_TRUE(std::none_of(moves.begin(), moves.end(),
                           [](const Placement& move) { return move.X == -1920; }));
  // The next tick of its own parks it.
  system.ui.AdvanceClock(100);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
}

TEST_F(EdgeTickTest, AFailureInsideATickDoesNotLeaveTheEngineBusy) {
  Start();
  form->Timer1->SetEnabled(true);
  system.desktop.SetCursorPos({0, 500});
  system.desktop.FailNextCall("SetWindowLong");  // in the third tick, as the slide begins
  system.ui.AdvanceClock(300);  // the framework shows the error; the flag is down again
  EXPECT_EQ(system.ui.MessageBoxes().size(), 1u);
  EXPECT_FALSE(form->Engine.TickBusy);
  system.ui.AdvanceClock(100);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
}

TEST_F(EdgeTickTest, WhatTheSystemRefusesIsToldInTheProgramsWords) {
  Start();
  const struct {
    platform::Refused request;
    const char* text;
  } cases[] = {{platform::Refused::Window, "ウィンドウを作成できません"},
               {platform::Refused::Timer, "タイマーを作成できません"},
               {platform::Refused::PostedMessage, "メッセージを送れません"}};
  for (const auto& c : cases) {
    application->Guarded([&] { throw platform::SystemRefusal(c.request, "SetTimer"); });
    EXPECT_EQ(system.ui.MessageBoxes().back().text, c.text);
  }
}

TEST_F(EdgeTickTest, TheWatchedFolderStepIsPacedEveryFiftyTicks) {
  Start();
  for (int i = 0; i < 49; ++i) TickAt(900, 500);
  EXPECT_EQ(form->Engine.WatchTickCount, 49);
  TickAt(900, 500);
  EXPECT_EQ(form->Engine.WatchTickCount, 0);
}

}  // namespace
}  // namespace varnel::testing
