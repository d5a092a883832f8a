// The Launch menu pops by itself at an enabled Launch edge and goes away by itself when the
// pointer stays away from it.

#include "app/Unit1.h"
#include "base/Desktop.h"
#include "base/ScopeExit.h"
#include "engine/EdgeZones.h"
#include "engine/Monitors.h"

namespace varnel {

bool TForm1::LaunchEdgeFires(int edge, platform::Point p, int width, int height) const {
  const int shown = Engine.ShownEdge;
  // The managed window has priority: where it is out, or on an edge of its own, no menu pops.
  const bool notBlocked = Settings.Popup.All == 1 || shown == EdgeNone ||
                          (Settings.Exp.Fix != 0 && shown != edge);
  if (!notBlocked || EdgeSwitch(Settings.Exp, edge) != 0 || EdgeSwitch(Settings.Launch, edge) == 0 ||
      Engine.LaunchShownEdge == edge) {
    return false;
  }
  if (Settings.Exp.AllMonitors != 0) {
    if (!OnOuterEdgeClearOfCorners(edge, p)) return false;
  } else {
    const ScreenSize screen{width, height};
    if (!InLaunchZone(edge, p, screen, Settings.Pos) ||
        !ClearOfCorners(edge, p, screen, Settings.Pos)) {
      return false;
    }
  }
  return Settings.Launch.Button == 0 || ButtonHeld(System().windows, Settings.Launch.BtnLR);
}

void TForm1::LaunchTrigger(platform::Point pointer) {
  platform::WindowManager& windows = System().windows;
  const ScreenSize screen = PrimaryScreenSize(windows);
  const platform::Hwnd owner = Application().Handle();

  // While any menu of the program is open nothing pops, and nothing is activated under it:
  // a step toward the owner window would close the menu the user is reading.
  const bool menuOpen = Application().ShownMenu() != nullptr;
  for (int edge = EdgeLeft; edge <= EdgeBottom && !menuOpen; ++edge) {
    if (!LaunchEdgeFires(edge, pointer, screen.Width, screen.Height)) continue;
    // Asked at the edge only, before anything is activated: taking the focus from a
    // full-screen game would minimise it. Paused, or under a quiet program, nothing pops. The menu pops at the pointer, so on its monitor,
    // which with the zone beyond the primary screen's side may be the neighbouring one.
    if (!Gate.MayFire(MonitorAt(Engine.Monitors, pointer))) continue;
    if (Engine.LaunchPendingEdge != edge) {
      Engine.LaunchPendingEdge = edge;
      Engine.LaunchPendingCount = Settings.Launch.Button != 0 ? 2 : Settings.Pos.Sense;
      if (windows.IsWindow(owner)) {
        windows.SetActiveWindow(owner);
        windows.ShowOwnedPopups(Handle(), false);
      }
    }
    if (--Engine.LaunchPendingCount > 0) continue;
    Engine.LaunchShownEdge = edge;
    Engine.LaunchIdleCount = Settings.Launch.Idle;
    {
      const auto popped = RaiseForScope(launchMenuPopped_);
      PopupMenuLaunch->Popup(pointer.X, pointer.Y);
    }
    Engine.LaunchPendingEdge = EdgeNone;
  }

  if (AwayFromEdges(pointer, screen)) {
    Engine.LaunchPendingEdge = EdgeNone;
    Engine.LaunchPendingCount = Settings.Pos.Sense;
  }

  // Asked only while there is a menu to forget: an idle tick has no question for the system.
  if (Engine.LaunchShownEdge != EdgeNone && !windows.IsWindowVisible(owner)) {
    Engine.LaunchShownEdge = EdgeNone;
    Engine.LaunchIdleCount = 0;
  }
  if (Engine.LaunchShownEdge == EdgeNone || PointerOverMenu(pointer)) return;
  if (--Engine.LaunchIdleCount <= 0) DismissLaunchMenu();
}

bool TForm1::PointerOverMenu(platform::Point pointer) const {
  // Over the menu means over one of its own windows, the menu or an open submenu: a window of
  // the system's menu class that belongs to this process.
  const platform::WindowManager& windows = System().windows;
  const platform::Hwnd under = windows.WindowFromPoint(pointer);
  if (under == platform::kNoWindow || windows.GetClassName(under) != Ui().MenuWindowClass()) {
    return false;
  }
  std::uint32_t process = 0;
  windows.GetWindowThreadProcessId(under, &process);
  return process == System().kernel.GetCurrentProcessId();
}

void TForm1::DismissLaunchMenu() {
  // Only the menu this trigger popped is closed. Once it has closed by itself, a menu open now
  // is one the user opened since (the tray's), and not ours to end.
  if (launchMenuPopped_) {
    platform::WindowManager& windows = System().windows;
    windows.SetActiveWindow(Application().Handle());
    windows.ShowOwnedPopups(Handle(), false);
    // Activating the owner does not end the system's menu loop everywhere; this does.
    Ui().EndMenu();
  }
  Engine.LaunchShownEdge = EdgeNone;
  Engine.LaunchIdleCount = 0;
}

}  // namespace varnel
