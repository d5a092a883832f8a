#pragma once
// The state the edge engine, the Launch trigger and the folder watch share with the handlers:
// plain values, created with the main form.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace varnel {

// Edge numbers, for the managed window and the Launch menu alike.
enum Edge : int { EdgeNone = 0, EdgeLeft = 1, EdgeRight = 2, EdgeTop = 3, EdgeBottom = 4 };

// Left, top, width, height of a placement being applied.
struct TSlideRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

struct EngineState {
  platform::Hwnd ExplorerWnd{};  // the managed Explorer window
  platform::Rect WorkArea;       // the desktop less the taskbar
  // The monitors as the system last reported them: read at start and at each change.
  std::vector<platform::Monitor> Monitors;
  // With the edges of every monitor: the monitor the window came out on, and its work area.
  platform::Rect ShownMonitor;
  platform::Rect ShownArea;
  TSlideRect SlideRect;
  int ShownEdge = EdgeNone;      // where the managed window is out; none = parked
  int LastEdge = EdgeNone;       // where it came out last
  int PendingEdge = EdgeNone;
  int PendingCount = 0;
  bool TickBusy = false;
  std::string HiddenFolder;  // the last folder seen in the managed Explorer

  int LaunchPendingEdge = EdgeNone;
  int LaunchPendingCount = 0;
  int LaunchShownEdge = EdgeNone;
  int LaunchIdleCount = 0;

  int WatchTickCount = 0;
  int LaunchCooldown = 0;
  bool AppLaunchedRecently = false;
};

}  // namespace varnel
