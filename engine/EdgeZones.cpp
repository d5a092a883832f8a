#include "engine/EdgeZones.h"

namespace varnel {

bool InExplorerZone(int edge, platform::Point p, ScreenSize screen) {
  switch (edge) {
    case EdgeLeft: return p.X == 0;
    case EdgeRight: return p.X >= screen.Width - 1;
    case EdgeTop: return p.Y == 0;
    case EdgeBottom: return p.Y >= screen.Height - 1;
    default: return false;
  }
}

bool InLaunchZone(int edge, platform::Point p, ScreenSize screen,
                  const Settings::PosSection& pos) {
  switch (edge) {
    case EdgeLeft: return -pos.INHdotX <= p.X && p.X <= 0;
    case EdgeRight: return screen.Width - 1 <= p.X && p.X < screen.Width + pos.INHdotX;
    case EdgeTop: return -pos.INHdotY < p.Y && p.Y <= 0;
    case EdgeBottom: return screen.Height - 1 <= p.Y && p.Y < screen.Height + pos.INHdotY;
    default: return false;
  }
}

bool ClearOfCorners(int edge, platform::Point p, ScreenSize screen,
                    const Settings::PosSection& pos) {
  if (pos.INHConner == 0) return true;
  switch (edge) {
    case EdgeLeft:
    case EdgeRight: return pos.INHdotY < p.Y && p.Y < screen.Height - pos.INHdotY;
    case EdgeTop:
    case EdgeBottom: return pos.INHdotX < p.X && p.X < screen.Width - pos.INHdotX;
    default: return true;
  }
}

bool StrictlyInside(platform::Point p, ScreenSize screen) {
  return 0 < p.X && p.X < screen.Width - 1 && 0 < p.Y && p.Y < screen.Height - 1;
}

bool ButtonHeld(const platform::WindowManager& windows, int btnLR) {
  const int button = btnLR == 0 ? platform::VkLButton : btnLR == 1 ? platform::VkRButton : 0;
  return button != 0 && (windows.GetAsyncKeyState(button) & 0x8000) != 0;
}

}  // namespace varnel
