#pragma once
// The window manager of the real platform: each interface call is the Win32 call of the same
// name, wide strings at the edge. Its counterpart on the simulated desktop is SimDesktop.

#include "platform/win32/WindowsApi.h"

#include <optional>
#include <vector>

#include "platform/Platform.h"

namespace varnel::win32 {

class Win32WindowManager final : public platform::WindowManager {
 public:
  int GetSystemMetrics(int index) const override;
  platform::Rect GetWorkArea() const override;
  unsigned GetDpiForSystem() const override;
  std::vector<platform::Monitor> GetMonitors() const override;
  bool IsWindow(platform::Hwnd window) const override;
  std::intptr_t SendMessage(platform::Hwnd window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
  bool SendMessageTimeout(platform::Hwnd window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam, unsigned flags, unsigned timeoutMs,
                          std::intptr_t* result) override;
  std::int32_t GetWindowLong(platform::Hwnd window, int index) const override;
  std::int32_t SetWindowLong(platform::Hwnd window, int index, std::int32_t value) override;
  platform::Rect GetWindowRect(platform::Hwnd window) const override;
  bool DwmGetWindowAttribute(platform::Hwnd window, unsigned attribute,
                             platform::Rect* value) const override;
  std::string GetClassName(platform::Hwnd window) const override;
  std::string GetWindowText(platform::Hwnd window) const override;
  bool IsWindowVisible(platform::Hwnd window) const override;
  int GetWindowTextLength(platform::Hwnd window) const override;

  bool MoveWindow(platform::Hwnd window, int x, int y, int width, int height,
                  bool repaint) override;
  bool ShowWindow(platform::Hwnd window, int command) override;
  bool SetWindowPos(platform::Hwnd window, platform::Hwnd insertAfter, int x, int y, int width,
                    int height, unsigned flags) override;
  bool UpdateWindow(platform::Hwnd window) override;
  bool IsIconic(platform::Hwnd window) const override;
  bool IsZoomed(platform::Hwnd window) const override;

  platform::Hwnd GetDesktopWindow() const override;
  std::vector<platform::Hwnd> EnumWindows() const override;
  platform::Hwnd GetParent(platform::Hwnd window) const override;
  platform::Hwnd GetWindow(platform::Hwnd window, unsigned relation) const override;
  platform::Hwnd GetLastActivePopup(platform::Hwnd window) const override;
  std::uint32_t GetWindowThreadProcessId(platform::Hwnd window,
                                         std::uint32_t* processId) const override;
  platform::Hwnd WindowFromPoint(platform::Point point) const override;

  platform::Point GetCursorPos() const override;
  std::int16_t GetAsyncKeyState(int virtualKey) const override;
  bool IsScreenSaverRunning() const override;

  bool SetForegroundWindow(platform::Hwnd window) override;
  platform::Hwnd GetForegroundWindow() const override;
  platform::Hwnd SetActiveWindow(platform::Hwnd window) override;
  bool ShowOwnedPopups(platform::Hwnd owner, bool show) override;
  bool RegisterHotKey(platform::Hwnd window, int id, unsigned modifiers,
                      unsigned virtualKey) override;
  bool UnregisterHotKey(platform::Hwnd window, int id) override;

 private:
  // The last position GetCursorPos could read; see GetCursorPos.
  mutable std::optional<platform::Point> lastCursor_;
};

}  // namespace varnel::win32
