#pragma once
// Rules of a desktop of several monitors that need no form: where a monitor's edge can be
// pushed against, which monitor a point or a window is on, where a parked window is out of
// sight, and when full-screen work is under way.

#include <optional>
#include <string>
#include <vector>

#include "base/Desktop.h"
#include "engine/EngineState.h"
#include "platform/Platform.h"

namespace varnel {

using Monitors = std::vector<platform::Monitor>;

// The monitor that holds `point`, else the nearest one; null for a desktop of no monitors.
const platform::Monitor* MonitorAt(const Monitors& monitors, platform::Point point);
// The monitor that holds the largest part of `rect`, else the one nearest to its centre.
const platform::Monitor* MonitorOf(const Monitors& monitors, const platform::Rect& rect);

// Whether the pointer, on `monitor`'s outermost column or row at `edge`, pushes against the
// end of the desktop there: no neighbouring monitor continues beyond that edge at the
// pointer's place, so the pointer cannot pass through.
bool OuterEdgeAt(const Monitors& monitors, const platform::Monitor& monitor, int edge,
                 platform::Point pointer);

// Where a parked window is asked to go: as far beyond the primary screen's top-left corner as
// the screen is large, unless a monitor lies there (one left of or above the primary one);
// then as far beyond the top-left corner of the whole desktop, where no monitor can be.
TSlideRect ParkingSpot(const Monitors& monitors, ScreenSize primary);

// What the guard needs to know of the moment.
struct ForegroundState {
  platform::Hwnd window{};   // the foreground window; none while nothing has the focus
  std::string className;
  platform::Rect rect;
  std::uint32_t processId = 0;
  bool ours = false;         // a window of Varnel's own process
  bool desktop = false;      // the desktop window itself
  int notificationState = platform::QunsAcceptsNotifications;
};

// The monitor on which full-screen work is under way, if any: a Direct3D full-screen program
// or a presentation (as the shell reports them) on the foreground window's monitor, or a
// foreground window exactly as large as its monitor (a borderless game, a browser in F11, a
// video). The desktop, the shell's own windows and Varnel's never count; neither does a
// maximised window, whose frame overhangs its monitor; nor the shell's "busy" state alone,
// which overlays keep on over an empty desktop.
std::optional<platform::Rect> FullScreenMonitor(const Monitors& monitors,
                                                const ForegroundState& foreground);

}  // namespace varnel
