#pragma once
// Rules of the managed window's geometry that need no form: plain functions of the settings
// and the work area.

#include <optional>

#include "base/Desktop.h"
#include "engine/EngineState.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

namespace varnel {

// Bounds the Explorer's size and the four insets, as typed into the settings file, by what the
// work area can hold: the slide's arithmetic (sums and differences of them with the work
// area) then stays far from the limits of an int, whatever the file says.
void ClampExplorerGeometry(Settings::ExpSection& exp, const platform::Rect& workArea);

// --- the slide ---------------------------------------------------------------------------

// Where the window stands `extent` dots out from `edge` (its width at the left and right, its
// height at the top and bottom): against the work area's side there, and across the work
// area's length less a dot at each end and the insets of the settings file (Exp.VT_ADJ and
// Exp.VB_ADJ at the left and right, Exp.HL_ADJ and Exp.HR_ADJ at the top and bottom). With the
// full extent, Exp.Width or Exp.Height, it is where the window rests while it is out.
TSlideRect SlidePlacement(int edge, const platform::Rect& workArea,
                          const Settings::ExpSection& exp, int extent);

// The first placement of a slide, one dot thick: at the right just beyond the work area, at the
// bottom where the window's full height will begin, elsewhere against the work area's side.
TSlideRect SlideSliver(int edge, const platform::Rect& workArea, const Settings::ExpSection& exp);

// The extent of frame `frame` (from 0) of `frames` (1 or more) toward `extent`: an even share a
// frame, truncated, so the last frame falls short of the full extent by up to a share. A frame
// of no extent shows one dot, except at the right edge.
int FrameExtent(int edge, int extent, int frames, int frame);

// Where a parked window is asked to go: as far beyond the primary screen's top-left corner as
// the screen is large, with no size.
TSlideRect ParkedPlacement(ScreenSize screen);

// --- the visible frame ---------------------------------------------------------------------
// How far a window's rectangle reaches beyond the frame the user sees, at each side: on
// Windows 10 and 11 the invisible resize borders of a framed window; elsewhere nothing.
struct FrameInsets {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// The insets between a window's rectangle and its visible frame. None when the frame is not
// known or does not lie within the rectangle, as a minimised window's does not.
FrameInsets InsetsOf(const platform::Rect& window, const std::optional<platform::Rect>& frame);

// The insets of `window` as the system reports them now.
FrameInsets InsetsOf(const platform::WindowManager& windows, platform::Hwnd window);

// The rectangle to ask for so that the visible frame comes out at `frame`.
TSlideRect AroundFrame(const TSlideRect& frame, const FrameInsets& insets);

// --- the dual layout -----------------------------------------------------------------------
// The managed window's slot at an edge and the rest of the work area beside it, for the
// supplementary window: the slot is Exp.Width wide at the left and right, Exp.Height high at
// the top and bottom; both are inset by the settings file's insets along the edge.
struct SlotLayout {
  TSlideRect Slot;
  TSlideRect Rest;
};

// Nothing for a number that is no edge: no slot has been used yet.
std::optional<SlotLayout> LayoutBesideSlot(int edge, const platform::Rect& workArea,
                                           const Settings::ExpSection& exp);

}  // namespace varnel
