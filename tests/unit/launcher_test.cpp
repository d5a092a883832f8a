// Starting the Explorer and telling its new window from the ones that were there before.

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

using LauncherTest = EngineFixture;

TEST_F(LauncherTest, TheFirstActivationCapturesTheNewWindowAndParksIt) {
  Start();
  ASSERT_EQ(system.shell.ExplorerWindows().size(), 1u);
  EXPECT_EQ(Explorer(), system.shell.ExplorerWindows()[0]);
  EXPECT_EQ(form->FoundWindows.Count, 1);
  const sim::ShellExecuteCall& call = system.shell.Calls().at(0);
  EXPECT_EQ(call.file, "C:\\WINDOWS\\explorer.exe");
  EXPECT_EQ(call.parameters, " /n,/e,\"C:\\Tools\\Varnel\\\"");
  EXPECT_EQ(call.directory, "C:\\WINDOWS\\");
  EXPECT_EQ(call.showCommand, platform::SwShowNoActivate);
  EXPECT_EQ(call.owner, form->Handle());
  EXPECT_EQ(ExplorerRect().Left, -1920);
  EXPECT_EQ(ExplorerWindow().exStyle, platform::WsExToolWindow);
  EXPECT_TRUE(ExplorerWindow().topmost);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  EXPECT_EQ(form->Engine.SlideRect.Left, 0 - 300);  // the work area's left less Exp.Height
}

TEST_F(LauncherTest, ExplorerWindowsThatExistAlreadyAreNeverCaptured) {
  const platform::Hwnd one = system.shell.OpenExplorerWindow("Documents");
  const platform::Hwnd two = system.shell.OpenExplorerWindow("Pictures");
  const platform::Rect before = system.desktop.GetWindowRect(one);
  Start();
  EXPECT_EQ(form->FoundWindows.Count, 3);
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
  EXPECT_EQ(form->FoundWindows.Count, 2);
}

TEST_F(LauncherTest, ALaunchThatGetsNoWindowGivesUpAndTheNextTouchTriesAgain) {
  system.shell.SetExplorerDelay(std::nullopt);
  Start();
  EXPECT_EQ(Explorer(), platform::kNoWindow);
  EXPECT_EQ(system.shell.Calls().size(), 1u);
  EXPECT_FALSE(form->Engine.TickBusy);

  system.shell.SetExplorerDelay(300);
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
  EXPECT_EQ(table.Slots[0], visible);
  EXPECT_EQ(table.Count, 1);
  (void)hidden;
  (void)other;
}

TEST_F(LauncherTest, TheTableHoldsSixteenWindowsAndNoRepeats) {
  Start();
  TFoundWindows table;
  for (int i = 0; i < 20; ++i) system.shell.OpenExplorerWindow("W" + std::to_string(i));
  EXPECT_EQ(form->FindExplorerWindows(table, "C:\\WINDOWS\\explorer.exe"), 16);
  EXPECT_EQ(form->FindExplorerWindows(table, "C:\\WINDOWS\\explorer.exe"), 16);
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

}  // namespace
}  // namespace varnel::testing
