#pragma once
// Small steps on the desktop that several parts of the program take the same way.

#include "platform/Platform.h"

namespace varnel {

struct ScreenSize {
  int Width = 0;
  int Height = 0;
};

// The primary screen's size (SM_CXSCREEN by SM_CYSCREEN): what the edge zones are measured on
// and what a window is parked beyond.
inline ScreenSize PrimaryScreenSize(const platform::WindowManager& windows) {
  return {windows.GetSystemMetrics(platform::SmCxScreen),
          windows.GetSystemMetrics(platform::SmCyScreen)};
}

// Puts `window` above every window that is not topmost, or back among them, leaving its place,
// its size and the active window as they are.
inline bool SetTopmost(platform::WindowManager& windows, platform::Hwnd window, bool topmost) {
  return windows.SetWindowPos(window, topmost ? platform::HwndTopmost : platform::HwndNoTopmost,
                              0, 0, 0, 0,
                              platform::SwpNoSize | platform::SwpNoMove | platform::SwpNoActivate);
}

}  // namespace varnel
