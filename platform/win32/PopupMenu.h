#pragma once
// Popup menus built from the platform's MenuEntry tree and shown modally.

#include "platform/win32/WindowsApi.h"

#include <vector>

#include "platform/Ui.h"

namespace varnel::win32 {

// Shows `items` at the screen point `at` for `owner` (a window of this thread) and returns the
// id of the chosen item, 0 when the menu was cancelled or could not be shown.
unsigned ShowPopupMenu(const std::vector<platform::MenuEntry>& items, POINT at, HWND owner);

}  // namespace varnel::win32
