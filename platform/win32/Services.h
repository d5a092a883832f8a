#pragma once
// The system services of the real platform: thin translations of each interface call into the
// Win32 call of the same name, wide strings at the edge.

#include "platform/win32/WindowsApi.h"

#include "platform/Platform.h"
#include "platform/win32/Resource.h"

namespace varnel::win32 {

class Win32WindowManager final : public platform::WindowManager {
 public:
  int GetSystemMetrics(int index) const override;
  platform::Rect GetWorkArea() const override;
  bool IsWindow(platform::Hwnd window) const override;
  std::intptr_t SendMessage(platform::Hwnd window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
  std::int32_t GetWindowLong(platform::Hwnd window, int index) const override;
  std::int32_t SetWindowLong(platform::Hwnd window, int index, std::int32_t value) override;
  platform::Rect GetWindowRect(platform::Hwnd window) const override;
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
  platform::Hwnd SetActiveWindow(platform::Hwnd window) override;
  bool ShowOwnedPopups(platform::Hwnd owner, bool show) override;

 private:
  // The last position GetCursorPos could read; see GetCursorPos.
  mutable std::optional<platform::Point> lastCursor_;
};

class Win32FileSystem final : public platform::FileSystem {
 public:
  std::uint32_t GetFileAttributes(const std::string& path) const override;
  std::optional<std::uint64_t> GetFileSize(const std::string& path) const override;
  std::optional<std::string> ReadFile(const std::string& path) const override;
  bool ReplaceFile(const std::string& path, std::string_view contents) override;
  std::vector<platform::FindData> FindFiles(const std::string& pattern) const override;
  std::optional<std::string> FolderIdentity(const std::string& path) const override;
};

class Win32Codepage final : public platform::Codepage {
 public:
  std::string AnsiToUtf8(std::string_view ansi) const override;
  std::optional<std::string> Utf8ToAnsi(std::string_view utf8) const override;
};

class Win32Kernel final : public platform::Kernel {
 public:
  std::string GetModuleFileName() const override;
  std::uint32_t GetTickCount() const override;
  void Sleep(unsigned milliseconds) override;
  std::string GetWindowsDirectory() const override;
  std::optional<std::vector<platform::ProcessEntry>> CreateProcessSnapshot() const override;
  std::uint32_t GetCurrentProcessId() const override;
  LocalTime GetLocalTime() const override;
  std::string GetDayName(int dayOfWeek) const override;
  unsigned GetDoubleClickTime() const override;
  int CompareText(const std::string& a, const std::string& b) const override;
};

// The shell application object, through its IShellDispatch interface (held as IDispatch so
// that nothing here depends on the shell's automation headers).
class Win32ShellDispatch final : public platform::ShellDispatch {
 public:
  explicit Win32ShellDispatch(unique_com<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}
  IDispatch* Get() const { return dispatch_.get(); }

 private:
  unique_com<IDispatch> dispatch_;
};

class Win32Shell final : public platform::Shell {
 public:
  std::unique_ptr<platform::ShellDispatch> CreateShellApplication() override;
  std::intptr_t ShellExecute(platform::Hwnd owner, const std::string& verb, const std::string& file,
                             const std::string& parameters, const std::string& directory,
                             int showCommand) override;
  platform::ImageRef GetFileIcon(const std::string& path) override;
  bool ShellNotifyIcon(unsigned action, const platform::NotifyIconData& data) override;
};

}  // namespace varnel::win32
