// The 100 ms tick: watches the pointer, brings the managed Explorer out at an enabled edge
// and parks it again when the pointer has moved away, and keeps the Explorer alive.

#include <cstdio>

#include "app/Unit1.h"
#include "base/Desktop.h"
#include "base/ScopeExit.h"
#include "engine/EdgeZones.h"

namespace varnel {

namespace {

// How long the watched folder's application start keeps the folder step from starting another.
constexpr unsigned kLaunchCooldownMs = 30000;
// The watched-folder step runs every this many ticks.
constexpr int kWatchEveryTicks = 50;

}  // namespace

void TForm1::Timer1Timer(TComponent& /*sender*/) {
  if (SettingsOpen) return;

  const int cooldownLimit = static_cast<int>(kLaunchCooldownMs / Timer1->Interval());
  if (++Engine.LaunchCooldown > cooldownLimit) {
    Engine.AppLaunchedRecently = false;
    Engine.LaunchCooldown = cooldownLimit;
  }
  platform::WindowManager& windows = System().windows;
  Engine.WorkArea = windows.GetWorkArea();
  TrayIcon1->SetTipHelp(ClockText());
  TrayIcon1->RetryAdd();
  if (ScreenSaverRuns()) return;

  if (Engine.TickBusy) return;
  const platform::Point pointer = windows.GetCursorPos();
  {
    // A flag left set would stop the engine for good: it is cleared however the work ends.
    const auto busy = RaiseForScope(Engine.TickBusy);
    if (Settings.Exp.Watch != 0 && windows.IsWindow(Engine.ExplorerWnd)) FollowExplorerFolder();
    const ScreenSize screen = PrimaryScreenSize(windows);
    if (TouchesEnabledEdge(pointer, screen.Width, screen.Height) &&
        !windows.IsWindow(Engine.ExplorerWnd)) {
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

// Corner dead zones and buttons do not matter here: any touch of an enabled edge restarts a
// lost Explorer.
bool TForm1::TouchesEnabledEdge(platform::Point p, int width, int height) const {
  for (int edge = EdgeLeft; edge <= EdgeBottom; ++edge) {
    if (EdgeSwitch(Settings.Exp, edge) != 0 && InExplorerZone(edge, p, {width, height})) {
      return true;
    }
  }
  return false;
}

bool TForm1::EdgeFires(int edge, platform::Point p, int width, int height) const {
  const ScreenSize screen{width, height};
  if (EdgeSwitch(Settings.Exp, edge) == 0 || !InExplorerZone(edge, p, screen) ||
      !ClearOfCorners(edge, p, screen, Settings.Pos)) {
    return false;
  }
  return Settings.Exp.Button == 0 || ButtonHeld(System().windows, Settings.Exp.BtnLR);
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
    ClearToolStyle();
    SlideOut(edge);
  }
  if (StrictlyInside(pointer, screen)) {
    Engine.PendingEdge = EdgeNone;
    Engine.PendingCount = Settings.Pos.Sense;
  }
}

void TForm1::GoBack(platform::Point p) {
  if (Settings.Exp.Fix != 0) return;
  platform::WindowManager& windows = System().windows;
  const platform::Rect r = windows.GetWindowRect(Engine.ExplorerWnd);
  const int offset = Settings.Pos.Offset;
  bool left = false;
  switch (Engine.ShownEdge) {
    case EdgeLeft: left = p.X > r.Right + offset; break;
    case EdgeRight: left = p.X < Engine.WorkArea.Right - r.Right + r.Left - offset; break;
    case EdgeTop: left = p.Y > r.Bottom + offset; break;
    case EdgeBottom: left = p.Y < r.Top - offset; break;
    default: break;
  }
  if (!left) return;
  // A menu or dialog of the Explorer under the pointer keeps it out.
  if (windows.GetParent(windows.WindowFromPoint(p)) == Engine.ExplorerWnd) return;

  if (windows.IsWindow(Engine.ExplorerWnd)) {
    if (Engine.ShownEdge == EdgeLeft || Engine.ShownEdge == EdgeRight) {
      Settings.Exp.Width = r.Width();
    } else {
      Settings.Exp.Height = r.Height();
    }
  }
  ParkExplorer();
  Engine.ShownEdge = EdgeNone;
}

}  // namespace varnel
