#pragma once
// Rules of the managed window's geometry that need no form: plain functions of the settings
// and the work area.

#include "platform/Types.h"
#include "settings/Settings.h"

namespace varnel {

// Bounds the Explorer's size and the four insets, as typed into the settings file, by what the
// work area can hold: the slide's arithmetic (sums and differences of them with the work
// area) then stays far from the limits of an int, whatever the file says.
void ClampExplorerGeometry(Settings::ExpSection& exp, const platform::Rect& workArea);

}  // namespace varnel
