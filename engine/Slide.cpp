// Moving the managed Explorer window: sliding it out from an edge, parking it off-screen.

#include <algorithm>

#include "app/Unit1.h"
#include "engine/Monitors.h"
#include "base/Desktop.h"
#include "engine/Geometry.h"

namespace varnel {

// `placement` is where the frame the user sees goes. On Windows 10 and 11 the window's
// rectangle holds invisible resize borders around that frame; placed by the rectangle, a
// window at the work area's left would show a gap there and look narrower than asked. They
// are read at every placement: a window moved onto a monitor of another DPI has other borders.
void TForm1::Place(const TSlideRect& placement) {
  platform::WindowManager& windows = System().windows;
  const TSlideRect rect = AroundFrame(placement, InsetsOf(windows, Engine.ExplorerWnd));
  windows.MoveWindow(Engine.ExplorerWnd, rect.Left, rect.Top, rect.Width, rect.Height, true);
}

void TForm1::SlideOut(int edge) {
  platform::WindowManager& windows = System().windows;
  // Read afresh at every frame: the ticks that run between the frames refresh it.
  const platform::Rect& area = ExplorerArea();
  TSlideRect& slide = Engine.SlideRect;
  const int extent = edge == EdgeLeft || edge == EdgeRight ? Settings.Exp.Width
                                                           : Settings.Exp.Height;
  // A frame count below one, typed into the file, would divide by zero: one frame it is.
  const int frames = std::max(Settings.Pos.Speed, 1);

  slide = SlideSliver(edge, area, Settings.Exp);
  Place(slide);
  windows.ShowWindow(Engine.ExplorerWnd, platform::SwRestore);
  SetTopmost(windows, Engine.ExplorerWnd, true);
  Engine.ShownEdge = edge;
  Engine.LastEdge = edge;

  for (int i = 0; i < frames; ++i) {
    slide = SlidePlacement(edge, area, Settings.Exp, FrameExtent(edge, extent, frames, i));
    Place(slide);
    windows.UpdateWindow(Engine.ExplorerWnd);
    LetMessagesRun();
  }

  slide = SlidePlacement(edge, area, Settings.Exp, extent);
  Place(slide);
  if (edge == EdgeLeft) LetMessagesRun();
  windows.UpdateWindow(Engine.ExplorerWnd);

  Engine.TickBusy = false;
  Engine.PendingEdge = EdgeNone;
  if (Settings.Exp.Fix != 0) SetTopmost(windows, Engine.ExplorerWnd, false);
}

void TForm1::ParkExplorer() {
  platform::WindowManager& windows = System().windows;
  // However it is parked, a window brought out from the keyboard is back with the edges.
  KeyShown.Ended();
  windows.ShowWindow(Engine.ExplorerWnd, platform::SwHide);
  windows.SetWindowLong(Engine.ExplorerWnd, platform::GwlExStyle,
                        static_cast<std::int32_t>(platform::WsExToolWindow));
  // Out of sight whatever its borders: the rectangle itself goes there, as RefreshPark expects.
  const TSlideRect parked = ParkingSpot(Engine.Monitors, PrimaryScreenSize(windows));
  windows.MoveWindow(Engine.ExplorerWnd, parked.Left, parked.Top, parked.Width, parked.Height,
                     true);
  windows.ShowWindow(Engine.ExplorerWnd, platform::SwShowNormal);
  LetMessagesRun();
  RememberParkedStyle();
}

// What the system makes of "exactly the tool style" (it adds the topmost bit of a topmost
// window and the raised edge of a framed one) is what later ticks compare with.
void TForm1::RememberParkedStyle() {
  parkedExStyle_ = static_cast<std::uint32_t>(
      System().windows.GetWindowLong(Engine.ExplorerWnd, platform::GwlExStyle));
}

// Called every tick while the window is parked. Hiding, restyling and showing the window make
// the Explorer and the window manager redo their work; a tick that finds the window as it
// should be only reads, and one that finds it drifted (restyled or shown otherwise by the
// Explorer or the user) puts it right at once.
void TForm1::RefreshPark() {
  platform::WindowManager& windows = System().windows;
  const platform::Hwnd window = Engine.ExplorerWnd;
  if (!windows.IsWindow(window)) return;
  const platform::Rect rect = windows.GetWindowRect(window);
  const TSlideRect parked = ParkingSpot(Engine.Monitors, PrimaryScreenSize(windows));
  if (rect.Left != parked.Left || rect.Top != parked.Top) {
    // Moved away (or the screen has a new size): the whole park, the move included.
    ParkExplorer();
    return;
  }
  const bool styled = static_cast<std::uint32_t>(windows.GetWindowLong(
                          window, platform::GwlExStyle)) == parkedExStyle_;
  const bool shownNormally =
      windows.IsWindowVisible(window) && !windows.IsIconic(window) && !windows.IsZoomed(window);
  if (styled && shownNormally) return;
  windows.ShowWindow(window, platform::SwHide);
  windows.SetWindowLong(window, platform::GwlExStyle,
                        static_cast<std::int32_t>(platform::WsExToolWindow));
  windows.ShowWindow(window, platform::SwShowNormal);
  LetMessagesRun();
  RememberParkedStyle();
}

void TForm1::ClearToolStyle() {
  platform::WindowManager& windows = System().windows;
  const auto style =
      static_cast<std::uint32_t>(windows.GetWindowLong(Engine.ExplorerWnd, platform::GwlExStyle));
  // Off already (a pinned window parked, a second edge in the same tick): nothing to redo.
  if ((style & platform::WsExToolWindow) == 0) return;
  windows.SetWindowLong(Engine.ExplorerWnd, platform::GwlExStyle,
                        static_cast<std::int32_t>(style & ~platform::WsExToolWindow));
  windows.SetWindowPos(Engine.ExplorerWnd, platform::HwndNoTopmost, 0, 0, 0, 0,
                       platform::SwpNoSize | platform::SwpNoMove | platform::SwpNoZOrder |
                           platform::SwpFrameChanged);
  LetMessagesRun();
}

// Also called when only a work area changed: a taskbar moved, resized or set to hide itself.
void TForm1::DisplayChanged() {
  platform::WindowManager& windows = System().windows;
  // The monitor the window is out on, as it was: the one it came out on with the edges of
  // every monitor, else the primary one.
  const bool onItsMonitor = Settings.Exp.AllMonitors != 0 && Engine.ShownArea.Width() > 0;
  platform::Rect outOn = Engine.ShownMonitor;
  if (!onItsMonitor) outOn = Engine.Monitors.empty() ? platform::Rect{} : Engine.Monitors[0].rect;
  Engine.Monitors = windows.GetMonitors();
  Engine.WorkArea = windows.GetWorkArea();
  if (!windows.IsWindow(Engine.ExplorerWnd)) return;
  if (Engine.ShownEdge != EdgeNone) {
    const auto still = std::find_if(Engine.Monitors.begin(), Engine.Monitors.end(),
                                    [&](const platform::Monitor& m) { return m.rect == outOn; });
    if (still == Engine.Monitors.end()) {
      // Its monitor is gone, or is another size now: the place it was given means nothing.
      ParkExplorer();
      Engine.ShownEdge = EdgeNone;
    } else if (onItsMonitor) {
      Engine.ShownArea = still->workArea;
    }
    return;
  }
  // A monitor may now lie where the window was parked.
  if (Settings.Exp.Fix == 0) ParkExplorer();
}

}  // namespace varnel
