#pragma once
// Where the pointer pushes against a screen edge, for the managed window and for the Launch
// menu: plain functions of the pointer, the primary screen's size and the settings. Edges are
// numbered as everywhere (1 left, 2 right, 3 top, 4 bottom); any other number has no zone.

#include "base/Desktop.h"
#include "engine/EngineState.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

namespace varnel {

// The managed window's zone: the screen's outermost column or row of dots, and at the right
// and bottom anything beyond it too.
bool InExplorerZone(int edge, platform::Point pointer, ScreenSize screen);

// The Launch menu's zone reaches beyond the screen onto a neighbouring monitor, by Pos.INHdotX
// at the sides and by Pos.INHdotY at the top and bottom. Its far end is inclusive at the left
// only: -INHdotX <= x <= 0, but -INHdotY < y <= 0.
bool InLaunchZone(int edge, platform::Point pointer, ScreenSize screen,
                  const Settings::PosSection& pos);

// The corner dead zones, when Pos.INHConner is on: the left and right edges ignore the
// pointer within Pos.INHdotY dots of the top and bottom, the top and bottom edges within
// Pos.INHdotX dots of the sides.
bool ClearOfCorners(int edge, platform::Point pointer, ScreenSize screen,
                    const Settings::PosSection& pos);

// Off every edge of the screen: where a count begun at an edge starts over.
bool StrictlyInside(platform::Point pointer, ScreenSize screen);

// The button a trigger asks for is held: the left one for the choice 0, the right one for 1;
// any other choice is never held.
bool ButtonHeld(const platform::WindowManager& windows, int btnLR);

// The switch of `edge` among a section's Left, Right, Upper and Lower (Exp or Launch); 0 for a
// number that is no edge.
template <class Section>
int EdgeSwitch(const Section& section, int edge) {
  switch (edge) {
    case EdgeLeft: return section.Left;
    case EdgeRight: return section.Right;
    case EdgeTop: return section.Upper;
    case EdgeBottom: return section.Lower;
    default: return 0;
  }
}

}  // namespace varnel
