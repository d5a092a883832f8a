#include "platform/win32/Win32Desktop.h"

#include <dwmapi.h>  // the attribute numbers only: the call is looked up

#include <algorithm>

#include "platform/win32/Dpi.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Text.h"

namespace varnel::win32 {

static_assert(platform::DwmwaExtendedFrameBounds == DWMWA_EXTENDED_FRAME_BOUNDS);

namespace {

platform::Rect FromRect(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void CloseDesktopHandle(HDESK desktop) { ::CloseDesktop(desktop); }
using unique_hdesk = UniqueAny<HDESK, CloseDesktopHandle>;

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<platform::Hwnd>*>(list)->push_back(FromHwnd(window));
  return TRUE;
}


}  // namespace

int Win32WindowManager::GetSystemMetrics(int index) const {
  if (index != SM_CXSCREEN && index != SM_CYSCREEN) return 0;
  return ::GetSystemMetrics(index);
}

platform::Rect Win32WindowManager::GetWorkArea() const {
  RECT rect{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0)) {
    rect = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return FromRect(rect);
}

unsigned Win32WindowManager::GetDpiForSystem() const { return SystemDpi(); }

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR handle, HDC, RECT*, LPARAM data) {
  auto& monitors = *reinterpret_cast<std::vector<platform::Monitor>*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(handle, &info)) return TRUE;
  const auto rect = [](const RECT& r) { return platform::Rect{r.left, r.top, r.right, r.bottom}; };
  monitors.push_back({rect(info.rcMonitor), rect(info.rcWork), MonitorDpi(handle),
                      (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

}  // namespace

std::vector<platform::Monitor> Win32WindowManager::GetMonitors() const {
  std::vector<platform::Monitor> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  std::stable_partition(monitors.begin(), monitors.end(),
                        [](const platform::Monitor& m) { return m.primary; });
  return monitors;
}

bool Win32WindowManager::IsWindow(platform::Hwnd window) const {
  return window != platform::kNoWindow && ::IsWindow(ToHwnd(window));
}

std::intptr_t Win32WindowManager::SendMessage(platform::Hwnd window, unsigned message,
                                              std::uintptr_t wParam, std::intptr_t lParam) {
  if (!IsWindow(window)) return 0;
  return ::SendMessageW(ToHwnd(window), message, wParam, lParam);
}

bool Win32WindowManager::SendMessageTimeout(platform::Hwnd window, unsigned message,
                                            std::uintptr_t wParam, std::intptr_t lParam,
                                            unsigned flags, unsigned timeoutMs,
                                            std::intptr_t* result) {
  if (result != nullptr) *result = 0;
  if (!IsWindow(window)) return false;
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutW(ToHwnd(window), message, wParam, lParam, flags, timeoutMs, &answer)) {
    return false;
  }
  if (result != nullptr) *result = static_cast<std::intptr_t>(answer);
  return true;
}

// The owner is a handle, which 64-bit Windows hands out only through GetWindowLongPtr; window
// handles keep 32 significant bits on every system, so the 32-bit value loses nothing.
std::int32_t Win32WindowManager::GetWindowLong(platform::Hwnd window, int index) const {
  if (!IsWindow(window)) return 0;
  if (index == GWLP_HWNDPARENT) {
    return static_cast<std::int32_t>(::GetWindowLongPtrW(ToHwnd(window), index));
  }
  return ::GetWindowLongW(ToHwnd(window), index);
}

std::int32_t Win32WindowManager::SetWindowLong(platform::Hwnd window, int index,
                                               std::int32_t value) {
  if (!IsWindow(window)) return 0;
  return ::SetWindowLongW(ToHwnd(window), index, value);
}

platform::Rect Win32WindowManager::GetWindowRect(platform::Hwnd window) const {
  RECT rect{};
  if (!IsWindow(window) || !::GetWindowRect(ToHwnd(window), &rect)) return {};
  return FromRect(rect);
}

// Why looked up and not imported: the program's imports stay the handful of system DLLs it
// has always needed, and a system whose dwmapi lacks the call (or has no dwmapi at all, as a
// stripped Wine prefix may) still starts; it then places windows by their rectangles. The DLL
// is loaded from the system folder only, so that no file beside the program can stand in for
// it, and kept for the process's life.
bool Win32WindowManager::DwmGetWindowAttribute(platform::Hwnd window, unsigned attribute,
                                               platform::Rect* value) const {
  using DwmGetWindowAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  static const auto dwmGetWindowAttribute = []() -> DwmGetWindowAttributeFunction {
    const HMODULE dwmapi = ::LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return dwmapi ? reinterpret_cast<DwmGetWindowAttributeFunction>(reinterpret_cast<void*>(
                        ::GetProcAddress(dwmapi, "DwmGetWindowAttribute")))
                  : nullptr;
  }();
  // Only the attributes that are rectangles may be asked through a RECT.
  if (!dwmGetWindowAttribute || attribute != platform::DwmwaExtendedFrameBounds ||
      !IsWindow(window)) {
    return false;
  }
  RECT rect{};
  if (FAILED(dwmGetWindowAttribute(ToHwnd(window), attribute, &rect, sizeof rect))) return false;
  *value = FromRect(rect);
  return true;
}

std::string Win32WindowManager::GetClassName(platform::Hwnd window) const {
  if (!IsWindow(window)) return {};
  wchar_t name[256];  // class names are at most 256 characters with the terminator
  const int length = ::GetClassNameW(ToHwnd(window), name, 256);
  return length > 0 ? Narrow({name, static_cast<size_t>(length)}) : std::string();
}

std::string Win32WindowManager::GetWindowText(platform::Hwnd window) const {
  if (!IsWindow(window)) return {};
  const int length = ::GetWindowTextLengthW(ToHwnd(window));
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(ToHwnd(window), text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return Narrow(text);
}

bool Win32WindowManager::IsWindowVisible(platform::Hwnd window) const {
  return IsWindow(window) && ::IsWindowVisible(ToHwnd(window));
}

// In UTF-16 units; callers only ask whether a window has a caption at all.
int Win32WindowManager::GetWindowTextLength(platform::Hwnd window) const {
  if (!IsWindow(window)) return 0;
  return ::GetWindowTextLengthW(ToHwnd(window));
}

bool Win32WindowManager::MoveWindow(platform::Hwnd window, int x, int y, int width, int height,
                                    bool repaint) {
  if (!IsWindow(window)) return false;
  return ::MoveWindow(ToHwnd(window), x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
}

bool Win32WindowManager::ShowWindow(platform::Hwnd window, int command) {
  if (!IsWindow(window)) return false;
  return ::ShowWindow(ToHwnd(window), command) != FALSE;
}

bool Win32WindowManager::SetWindowPos(platform::Hwnd window, platform::Hwnd insertAfter, int x,
                                      int y, int width, int height, unsigned flags) {
  if (!IsWindow(window)) return false;
  // HwndTopmost and HwndNoTopmost carry the system's -1 and -2 through the opaque handle.
  return ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, width, height, flags) != FALSE;
}

bool Win32WindowManager::UpdateWindow(platform::Hwnd window) {
  if (!IsWindow(window)) return false;
  return ::UpdateWindow(ToHwnd(window)) != FALSE;
}

bool Win32WindowManager::IsIconic(platform::Hwnd window) const {
  return IsWindow(window) && ::IsIconic(ToHwnd(window));
}

bool Win32WindowManager::IsZoomed(platform::Hwnd window) const {
  return IsWindow(window) && ::IsZoomed(ToHwnd(window));
}

platform::Hwnd Win32WindowManager::GetDesktopWindow() const {
  return FromHwnd(::GetDesktopWindow());
}

std::vector<platform::Hwnd> Win32WindowManager::EnumWindows() const {
  std::vector<platform::Hwnd> windows;
  windows.reserve(256);
  ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

platform::Hwnd Win32WindowManager::GetParent(platform::Hwnd window) const {
  if (!IsWindow(window)) return platform::kNoWindow;
  return FromHwnd(::GetParent(ToHwnd(window)));
}

platform::Hwnd Win32WindowManager::GetWindow(platform::Hwnd window, unsigned relation) const {
  if (!IsWindow(window)) return platform::kNoWindow;
  return FromHwnd(::GetWindow(ToHwnd(window), relation));
}

platform::Hwnd Win32WindowManager::GetLastActivePopup(platform::Hwnd window) const {
  if (!IsWindow(window)) return platform::kNoWindow;
  return FromHwnd(::GetLastActivePopup(ToHwnd(window)));
}

std::uint32_t Win32WindowManager::GetWindowThreadProcessId(platform::Hwnd window,
                                                           std::uint32_t* processId) const {
  DWORD process = 0;
  const DWORD thread = IsWindow(window) ? ::GetWindowThreadProcessId(ToHwnd(window), &process) : 0;
  if (processId) *processId = process;
  return thread;
}

platform::Hwnd Win32WindowManager::WindowFromPoint(platform::Point point) const {
  return FromHwnd(::WindowFromPoint(POINT{point.X, point.Y}));
}

// Why not (0, 0) on failure: GetCursorPos fails while another desktop takes the input (the
// lock screen, an elevation prompt), and (0, 0) is the top-left corner, where the edges fire.
// Until the pointer can be read again the program sees it where it was last, or at the
// screen's centre before the first reading.
platform::Point Win32WindowManager::GetCursorPos() const {
  POINT point{};
  if (::GetCursorPos(&point)) {
    lastCursor_ = platform::Point{point.x, point.y};
  } else if (!lastCursor_) {
    return {::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2};
  }
  return *lastCursor_;
}

std::int16_t Win32WindowManager::GetAsyncKeyState(int virtualKey) const {
  return ::GetAsyncKeyState(virtualKey);
}

// Windows NT runs a screen saver on a desktop of its own named "Screen-saver"; only while it
// exists can it be opened. Every system the program runs on is of the NT line.
bool Win32WindowManager::IsScreenSaverRunning() const {
  const unique_hdesk desktop(
      ::OpenDesktopW(L"Screen-saver", 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_WRITEOBJECTS));
  return static_cast<bool>(desktop);
}

// --- Activation ----------------------------------------------------------------------------

bool Win32WindowManager::SetForegroundWindow(platform::Hwnd window) {
  if (!IsWindow(window)) return false;
  return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

platform::Hwnd Win32WindowManager::GetForegroundWindow() const {
  return FromHwnd(::GetForegroundWindow());
}

platform::Hwnd Win32WindowManager::SetActiveWindow(platform::Hwnd window) {
  if (!IsWindow(window)) return platform::kNoWindow;
  return FromHwnd(::SetActiveWindow(ToHwnd(window)));
}

bool Win32WindowManager::ShowOwnedPopups(platform::Hwnd owner, bool show) {
  if (!IsWindow(owner)) return false;
  return ::ShowOwnedPopups(ToHwnd(owner), show ? TRUE : FALSE) != FALSE;
}

bool Win32WindowManager::RegisterHotKey(platform::Hwnd window, int id, unsigned modifiers,
                                        unsigned virtualKey) {
  return ::RegisterHotKey(ToHwnd(window), id, modifiers, virtualKey) != FALSE;
}

bool Win32WindowManager::UnregisterHotKey(platform::Hwnd window, int id) {
  return ::UnregisterHotKey(ToHwnd(window), id) != FALSE;
}

}  // namespace varnel::win32
