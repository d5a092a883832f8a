#include "engine/Geometry.h"

#include <algorithm>
#include <cstdint>

namespace varnel {

void ClampExplorerGeometry(Settings::ExpSection& exp, const platform::Rect& workArea) {
  const std::int32_t width = std::max(workArea.Width(), 0);
  const std::int32_t height = std::max(workArea.Height(), 0);
  // A size of 0 or 1 keeps its meaning (nothing is written at exit); only the extremes move.
  exp.Width = std::clamp(exp.Width, 0, width);
  exp.Height = std::clamp(exp.Height, 0, height);
  // Negative insets are allowed (the window then reaches past the work area), but no further
  // than the work area is long.
  exp.VT_ADJ = std::clamp(exp.VT_ADJ, -height, height);
  exp.VB_ADJ = std::clamp(exp.VB_ADJ, -height, height);
  exp.HL_ADJ = std::clamp(exp.HL_ADJ, -width, width);
  exp.HR_ADJ = std::clamp(exp.HR_ADJ, -width, width);
}

namespace {

bool Sideways(int edge) { return edge == EdgeLeft || edge == EdgeRight; }

}  // namespace

TSlideRect SlidePlacement(int edge, const platform::Rect& area,
                          const Settings::ExpSection& exp, int extent) {
  TSlideRect slide;
  // The side that does not move while the window slides.
  if (Sideways(edge)) {
    slide.Top = area.Top + exp.VT_ADJ + 1;
    slide.Height = area.Bottom - area.Top - 2 - (exp.VT_ADJ + exp.VB_ADJ);
  } else {
    slide.Left = area.Left + exp.HL_ADJ + 1;
    slide.Width = area.Right - area.Left - 2 - (exp.HL_ADJ + exp.HR_ADJ);
  }
  switch (edge) {
    case EdgeLeft:
      slide.Left = area.Left;
      slide.Width = extent;
      break;
    case EdgeRight:
      slide.Left = area.Right - extent;
      slide.Width = extent;
      break;
    case EdgeTop:
      slide.Top = area.Top;
      slide.Height = extent;
      break;
    default:
      slide.Top = area.Bottom - extent;
      slide.Height = extent;
      break;
  }
  return slide;
}

TSlideRect SlideSliver(int edge, const platform::Rect& area, const Settings::ExpSection& exp) {
  TSlideRect slide = SlidePlacement(edge, area, exp, 1);
  if (edge == EdgeRight) slide.Left = area.Right;
  if (edge == EdgeBottom) slide.Top = area.Bottom - exp.Height;
  return slide;
}

int FrameExtent(int edge, int extent, int frames, int frame) {
  const int shown = extent / frames * frame;
  return shown == 0 && edge != EdgeRight ? 1 : shown;
}

FrameInsets InsetsOf(const platform::Rect& window, const std::optional<platform::Rect>& frame) {
  if (!frame || frame->Left < window.Left || frame->Top < window.Top ||
      frame->Right > window.Right || frame->Bottom > window.Bottom ||
      frame->Left >= frame->Right || frame->Top >= frame->Bottom) {
    return {};
  }
  return {frame->Left - window.Left, frame->Top - window.Top, window.Right - frame->Right,
          window.Bottom - frame->Bottom};
}

FrameInsets InsetsOf(const platform::WindowManager& windows, platform::Hwnd window) {
  platform::Rect frame;
  if (!windows.DwmGetWindowAttribute(window, platform::DwmwaExtendedFrameBounds, &frame)) {
    return {};
  }
  return InsetsOf(windows.GetWindowRect(window), frame);
}

TSlideRect AroundFrame(const TSlideRect& frame, const FrameInsets& insets) {
  return {frame.Left - insets.Left, frame.Top - insets.Top,
          frame.Width + insets.Left + insets.Right, frame.Height + insets.Top + insets.Bottom};
}

TSlideRect ParkedPlacement(ScreenSize screen) { return {-screen.Width, -screen.Height, 0, 0}; }

std::optional<SlotLayout> LayoutBesideSlot(int edge, const platform::Rect& area,
                                           const Settings::ExpSection& exp) {
  if (edge < EdgeLeft || edge > EdgeBottom) return std::nullopt;
  // The band along the edge that both windows share, then the slot cut off its edge's end.
  TSlideRect band;
  if (Sideways(edge)) {
    band = {area.Left, area.Top + exp.VT_ADJ, area.Width(),
            area.Height() - (exp.VB_ADJ + exp.VT_ADJ)};
  } else {
    band = {area.Left + exp.HL_ADJ, area.Top, area.Width() - (exp.HL_ADJ + exp.HR_ADJ),
            area.Height()};
  }
  SlotLayout layout{band, band};
  switch (edge) {
    case EdgeLeft:
      layout.Slot.Width = exp.Width;
      layout.Rest.Left = band.Left + exp.Width;
      layout.Rest.Width = band.Width - exp.Width;
      break;
    case EdgeRight:
      layout.Slot.Left = area.Right - exp.Width;
      layout.Slot.Width = exp.Width;
      layout.Rest.Width = band.Width - exp.Width;
      break;
    case EdgeTop:
      layout.Slot.Height = exp.Height;
      layout.Rest.Top = band.Top + exp.Height;
      layout.Rest.Height = band.Height - exp.Height;
      break;
    default:
      layout.Slot.Top = area.Bottom - exp.Height;
      layout.Slot.Height = exp.Height;
      layout.Rest.Height = band.Height - exp.Height;
      break;
  }
  return layout;
}

}  // namespace varnel
