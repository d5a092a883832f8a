// The 100 ms tick: watches the pointer, brings the managed Explorer out at an enabled edge
// and parks it again when the pointer has moved away, and keeps the Explorer alive.

#include <cstdio>

#include "app/Unit1.h"
#include "base/Desktop.h"
#include "base/ScopeExit.h"
#include "engine/EdgeZones.h"
#include "engine/Geometry.h"
#include "engine/Monitors.h"

namespace varnel {

namespace {

// How long the watched folder's application start keeps the folder step from starting another.
constexpr unsigned kLaunchCooldownMs = 30000;
// The watched-folder step runs every this many ticks.
constexpr int kWatchEveryTicks = 50;

}  // namespace

void TForm1::Timer1Timer(TComponent& /*sender*/) {
  if (SettingsOpen) return;
  ContinueLaunchLoad();

  const int cooldownLimit = static_cast<int>(kLaunchCooldownMs / Timer1->Interval());
  if (++Engine.LaunchCooldown > cooldownLimit) {
    Engine.AppLaunchedRecently = false;
    Engine.LaunchCooldown = cooldownLimit;
  }
  platform::WindowManager& windows = System().windows;
  Engine.WorkArea = windows.GetWorkArea();
  TrayIcon1->SetTipHelp(TrayTip());
  TrayIcon1->RetryAdd();
  if (ScreenSaverRuns()) return;

  if (Engine.TickBusy) return;
  const platform::Point pointer = windows.GetCursorPos();
  {
    // A flag left set would stop the engine for good: it is cleared however the work ends.
    const auto busy = RaiseForScope(Engine.TickBusy);
    if (Settings.Exp.Watch != 0 && windows.IsWindow(Engine.ExplorerWnd)) FollowExplorerFolder();
    const ScreenSize screen = PrimaryScreenSize(windows);
    // A new Explorer would take the foreground from full-screen work: it waits as well, for
    // work where the window will come out and for work on the primary monitor, where the
    // system opens the new window before it is parked.
    if (TouchesEnabledEdge(pointer, screen.Width, screen.Height) &&
        !windows.IsWindow(Engine.ExplorerWnd) && Gate.MayFire(ComingOutMonitor(pointer)) &&
        Gate.MayFire(Engine.Monitors.empty() ? nullptr : &Engine.Monitors.front())) {
      RestartExplorer();
    }
    if (Engine.ShownEdge != EdgeNone &&
        (windows.IsIconic(Engine.ExplorerWnd) || windows.IsZoomed(Engine.ExplorerWnd))) {
      windows.SendMessage(Engine.ExplorerWnd, platform::WmSysCommand, platform::ScRestore, 0);
    }

    if (Engine.ShownEdge == EdgeNone) {
      // A pinned window that is parked keeps its ordinary style; otherwise the style comes off
      // only in the tick that slides the window out.
      if (Settings.Exp.Fix != 0) ClearToolStyle();
      ComeOut(pointer);
    } else {
      GoBack(pointer);
    }
    if (Engine.ShownEdge == EdgeNone && Settings.Exp.Fix == 0) RefreshPark();
  }

  LaunchTrigger(pointer);
  if (++Engine.WatchTickCount >= kWatchEveryTicks) {
    Engine.WatchTickCount = 0;
    WatchStep();
  }
}

std::string TForm1::ClockText() const {
  const platform::Kernel& kernel = System().kernel;
  const platform::Kernel::LocalTime now = kernel.GetLocalTime();
  char text[96];
  std::snprintf(text, sizeof text, "%04d年%02d月%02d日(%s) %02d:%02d", now.year, now.month, now.day,
                kernel.GetDayName(now.dayOfWeek).c_str(), now.hour, now.minute);
  return text;
}

bool TForm1::ScreenSaverRuns() const { return System().windows.IsScreenSaverRunning(); }

// Without the edges of every monitor the window comes out in the primary work area, also for
// a push that reaches the primary's right or bottom edge from a monitor beyond it.
const platform::Monitor* TForm1::ComingOutMonitor(platform::Point pointer) const {
  if (Settings.Exp.AllMonitors != 0) return MonitorAt(Engine.Monitors, pointer);
  return Engine.Monitors.empty() ? nullptr : &Engine.Monitors.front();
}

// Corner dead zones and buttons do not matter here: any touch of an enabled edge restarts a
// lost Explorer.
bool TForm1::TouchesEnabledEdge(platform::Point p, int width, int height) const {
  for (int edge = EdgeLeft; edge <= EdgeBottom; ++edge) {
    if (EdgeSwitch(Settings.Exp, edge) == 0) continue;
    if (Settings.Exp.AllMonitors != 0 ? OnOuterEdge(edge, p)
                                      : InExplorerZone(edge, p, {width, height})) {
      return true;
    }
  }
  return false;
}

bool TForm1::AwayFromEdges(platform::Point p, ScreenSize screen) const {
  if (Settings.Exp.AllMonitors == 0) return StrictlyInside(p, screen);
  const platform::Monitor* monitor = MonitorAt(Engine.Monitors, p);
  if (monitor == nullptr) return false;
  const platform::Rect& m = monitor->rect;
  return p.X > m.Left && p.X < m.Right - 1 && p.Y > m.Top && p.Y < m.Bottom - 1;
}

// Every monitor's edges that lead nowhere, each with corner dead zones of its own.
bool TForm1::OnOuterEdgeClearOfCorners(int edge, platform::Point p) const {
  const platform::Monitor* monitor = MonitorAt(Engine.Monitors, p);
  if (monitor == nullptr || !OuterEdgeAt(Engine.Monitors, *monitor, edge, p)) return false;
  const platform::Point local{p.X - monitor->rect.Left, p.Y - monitor->rect.Top};
  return ClearOfCorners(edge, local, {monitor->rect.Width(), monitor->rect.Height()},
                        Settings.Pos);
}

bool TForm1::OnOuterEdge(int edge, platform::Point p) const {
  const platform::Monitor* monitor = MonitorAt(Engine.Monitors, p);
  return monitor != nullptr && OuterEdgeAt(Engine.Monitors, *monitor, edge, p);
}

bool TForm1::EdgeFires(int edge, platform::Point p, int width, int height) const {
  if (EdgeSwitch(Settings.Exp, edge) == 0) return false;
  if (Settings.Exp.AllMonitors != 0) {
    if (!OnOuterEdgeClearOfCorners(edge, p)) return false;
  } else {
    const ScreenSize screen{width, height};
    if (!InExplorerZone(edge, p, screen) || !ClearOfCorners(edge, p, screen, Settings.Pos)) {
      return false;
    }
  }
  return Settings.Exp.Button == 0 || ButtonHeld(System().windows, Settings.Exp.BtnLR);
}

const platform::Rect& TForm1::ExplorerArea() const {
  return Settings.Exp.AllMonitors != 0 && Engine.ShownArea.Width() > 0 ? Engine.ShownArea
                                                                        : Engine.WorkArea;
}

void TForm1::ComeOut(platform::Point pointer) {
  const ScreenSize screen = PrimaryScreenSize(System().windows);
  for (int edge = EdgeLeft; edge <= EdgeBottom; ++edge) {
    if (!EdgeFires(edge, pointer, screen.Width, screen.Height)) continue;
    if (Engine.PendingEdge != edge) {
      Engine.PendingEdge = edge;
      Engine.PendingCount = Settings.Exp.Button != 0 ? 1 : Settings.Pos.Sense;
    }
    if (--Engine.PendingCount > 0) continue;
    const platform::Monitor* monitor = ComingOutMonitor(pointer);
    // The count stays run out: the window comes as soon as the full-screen work or the quiet
    // program leaves the front, or the pause ends.
    if (!Gate.MayFire(monitor)) continue;
    if (Settings.Exp.AllMonitors != 0 && monitor != nullptr) {
      Engine.ShownMonitor = monitor->rect;
      Engine.ShownArea = monitor->workArea;
    }
    ClearToolStyle();
    SlideOut(edge);
  }
  if (AwayFromEdges(pointer, screen)) {
    Engine.PendingEdge = EdgeNone;
    Engine.PendingCount = Settings.Pos.Sense;
  }
}

void TForm1::GoBack(platform::Point p) {
  if (Settings.Exp.Fix != 0) return;
  platform::WindowManager& windows = System().windows;
  if (KeyShown.Active()) {
    if (KeyShown.UserTurnedAway(windows, Engine.ExplorerWnd,
                                System().kernel.GetCurrentProcessId())) {
      ParkShownExplorer();
    }
    return;
  }
  const platform::Rect r = windows.GetWindowRect(Engine.ExplorerWnd);
  // The invisible resize borders of Windows 10 and 11 catch the pointer as the window does;
  // the size the user sees is the one kept.
  const FrameInsets insets = InsetsOf(windows, Engine.ExplorerWnd);
  const int offset = Settings.Pos.Offset;
  bool left = false;
  switch (Engine.ShownEdge) {
    case EdgeLeft: left = p.X > r.Right + offset; break;
    // Left of where the window begins when its frame is flush with the work area's right.
    case EdgeRight:
      left = p.X < ExplorerArea().Right + insets.Right - r.Width() - offset;
      break;
    case EdgeTop: left = p.Y > r.Bottom + offset; break;
    case EdgeBottom: left = p.Y < r.Top - offset; break;
    default: break;
  }
  if (!left) return;
  // A menu or dialog of the Explorer under the pointer keeps it out.
  if (windows.GetParent(windows.WindowFromPoint(p)) == Engine.ExplorerWnd) return;

  ParkShownExplorer();
}

// The size the user gave the window while it was out is the size it comes out with next.
void TForm1::ParkShownExplorer() {
  platform::WindowManager& windows = System().windows;
  if (windows.IsWindow(Engine.ExplorerWnd)) {
    const platform::Rect r = windows.GetWindowRect(Engine.ExplorerWnd);
    const FrameInsets insets = InsetsOf(windows, Engine.ExplorerWnd);
    if (Engine.ShownEdge == EdgeLeft || Engine.ShownEdge == EdgeRight) {
      Settings.Exp.Width = r.Width() - insets.Left - insets.Right;
    } else {
      Settings.Exp.Height = r.Height() - insets.Top - insets.Bottom;
    }
  }
  ParkExplorer();
  Engine.ShownEdge = EdgeNone;
}

}  // namespace varnel
