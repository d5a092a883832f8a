// The Launch menu pops by itself at an enabled Launch edge and goes away by itself when the
// pointer stays away from it.

#include "app/Unit1.h"
#include "base/ScopeExit.h"

namespace varnel {

bool TForm1::LaunchEdgeFires(int edge, platform::Point p, int width, int height) const {
  const int shown = Engine.ShownEdge;
  // The managed window has priority: where it is out, or on an edge of its own, no menu pops.
  const bool notBlocked = Settings.Popup.All == 1 || shown == EdgeNone ||
                          (Settings.Exp.Fix != 0 && shown != edge);
  const Settings::PosSection& pos = Settings.Pos;
  const bool corners = pos.INHConner != 0;
  bool explorerEdge = false;
  bool launchEdge = false;
  bool inZone = false;
  bool clearOfCorners = true;
  switch (edge) {
    case EdgeLeft:
      explorerEdge = Settings.Exp.Left != 0;
      launchEdge = Settings.Launch.Left != 0;
      inZone = -pos.INHdotX <= p.X && p.X <= 0;
      clearOfCorners = !corners || (pos.INHdotY < p.Y && p.Y < height - pos.INHdotY);
      break;
    case EdgeRight:
      explorerEdge = Settings.Exp.Right != 0;
      launchEdge = Settings.Launch.Right != 0;
      inZone = width - 1 <= p.X && p.X < width + pos.INHdotX;
      clearOfCorners = !corners || (pos.INHdotY < p.Y && p.Y < height - pos.INHdotY);
      break;
    case EdgeTop:
      explorerEdge = Settings.Exp.Upper != 0;
      launchEdge = Settings.Launch.Upper != 0;
      inZone = -pos.INHdotY < p.Y && p.Y <= 0;
      clearOfCorners = !corners || (pos.INHdotX < p.X && p.X < width - pos.INHdotX);
      break;
    case EdgeBottom:
      explorerEdge = Settings.Exp.Lower != 0;
      launchEdge = Settings.Launch.Lower != 0;
      inZone = height - 1 <= p.Y && p.Y < height + pos.INHdotY;
      clearOfCorners = !corners || (pos.INHdotX < p.X && p.X < width - pos.INHdotX);
      break;
    default:
      return false;
  }
  if (!notBlocked || explorerEdge || !inZone || !launchEdge || Engine.LaunchShownEdge == edge ||
      !clearOfCorners) {
    return false;
  }
  if (Settings.Launch.Button == 0) return true;
  const int button = Settings.Launch.BtnLR == 0   ? platform::VkLButton
                     : Settings.Launch.BtnLR == 1 ? platform::VkRButton
                                                  : 0;
  return button != 0 && (System().windows.GetAsyncKeyState(button) & 0x8000) != 0;
}

void TForm1::LaunchTrigger(platform::Point pointer) {
  platform::WindowManager& windows = System().windows;
  const int width = windows.GetSystemMetrics(platform::SmCxScreen);
  const int height = windows.GetSystemMetrics(platform::SmCyScreen);
  const platform::Hwnd owner = Application().Handle();

  // While any menu of the program is open nothing pops, and nothing is activated under it:
  // a step toward the owner window would close the menu the user is reading.
  const bool menuOpen = Application().ShownMenu() != nullptr;
  for (int edge = EdgeLeft; edge <= EdgeBottom && !menuOpen; ++edge) {
    if (!LaunchEdgeFires(edge, pointer, width, height)) continue;
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

  const bool inside =
      0 < pointer.X && pointer.X < width - 1 && 0 < pointer.Y && pointer.Y < height - 1;
  if (inside) {
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
