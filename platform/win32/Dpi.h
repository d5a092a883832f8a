#pragma once
// Scale. The framework lays its windows out in pixels of a 96-DPI screen ("design pixels");
// the peers turn them into the pixels of the monitor their top-level window is on, here.
// Top-level windows keep real screen pixels: their place is where the user put them.

#include "platform/Types.h"
#include "platform/win32/WindowsApi.h"

namespace varnel::win32 {

inline constexpr UINT kDesignDpi = 96;

// The DPI of the primary monitor: the one windows are scaled for unless a monitor of their
// own says otherwise.
UINT SystemDpi();
// The DPI of the monitor `window` (or its top-level window) is on; the system DPI where the
// system does not know per-monitor DPIs.
UINT WindowDpi(HWND window);

// The DPI of `monitor`; the system DPI where the system does not know per-monitor DPIs.
UINT MonitorDpi(HMONITOR monitor);

int ToDevice(int designPixels, UINT dpi);
int ToDesign(int devicePixels, UINT dpi);
// Each edge is scaled on its own, so that controls that touch in the design still touch and
// a rectangle scaled there and back is the one it was (at 96 DPI and above).
RECT ToDevice(const platform::Rect& design, UINT dpi);
platform::Rect ToDesign(const RECT& device, UINT dpi);

// The window rectangle (relative to the client area's corner) that gives a client area of
// `client` device pixels, with the frame the system draws at `dpi`.
RECT OuterForClient(SIZE client, DWORD style, DWORD exStyle, bool menu, UINT dpi);

}  // namespace varnel::win32
