#include "platform/win32/Dpi.h"

namespace varnel::win32 {

namespace {

// Windows 10 (1607) calls; the program also runs where user32 lacks them, so they are looked
// up rather than imported.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

template <typename Function>
Function User32Function(const char* name) {
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(
                      reinterpret_cast<void*>(::GetProcAddress(user32, name)))
                : nullptr;
}

}  // namespace

UINT SystemDpi() {
  static const auto getDpiForSystem = User32Function<GetDpiForSystemFunction>("GetDpiForSystem");
  if (getDpiForSystem) {
    if (const UINT dpi = getDpiForSystem()) return dpi;
  }
  const HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

UINT MonitorDpi(HMONITOR monitor) {
  // Windows 8.1's shcore; loaded from the system folder only, and kept for the process's life.
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpiForMonitor = []() -> GetDpiForMonitorFunction {
    const HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore ? reinterpret_cast<GetDpiForMonitorFunction>(reinterpret_cast<void*>(
                        ::GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  UINT x = 0;
  UINT y = 0;
  if (getDpiForMonitor && monitor && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) &&
      y != 0) {
    return y;
  }
  return SystemDpi();
}

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return dpi;
  }
  return SystemDpi();
}

int ToDevice(int designPixels, UINT dpi) {
  return dpi == kDesignDpi ? designPixels
                           : ::MulDiv(designPixels, static_cast<int>(dpi), kDesignDpi);
}

int ToDesign(int devicePixels, UINT dpi) {
  return dpi == kDesignDpi || dpi == 0
             ? devicePixels
             : ::MulDiv(devicePixels, kDesignDpi, static_cast<int>(dpi));
}

RECT ToDevice(const platform::Rect& design, UINT dpi) {
  return {ToDevice(design.Left, dpi), ToDevice(design.Top, dpi), ToDevice(design.Right, dpi),
          ToDevice(design.Bottom, dpi)};
}

platform::Rect ToDesign(const RECT& device, UINT dpi) {
  return {ToDesign(device.left, dpi), ToDesign(device.top, dpi), ToDesign(device.right, dpi),
          ToDesign(device.bottom, dpi)};
}

RECT OuterForClient(SIZE client, DWORD style, DWORD exStyle, bool menu, UINT dpi) {
  static const auto adjustForDpi =
      User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  RECT outer{0, 0, client.cx, client.cy};
  // The frame of a window on a monitor of another scale is drawn at that scale; the plain
  // call knows the system DPI only.
  if (!adjustForDpi || !adjustForDpi(&outer, style, menu, exStyle, dpi)) {
    outer = {0, 0, client.cx, client.cy};
    ::AdjustWindowRectEx(&outer, style, menu, exStyle);
  }
  return outer;
}

}  // namespace varnel::win32
