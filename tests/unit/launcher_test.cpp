// Starting the Explorer and telling its new window from the ones that were there before.

#include <utility>

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

using LauncherTest = EngineFixture;

TEST_F(LauncherTest, TheFirstActivationCapturesTheNewWindowAndParksIt) {
  Start();
  ASSERT_EQ(system.shell.ExplorerWindows().size(), 1u);
  EXPECT_EQ(Explorer(), system.shell.ExplorerWindows()[0]);
  EXPECT_EQ(form->FoundWindows.Count(), 1);
  const sim::ShellExecuteCall& call = system.shell.Calls().at(0);
  EXPECT_EQ(call.file, "C:\\WINDOWS\\explorer.exe");
  EXPECT_EQ(call.parameters, " /n,/e,\"C:\\Tools\\Varnel\\\"");
  EXPECT_EQ(call.directory, "C:\\WINDOWS\\");
  EXPECT_EQ(call.showCommand, platform::SwShowNoActivate);
  EXPECT_EQ(call.owner, form->Handle());
  EXPECT_EQ(ExplorerRect().Left, -1920);
  EXPECT_EQ(ExplorerExStyle(), platform::WsExToolWindow);
  EXPECT_TRUE(ExplorerWindow().topmost);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  EXPECT_EQ(form->Engine.SlideRect.Left, 0 - 300);  // the work area's left less Exp.Height
}

TEST_F(LauncherTest, ExplorerWindowsThatExistAlreadyAreNeverCaptured) {
  const platform::Hwnd one = system.shell.OpenExplorerWindow("Documents");
  const platform::Hwnd two = system.shell.OpenExplorerWindow("Pictures");
  const platform::Rect before = system.desktop.GetWindowRect(one);
  Start();
  EXPECT_EQ(form->FoundWindows.Count(), 3);
  EXPECT_NE(Explorer(), one);
  EXPECT_NE(Explorer(), two);
  EXPECT_EQ(Explorer(), form->FoundWindows.Slots[2]);
  EXPECT_EQ(system.desktop.GetWindowRect(one), before);
  EXPECT_EQ(system.desktop.Find(one)->exStyle, platform::WsExAppWindow);
}

TEST_F(LauncherTest, ASecondLaunchSeesTheWindowsThatExistEvenWhenNothingChanged) {
  Start();
  // The list was refreshed by the first launch and nothing changed since: an emptied list
  // with its old signature would report no Explorer at all and capture the managed one.
  const platform::Hwnd managed = Explorer();
  ASSERT_TRUE(form->LaunchExplorer(false));
  EXPECT_NE(Explorer(), managed);
  EXPECT_EQ(form->FoundWindows.Count(), 2);
}

TEST_F(LauncherTest, ALaunchThatGetsNoWindowGivesUpAndALaterTouchTriesAgain) {
  system.shell.SetExplorerDelay(std::nullopt);
  Start();
  EXPECT_EQ(Explorer(), platform::kNoWindow);
  EXPECT_EQ(system.shell.Calls().size(), 1u);
  EXPECT_FALSE(form->Engine.TickBusy);

  system.shell.SetExplorerDelay(300);
  system.ui.AdvanceClock(5000);
  TickAt(0, 500);
  EXPECT_EQ(system.shell.Calls().size(), 2u);
  EXPECT_TRUE(system.desktop.IsWindow(Explorer()));
  TickAt(0, 500, 3);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
}

TEST_F(LauncherTest, AFailedRelaunchKeepsTheLastHandle) {
  Start();
  const platform::Hwnd lost = Explorer();
  system.desktop.KillProcess(ExplorerWindow().processId);
  system.shell.SetExplorerDelay(std::nullopt);
  TickAt(0, 500);
  EXPECT_EQ(Explorer(), lost);
  EXPECT_FALSE(form->Engine.TickBusy);
}

TEST_F(LauncherTest, NoSecondLaunchBeginsWhileOneIsWaiting) {
  // The timer ticks during the first activation's wait with the pointer at the left edge and
  // no window yet: the tick must not start a second Explorer.
  system.files.WriteFile(kIniPath, "[Pos]\r\nSense=1\r\n");
  system.desktop.SetCursorPos({0, 500});
  system.shell.SetExplorerDelay(2000);
  application = std::make_unique<TApplication>(system.Get());
  form = &application->CreateForm<TForm1>();
  application->Run();
  EXPECT_EQ(system.shell.Calls().size(), 1u);
  EXPECT_TRUE(system.desktop.IsWindow(Explorer()));
}

TEST_F(LauncherTest, TheCommandLineFollowsTheTreeAndFolderSettings) {
  Start("[Exp]\r\nNoTree=1\r\nPathEn=1\r\nPathEx=C:\\\r\n");
  EXPECT_EQ(system.shell.Calls().at(0).parameters, " /n,\"C:\\Tools\\Varnel\\\"");
  form->LaunchExplorer(false);
  EXPECT_EQ(system.shell.Calls().at(1).parameters, " /n,/e,\"C:\\\"");
  form->Settings.Exp.Path.clear();
  form->LaunchExplorer(false);
  EXPECT_EQ(system.shell.Calls().at(2).parameters, " /n,/e,\"\"");
  form->Settings.Exp.PathEn = 0;
  form->Settings.Exp.Path = "D:\\Work\\";
  form->LaunchExplorer(false);
  EXPECT_EQ(system.shell.Calls().at(3).parameters, " /n,/e,\"D:\\Work\\\"");
}

TEST_F(LauncherTest, TheFinderMatchesByFullPathOrBareNameOnly) {
  Start();
  const auto windowOf = [&](const std::string& exe) {
    sim::SimWindow window;
    window.className = "CabinetWClass";
    window.text = exe;
    window.processId = system.desktop.AddProcess(exe);
    window.visible = true;
    return system.desktop.AddWindow(window);
  };
  const platform::Hwnd fullPath = windowOf("C:\\Windows\\Explorer.exe");
  const platform::Hwnd bareName = windowOf("EXPLORER.EXE");
  const platform::Hwnd elsewhere = windowOf("D:\\Tools\\explorer.exe");
  TFoundWindows table;
  form->FindExplorerWindows(table, "C:\\WINDOWS\\explorer.exe");
  const auto holds = [&](platform::Hwnd window) {
    return std::find(table.Slots.begin(), table.Slots.end(), window) != table.Slots.end();
  };
  EXPECT_TRUE(holds(fullPath));
  EXPECT_TRUE(holds(bareName));
  EXPECT_FALSE(holds(elsewhere));
}

TEST_F(LauncherTest, WithoutAProcessSnapshotTheCaptionTells) {
  Start();
  system.kernel.SetSnapshotAvailable(false);
  sim::SimWindow window;
  window.className = "CabinetWClass";
  window.text = "ドキュメント - エクスプローラ";
  window.visible = true;
  const platform::Hwnd visible = system.desktop.AddWindow(window);
  window.visible = false;
  const platform::Hwnd hidden = system.desktop.AddWindow(window);
  window.visible = true;
  window.text = "メモ帳";
  const platform::Hwnd other = system.desktop.AddWindow(window);
  TFoundWindows table;
  form->WinList1->Clear();
  form->FindExplorerWindows(table, "C:\\WINDOWS\\explorer.exe");
  EXPECT_EQ(table.Slots, std::vector<platform::Hwnd>{visible});
  (void)hidden;
  (void)other;
}

TEST_F(LauncherTest, TheTableHoldsEveryWindowOnceWithoutALimit) {
  Start();
  TFoundWindows table;
  for (int i = 0; i < 20; ++i) system.shell.OpenExplorerWindow("W" + std::to_string(i));
  EXPECT_EQ(form->FindExplorerWindows(table, "C:\\WINDOWS\\explorer.exe"), 21);
  EXPECT_EQ(form->FindExplorerWindows(table, "C:\\WINDOWS\\explorer.exe"), 21);
}

TEST_F(LauncherTest, AnApplicationWindowStandsForItsLastActivePopup) {
  Start();
  sim::SimWindow application;
  application.className = "TApplication";
  application.text = "Explorer";
  application.visible = true;
  application.processId = system.desktop.AddProcess("explorer.exe");
  const platform::Hwnd hiddenMain = system.desktop.AddWindow(application);
  sim::SimWindow main;
  main.className = "TMainForm";
  main.text = "Main";
  main.owner = hiddenMain;
  main.processId = system.desktop.Find(hiddenMain)->processId;
  const platform::Hwnd popup = system.desktop.AddWindow(main);
  TFoundWindows table;
  form->FindExplorerWindows(table, "C:\\WINDOWS\\explorer.exe");
  // Its popup has not come yet: after the bounded wait it is left for the next poll.
  EXPECT_EQ(std::count(table.Slots.begin(), table.Slots.end(), hiddenMain), 0);
  system.desktop.Find(hiddenMain)->lastActivePopup = popup;
  form->FindExplorerWindows(table, "C:\\WINDOWS\\explorer.exe");
  EXPECT_EQ(std::count(table.Slots.begin(), table.Slots.end(), popup), 1);
}

// --- However many Explorer windows are open, one launch makes one managed window ---------------

bool LookingForALateWindow(TForm1& form) {
  const auto* timer = dynamic_cast<TTimer*>(form.FindComponent("LateExplorerTimer"));
  return timer != nullptr && timer->Enabled();
}

void ExpectUntouched(const sim::SimWindow& window) {
  EXPECT_TRUE(window.visible);
  EXPECT_FALSE(window.topmost);
  EXPECT_EQ(window.exStyle, platform::WsExAppWindow);
  EXPECT_EQ(window.rect, platform::Rect::FromSize(120, 90, 800, 560));
}

class ExplorersAlreadyOpen : public EngineFixture, public ::testing::WithParamInterface<int> {};

TEST_P(ExplorersAlreadyOpen, TheLaunchTakesTheNewWindowAndEdgeTouchesStartNoOther) {
  std::vector<platform::Hwnd> open;
  for (int i = 0; i < GetParam(); ++i) {
    open.push_back(system.shell.OpenExplorerWindow("W" + std::to_string(i)));
  }
  Start();
  ASSERT_EQ(system.shell.ExplorerWindows().size(), open.size() + 1);
  EXPECT_EQ(Explorer(), system.shell.ExplorerWindows().back());
  EXPECT_EQ(form->FoundWindows.Count(), GetParam() + 1);
  EXPECT_EQ(ExplorerRect().Left, -1920);
  for (platform::Hwnd window : open) ExpectUntouched(*system.desktop.Find(window));

  for (int touch = 0; touch < 5; ++touch) {
    TickAt(0, 500, 3);
    EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
    TickAt(960, 540);
  }
  EXPECT_EQ(system.shell.Calls().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Count, ExplorersAlreadyOpen, ::testing::Values(0, 15, 16, 17, 20, 40));

TEST_F(LauncherTest, AfterALaunchGaveUpTheEdgeStartsNoExplorerForFiveSeconds) {
  system.shell.SetExplorerDelay(std::nullopt);
  Start();
  ASSERT_EQ(system.shell.Calls().size(), 1u);
  // The first activation's launch gave up; then a touch's restart gives up in its turn.
  for (const char* launch : {"first activation", "restart"}) {
    const std::uint32_t gaveUp = system.clock.Now();
    const std::size_t startsBefore = system.shell.Calls().size();
    for (const auto& [after, starts] : {std::pair{0u, 0u}, {2500u, 0u}, {4990u, 0u}, {5000u, 1u}}) {
      system.ui.AdvanceClock(gaveUp + after - system.clock.Now());
      TickAt(0, 500);
      EXPECT_EQ(system.shell.Calls().size() - startsBefore, starts)
          << "a touch " << after << " ms after the " << launch << " gave up";
    }
  }
  EXPECT_EQ(Explorer(), platform::kNoWindow);
  EXPECT_FALSE(form->Engine.TickBusy);
}

struct LateWindow {
  unsigned lateByMs;  // after the launch gave up
  bool taken;
  friend void PrintTo(const LateWindow& c, std::ostream* out) {
    *out << "late-by-" << c.lateByMs << "ms";
  }
};

class AWindowAfterTheGiveUp : public EngineFixture,
                              public ::testing::WithParamInterface<LateWindow> {};

TEST_P(AWindowAfterTheGiveUp, IsParkedAsTheManagedOneWhileItIsLookedFor) {
  system.shell.SetExplorerDelay(10000 + GetParam().lateByMs);
  Start();
  ASSERT_EQ(Explorer(), platform::kNoWindow);
  EXPECT_TRUE(LookingForALateWindow(*form));
  system.ui.AdvanceClock(GetParam().lateByMs + 1000);
  ASSERT_EQ(system.shell.ExplorerWindows().size(), 1u);
  const platform::Hwnd late = system.shell.ExplorerWindows()[0];
  if (GetParam().taken) {
    ASSERT_EQ(Explorer(), late);
    EXPECT_EQ(ExplorerRect().Left, -1920);
    EXPECT_EQ(ExplorerExStyle(), platform::WsExToolWindow);
    EXPECT_TRUE(ExplorerWindow().topmost);
    TickAt(0, 500, 3);
    EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
  } else {
    EXPECT_EQ(Explorer(), platform::kNoWindow);
    ExpectUntouched(*system.desktop.Find(late));
  }
  EXPECT_FALSE(LookingForALateWindow(*form));
  EXPECT_EQ(system.shell.Calls().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Delay, AWindowAfterTheGiveUp,
                         ::testing::Values(LateWindow{700, true}, LateWindow{59000, true},
                                           LateWindow{61000, false}));

TEST_F(LauncherTest, ALateWindowIsNotTakenFromASupplementaryLaunch) {
  system.shell.SetExplorerDelay(std::nullopt);
  Start();
  // The supplementary launch gets the window and places it; the managed look must not park it.
  system.shell.SetExplorerDelay(300);
  ASSERT_TRUE(form->LaunchExplorer(false));
  const platform::Hwnd supplementary = Explorer();
  form->Engine.ExplorerWnd = platform::kNoWindow;
  system.ui.AdvanceClock(2000);
  EXPECT_EQ(Explorer(), platform::kNoWindow);
  EXPECT_FALSE(system.desktop.Find(supplementary)->topmost);
}

struct ExitDuringTheWait {
  const char* by;      // the exit command, or a bare Terminate
  unsigned windowAt;   // when the Explorer's window comes; the exit comes at 1000 ms
  friend void PrintTo(const ExitDuringTheWait& c, std::ostream* out) {
    *out << c.by << "-window-at-" << c.windowAt << "ms";
  }
};

class AnExitDuringTheLaunchWait : public EngineFixture,
                                  public ::testing::WithParamInterface<ExitDuringTheWait> {};

TEST_P(AnExitDuringTheLaunchWait, EndsItAndLeavesTheWindowToTheUser) {
  system.shell.SetExplorerDelay(GetParam().windowAt);
  system.ui.At(1000, [this] {
    if (std::string(GetParam().by) == "command") {
      form->mnuExitClick(*form);
    } else {
      application->Terminate();
    }
  });
  const std::uint32_t started = system.clock.Now();
  Start();
  EXPECT_TRUE(application->Terminated());
  EXPECT_LT(system.clock.Now() - started, 1500u);  // not the launch's ten seconds
  EXPECT_FALSE(LookingForALateWindow(*form));

  system.ui.AdvanceClock(70000);
  ASSERT_EQ(system.shell.ExplorerWindows().size(), 1u);
  ExpectUntouched(*system.desktop.Find(system.shell.ExplorerWindows()[0]));
  EXPECT_EQ(Explorer(), platform::kNoWindow);
}

INSTANTIATE_TEST_SUITE_P(When, AnExitDuringTheLaunchWait,
                         ::testing::Values(ExitDuringTheWait{"command", 3000},
                                           ExitDuringTheWait{"terminate", 3000},
                                           ExitDuringTheWait{"terminate", 1000}));

// --- The waits sleep between messages --------------------------------------------------------

TEST_F(LauncherTest, TheWaitSleepsToItsDeadlineAndRunsTimersOnTheWay) {
  Start();
  int ticks = 0;
  TTimer& timer = TComponent::Create<TTimer>(*form, "Ticker", system.ui, 100);
  timer.OnTimer = [&](TComponent&) { ++ticks; };
  const int dispatches = system.ui.ProcessMessagesCount();
  const int sleeps = system.ui.WaitForMessagesCount();
  const std::uint32_t started = system.clock.Now();
  form->WaitProcessing(1000);
  EXPECT_EQ(system.clock.Now() - started, 1000u);
  EXPECT_EQ(ticks, 10);
  // A sleep per timer message; a spinning wait lets messages run once a simulated millisecond.
  EXPECT_EQ(system.ui.ProcessMessagesCount() - dispatches, 0);
  EXPECT_LE(system.ui.WaitForMessagesCount() - sleeps, 12);

  system.ui.At(250, [&] { application->Terminate(); });
  const std::uint32_t restarted = system.clock.Now();
  form->WaitProcessing(1000);
  EXPECT_EQ(system.clock.Now() - restarted, 250u);
}

TEST_F(LauncherTest, ALaunchThatWaitsInVainSleepsBetweenPollsAndStillRunsCommands) {
  Start();
  system.shell.SetExplorerDelay(std::nullopt);
  bool commandRan = false;
  system.ui.At(3000, [&] { system.ui.PostTask([&] { commandRan = true; }); });
  const int dispatches = system.ui.ProcessMessagesCount();
  const int sleeps = system.ui.WaitForMessagesCount();
  EXPECT_FALSE(form->LaunchExplorer(false));
  EXPECT_TRUE(commandRan);
  // Ten seconds of polls every 100 ms: about a hundred sleeps, and no dispatch loop.
  EXPECT_EQ(system.ui.ProcessMessagesCount() - dispatches, 0);
  EXPECT_GE(system.ui.WaitForMessagesCount() - sleeps, 90);
  EXPECT_LE(system.ui.WaitForMessagesCount() - sleeps, 110);
}

}  // namespace
}  // namespace varnel::testing
