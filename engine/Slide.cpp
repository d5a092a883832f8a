// Moving the managed Explorer window: sliding it out from an edge, parking it off-screen.

#include <algorithm>

#include "app/Unit1.h"

namespace varnel {

void TForm1::Place(int left, int top, int width, int height) {
  System().windows.MoveWindow(Engine.ExplorerWnd, left, top, width, height, true);
}

void TForm1::SlideOut(int edge) {
  platform::WindowManager& windows = System().windows;
  const platform::Rect& area = Engine.WorkArea;
  TSlideRect& slide = Engine.SlideRect;
  const bool sideways = edge == EdgeLeft || edge == EdgeRight;

  // The side that does not move: the work area's height at the left and right, its width at
  // the top and bottom, less a dot at each end and the insets of the settings file.
  if (sideways) {
    slide.Top = area.Top + Settings.Exp.VT_ADJ + 1;
    slide.Height = area.Bottom - area.Top - 2 - (Settings.Exp.VT_ADJ + Settings.Exp.VB_ADJ);
  } else {
    slide.Left = area.Left + Settings.Exp.HL_ADJ + 1;
    slide.Width = area.Right - area.Left - 2 - (Settings.Exp.HL_ADJ + Settings.Exp.HR_ADJ);
  }
  const int extent = sideways ? Settings.Exp.Width : Settings.Exp.Height;
  // A frame count below one, typed into the file, would divide by zero: one frame it is.
  const int frames = std::max(Settings.Pos.Speed, 1);
  const int step = extent / frames;

  switch (edge) {
    case EdgeLeft: Place(area.Left, slide.Top, 1, slide.Height); break;
    case EdgeRight: Place(area.Right, slide.Top, 1, slide.Height); break;
    case EdgeTop: Place(slide.Left, area.Top, slide.Width, 1); break;
    default: Place(slide.Left, area.Bottom - Settings.Exp.Height, slide.Width, 1); break;
  }
  windows.ShowWindow(Engine.ExplorerWnd, platform::SwRestore);
  windows.SetWindowPos(Engine.ExplorerWnd, platform::HwndTopmost, 0, 0, 0, 0,
                       platform::SwpNoSize | platform::SwpNoMove | platform::SwpNoActivate);
  Engine.ShownEdge = edge;
  Engine.LastEdge = edge;

  for (int i = 0; i < frames; ++i) {
    int e = step * i;
    if (e == 0 && edge != EdgeRight) e = 1;
    switch (edge) {
      case EdgeLeft: Place(area.Left, slide.Top, e, slide.Height); break;
      case EdgeRight: Place(area.Right - e, slide.Top, e, slide.Height); break;
      case EdgeTop: Place(slide.Left, area.Top, slide.Width, e); break;
      default: Place(slide.Left, area.Bottom - e, slide.Width, e); break;
    }
    windows.UpdateWindow(Engine.ExplorerWnd);
    LetMessagesRun();
  }

  switch (edge) {
    case EdgeLeft:
      Place(area.Left, slide.Top, extent, slide.Height);
      LetMessagesRun();
      break;
    case EdgeRight: Place(area.Right - extent, slide.Top, extent, slide.Height); break;
    case EdgeTop: Place(slide.Left, area.Top, slide.Width, extent); break;
    default: Place(slide.Left, area.Bottom - extent, slide.Width, extent); break;
  }
  windows.UpdateWindow(Engine.ExplorerWnd);

  Engine.TickBusy = false;
  Engine.PendingEdge = EdgeNone;
  if (Settings.Exp.Fix != 0) {
    windows.SetWindowPos(Engine.ExplorerWnd, platform::HwndNoTopmost, 0, 0, 0, 0,
                         platform::SwpNoSize | platform::SwpNoMove | platform::SwpNoActivate);
  }
}

void TForm1::ParkExplorer() {
  platform::WindowManager& windows = System().windows;
  windows.ShowWindow(Engine.ExplorerWnd, platform::SwHide);
  windows.SetWindowLong(Engine.ExplorerWnd, platform::GwlExStyle,
                        static_cast<std::int32_t>(platform::WsExToolWindow));
  Place(-windows.GetSystemMetrics(platform::SmCxScreen),
        -windows.GetSystemMetrics(platform::SmCyScreen), 0, 0);
  windows.ShowWindow(Engine.ExplorerWnd, platform::SwShowNormal);
  LetMessagesRun();
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
  if (rect.Left != -windows.GetSystemMetrics(platform::SmCxScreen) ||
      rect.Top != -windows.GetSystemMetrics(platform::SmCyScreen)) {
    // Moved away (or the screen has a new size): the whole park, the move included.
    ParkExplorer();
    return;
  }
  const bool styled = static_cast<std::uint32_t>(windows.GetWindowLong(
                          window, platform::GwlExStyle)) == platform::WsExToolWindow;
  const bool shownNormally =
      windows.IsWindowVisible(window) && !windows.IsIconic(window) && !windows.IsZoomed(window);
  if (styled && shownNormally) return;
  windows.ShowWindow(window, platform::SwHide);
  windows.SetWindowLong(window, platform::GwlExStyle,
                        static_cast<std::int32_t>(platform::WsExToolWindow));
  windows.ShowWindow(window, platform::SwShowNormal);
  LetMessagesRun();
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

}  // namespace varnel
