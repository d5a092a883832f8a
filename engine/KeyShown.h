#pragma once
// The managed Explorer brought out from the keyboard. The user is on the keyboard, not the
// pointer: the window stays out wherever the pointer goes, until the same keystroke parks it
// or the user turns to a window of another program.

#include <cstdint>

#include "platform/Platform.h"
#include "settings/Settings.h"

namespace varnel {

class KeyShownExplorer {
 public:
  bool Active() const { return active_; }
  // Out from the keyboard now; `foreground` is the window in front once it came out.
  void Shown(platform::Hwnd foreground) {
    active_ = true;
    foregroundThen_ = foreground;
  }
  void Ended() { active_ = false; }

  // Whether the user has since turned to a window of a program other than the Explorer's and
  // this one's. A window in front that was already there as it came out (the system may have
  // refused it the foreground) does not count until another has been in front.
  bool UserTurnedAway(const platform::WindowManager& windows, platform::Hwnd explorer,
                      std::uint32_t ownProcess);

  // Where a window comes out from the keyboard: at the edge it came out at last, else at the
  // first enabled one of left, right, top, bottom, else at the left.
  static int EdgeFor(int lastEdge, const Settings::ExpSection& exp);

 private:
  bool active_ = false;
  platform::Hwnd foregroundThen_{};
};

}  // namespace varnel
