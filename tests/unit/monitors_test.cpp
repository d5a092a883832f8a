// A desktop of several monitors: which edges can be pushed against, where a parked window is
// out of sight, and when full-screen work keeps a monitor's edges quiet.

#include "engine/Monitors.h"
#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

using platform::Monitor;
using platform::Rect;

Monitor At(int left, int top, int width, int height, bool primary = false) {
  const Rect rect = Rect::FromSize(left, top, width, height);
  Rect work = rect;
  work.Bottom -= 40;
  return {rect, work, 96, primary};
}

// Layouts by name: the primary monitor first.
const Monitors kSideBySide = {At(0, 0, 1920, 1080, true), At(1920, 0, 1920, 1080)};
const Monitors kOffsetHeights = {At(0, 0, 1920, 1080, true), At(-2560, -360, 2560, 1440)};
const Monitors kStacked = {At(0, 0, 1920, 1080, true), At(0, -1080, 1920, 1080)};
const Monitors kPrimaryOnTheRight = {At(0, 0, 1920, 1080, true), At(-1920, 0, 1920, 1080)};
// An L: the primary, one to its right, one below that one.
const Monitors kLShape = {At(0, 0, 1920, 1080, true), At(1920, 0, 1920, 1080),
                          At(1920, 1080, 1920, 1080)};

TEST(MonitorLayouts, OnlyEdgesNoNeighbourContinuesArePushedAgainst) {
  const struct {
    const char* what;
    const Monitors& monitors;
    int monitor;
    int edge;
    platform::Point pointer;
    bool outer;
  } cases[] = {
      {"side by side: the shared edge", kSideBySide, 0, EdgeRight, {1919, 500}, false},
      {"side by side: the far right", kSideBySide, 1, EdgeRight, {3839, 500}, true},
      {"side by side: the primary's left", kSideBySide, 0, EdgeLeft, {0, 500}, true},
      {"offset: shared span", kOffsetHeights, 0, EdgeLeft, {0, 500}, false},
      {"offset: the tall one's top above the primary", kOffsetHeights, 1, EdgeTop, {-100, -360}, true},
      {"offset: the primary's top", kOffsetHeights, 0, EdgeTop, {100, 0}, true},
      {"stacked: the shared edge", kStacked, 0, EdgeTop, {500, 0}, false},
      {"stacked: the upper one's top", kStacked, 1, EdgeTop, {500, -1080}, true},
      {"primary on the right: its left is shared", kPrimaryOnTheRight, 0, EdgeLeft, {0, 10}, false},
      {"primary on the right: the other's left", kPrimaryOnTheRight, 1, EdgeLeft, {-1920, 10}, true},
      {"L: the primary's bottom", kLShape, 0, EdgeBottom, {500, 1079}, true},
      {"L: the corner monitor's bottom is shared", kLShape, 1, EdgeBottom, {2500, 1079}, false},
      {"L: the lowest one's left, beside nothing", kLShape, 2, EdgeLeft, {1920, 1500}, true},
      {"not on the edge's line", kSideBySide, 0, EdgeLeft, {1, 500}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OuterEdgeAt(c.monitors, c.monitors[c.monitor], c.edge, c.pointer), c.outer)
        << c.what;
  }
}

TEST(MonitorLayouts, AParkedWindowSitsWhereNoMonitorIs) {
  const ScreenSize primary{1920, 1080};
  const auto overlapsNone = [](const Monitors& monitors, const TSlideRect& spot) {
    const Rect region = Rect::FromSize(spot.Left, spot.Top, 1920, 1080);
    for (const Monitor& m : monitors) {
      if (m.rect.Left < region.Right && region.Left < m.rect.Right && m.rect.Top < region.Bottom &&
          region.Top < m.rect.Bottom) {
        return false;
      }
    }
    return true;
  };
  for (const Monitors* layout :
       {&kSideBySide, &kOffsetHeights, &kStacked, &kPrimaryOnTheRight, &kLShape}) {
    EXPECT_TRUE(overlapsNone(*layout, ParkingSpot(*layout, primary)));
  }
  // One monitor, or neighbours right and below only: the usual place.
  const Monitors one = {At(0, 0, 1920, 1080, true)};
  EXPECT_EQ(ParkingSpot(one, primary).Left, -1920);
  EXPECT_EQ(ParkingSpot(kLShape, primary).Top, -1080);
  EXPECT_EQ(ParkingSpot(kOffsetHeights, primary).Left, -2560 - 1920);
  EXPECT_EQ(ParkingSpot(kOffsetHeights, primary).Top, -360 - 1080);
}

TEST(FullScreenGuard, DecidesByTheForegroundWindowAndTheShell) {
  const Monitors& two = kSideBySide;
  const Rect primary = two[0].rect;
  const Rect second = two[1].rect;
  const auto state = [](Rect rect, int quns = platform::QunsAcceptsNotifications,
                        const char* className = "Game", bool ours = false) {
    ForegroundState s;
    s.window = platform::Hwnd{0x500};
    s.className = className;
    s.rect = rect;
    s.ours = ours;
    s.notificationState = quns;
    return s;
  };
  const struct {
    const char* what;
    ForegroundState foreground;
    std::optional<Rect> quiet;
  } cases[] = {
      {"Direct3D full screen", state(Rect{100, 100, 500, 500}, platform::QunsRunningD3dFullScreen),
       primary},
      {"a presentation", state(Rect{2000, 100, 2500, 500}, platform::QunsPresentationMode), second},
      {"busy alone", state(Rect{100, 100, 500, 500}, platform::QunsBusy), std::nullopt},
      {"borderless, the monitor's size", state(primary), primary},
      {"borderless on the other monitor", state(second), second},
      {"maximised: the frame overhangs", state(Rect{-8, -8, 1928, 1048}), std::nullopt},
      {"maximised, no taskbar: overhangs all", state(Rect{-8, -8, 1928, 1088}), std::nullopt},
      {"the desktop", state(primary, platform::QunsAcceptsNotifications, "Progman"), std::nullopt},
      {"the taskbar", state(primary, platform::QunsAcceptsNotifications, "Shell_TrayWnd"),
       std::nullopt},
      {"Varnel's own", state(primary, platform::QunsAcceptsNotifications, "TForm1", true),
       std::nullopt},
      {"nothing in front", ForegroundState{}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FullScreenMonitor(two, c.foreground), c.quiet) << c.what;
}

class FullScreenEdgeTest : public EngineFixture {
 protected:
  // A borderless window as large as the screen, of another program, in front.
  platform::Hwnd FullScreenWindow() {
    sim::SimWindow window;
    window.className = "Game";
    window.processId = system.desktop.AddProcess("game.exe");
    window.rect = Rect{0, 0, 1920, 1080};
    window.visible = true;
    const platform::Hwnd handle = system.desktop.AddWindow(window);
    system.desktop.SetForegroundWindow(handle);
    return handle;
  }
};

TEST_F(FullScreenEdgeTest, FullScreenWorkKeepsTheEdgesQuietUntilItEnds) {
  Start();
  const platform::Hwnd game = FullScreenWindow();
  TickAt(0, 500, 20);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  system.desktop.DestroyWindow(game);
  TickAt(0, 500);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
}

TEST_F(FullScreenEdgeTest, ALostExplorerIsNotRestartedOverFullScreenWork) {
  Start();
  system.desktop.KillProcess(ExplorerWindow().processId);
  const platform::Hwnd game = FullScreenWindow();
  const std::size_t starts = system.shell.Calls().size();
  TickAt(0, 500, 5);
  EXPECT_EQ(system.shell.Calls().size(), starts);
  system.desktop.DestroyWindow(game);
  TickAt(0, 500);
  EXPECT_TRUE(system.desktop.IsWindow(Explorer()));
}

TEST_F(FullScreenEdgeTest, TheLaunchMenuNeitherPopsNorTakesTheFocus) {
  Start("[Launch]\r\nRight=1\r\n");
  FullScreenWindow();
  system.desktop.ClearCalls();
  TickAt(1919, 500, 20);
  EXPECT_EQ(form->Engine.LaunchShownEdge, EdgeNone);
  for (const std::string& call : system.desktop.Calls()) {
    EXPECT_EQ(call.rfind("SetActiveWindow", 0), std::string::npos) << call;
  }
}

TEST_F(FullScreenEdgeTest, WithTheGuardOffOrTheWorkOnAnotherMonitorTheEdgeFires) {
  system.desktop.SetMonitors(kSideBySide);
  Start("[Exp]\r\nFullGuard=0\r\n");
  FullScreenWindow();
  TickAt(0, 500, 5);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);

  TickAt(960, 540, 3);
  form->Settings.Exp.FullGuard = 1;
  system.shell.notificationState = platform::QunsRunningD3dFullScreen;
  system.desktop.Find(system.desktop.GetForegroundWindow())->rect = kSideBySide[1].rect;
  TickAt(0, 500, 5);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
}

TEST_F(FullScreenEdgeTest, ANewMonitorWhereTheWindowWasParkedMovesItAway) {
  Start();
  EXPECT_EQ(ExplorerRect().Left, -1920);
  system.desktop.SetMonitors(kOffsetHeights);
  system.ui.BroadcastDisplayChange();
  EXPECT_EQ(ExplorerRect().Left, -2560 - 1920);
  EXPECT_EQ(ExplorerRect().Top, -360 - 1080);
  // And the idle tick keeps it there.
  system.desktop.ClearCalls();
  TickAt(960, 540, 3);
  EXPECT_TRUE(Moves(Explorer()).empty());
}

TEST_F(FullScreenEdgeTest, WithEveryMonitorsEdgesTheWindowComesOutOnTheMonitorPushed) {
  system.desktop.SetMonitors(kSideBySide);
  Start("[Exp]\r\nRight=1\r\nAllMonitors=1\r\n");
  TickAt(1919, 500, 5);  // into the neighbour: no edge
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  TickAt(3839, 10, 5);  // the second monitor's corner
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  TickAt(3839, 500, 3);
  ASSERT_EQ(form->Engine.ShownEdge, EdgeRight);
  EXPECT_EQ(ExplorerRect().Right, 3840);
  EXPECT_EQ(ExplorerRect().Top, 1);
  TickAt(2500, 500);  // away from it, on its monitor
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  TickAt(0, 500, 3);
  ASSERT_EQ(form->Engine.ShownEdge, EdgeLeft);
  EXPECT_EQ(ExplorerRect().Left, 0);

  // Without the option the primary's own edges count, the shared one too.
  TickAt(960, 540);
  form->Settings.Exp.AllMonitors = 0;
  TickAt(1919, 500, 3);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeRight);
  EXPECT_EQ(ExplorerRect().Right, 1920);
}

// Nothing comes out over full-screen work, and nothing stays out on a monitor that has gone.
struct TwoMonitors : EngineFixture {
  void TestBody() override {}
  void Rows() {
    system.desktop.SetMonitors(kSideBySide);
    Start("[Exp]\r\nRight=1\r\n");
    const platform::Hwnd game = system.desktop.AddWindow({.className = "G", .processId = 9});
    // Pushed at the second's far right: out or not, and a lost one restarted (on the primary)?
    const struct { int all, workOn, out; bool restarts; } guard[] = {
        {0, 0, 0, false}, {0, 1, EdgeRight, true}, {1, 0, EdgeRight, false}, {1, 1, 0, false}};
    for (const auto& r : guard) {
      form->Settings.Exp.AllMonitors = r.all;
      system.desktop.Find(game)->rect = kSideBySide[r.workOn].rect;
      system.desktop.SetForegroundWindow(game);
      TickAt(3839, 500, 5);
      EXPECT_EQ(form->Engine.ShownEdge, r.out) << &r - guard;
      TickAt(960, 540, 2);
      system.desktop.KillProcess(ExplorerWindow().processId);
      TickAt(3839, 500);
      EXPECT_EQ(system.desktop.IsWindow(Explorer()), r.restarts) << &r - guard;
      system.desktop.Find(game)->rect = {};
      TickAt(3839, 500);
    }
    // Out at x on every monitor's edges, then the monitors change: parked, or out still.
    Monitor moved = kSideBySide[1];
    moved.workArea.Right -= 60;  // its taskbar moved
    const struct { int x; Monitors after; bool parked; } change[] = {
        {3839, {kSideBySide[0]}, true}, {3839, {kSideBySide[0], At(1920, 0, 2560, 1440)}, true},
        {3839, {kSideBySide[0], moved}, false}, {0, {kSideBySide[0]}, false}};
    for (const auto& r : change) {
      TickAt(960, 540, 2);
      TickAt(r.x, 500, 3);
      system.desktop.SetMonitors(r.after);
      system.ui.BroadcastDisplayChange();
      const bool parked = form->Engine.ShownEdge == EdgeNone && ExplorerRect().Left < 0;
      EXPECT_EQ(parked, r.parked) << &r - change;
      if (!parked) EXPECT_EQ(form->Engine.ShownArea, MonitorAt(r.after, {r.x, 500})->workArea);
      system.desktop.SetMonitors(kSideBySide);
      system.ui.BroadcastDisplayChange();
    }
  }
};
TEST(NeverStuck, NothingOverFullScreenWorkNorOutOnAMonitorGone) { TwoMonitors().Rows(); }

}  // namespace
}  // namespace varnel::testing
