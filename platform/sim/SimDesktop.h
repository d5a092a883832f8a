#pragma once
// A desktop in memory: the windows of every process, the screen, the clock. Tests set a
// scenario up (AddWindow, SetScreen) and read what the program did (the windows' state and the
// log of calls that changed something).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Ui.h"

namespace varnel::sim {

using platform::Hwnd;
using platform::Rect;

inline constexpr std::uint32_t kOwnProcessId = 1;

struct SimWindow {
  Hwnd handle{};
  std::string className;
  std::string text;
  Hwnd owner{};
  Hwnd parent{};
  std::uint32_t processId = kOwnProcessId;
  std::string exeName;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  Rect rect;
  bool visible = false;
  bool minimized = false;
  bool maximized = false;
  bool topmost = false;
  // The smallest size the system grants the window (a caption needs room).
  int minWidth = 0;
  int minHeight = 0;
  // What GetLastActivePopup reports; none means the window itself.
  Hwnd lastActivePopup{};
  // Our own windows answer messages through the framework object behind them.
  platform::ControlSink* sink = nullptr;
  // The program behind the window has stopped taking messages: a send to it waits forever.
  bool hung = false;
};

// The clock that GetTickCount reads; it moves only when a test or a wait moves it.
class SimClock {
 public:
  std::uint32_t Now() const { return now_; }
  void Advance(std::uint32_t milliseconds) { now_ += milliseconds; }

 private:
  std::uint32_t now_ = 100000;
};

class SimDesktop : public platform::WindowManager {
 public:
  SimDesktop();

  // --- scenario set-up and inspection -------------------------------------------------
  void SetScreen(int width, int height, const Rect& workArea);
  void SetSystemDpi(unsigned dpi) { systemDpi_ = dpi; }
  // A desktop of several monitors, in any layout; the one marked primary gives the screen's
  // size and work area. Without it the desktop is the one screen of SetScreen.
  void SetMonitors(std::vector<platform::Monitor> monitors);
  Hwnd AddWindow(SimWindow window);
  void DestroyWindow(Hwnd window);
  SimWindow* Find(Hwnd window);
  const SimWindow* Find(Hwnd window) const;
  // Top-level windows, topmost of the z-order first.
  std::vector<Hwnd> TopLevelWindows() const;
  std::optional<Hwnd> FindTopLevel(const std::string& className) const;
  // The pointer, the buttons, the screen saver.
  void SetCursorPos(platform::Point point) { cursor_ = point; }
  void SetKeyHeld(int virtualKey, bool held);
  void SetScreenSaverRunning(bool running) { screenSaverRunning_ = running; }
  // The look of the system. On Windows 10 and 11 every window with a sizing frame holds
  // invisible resize borders of these thicknesses inside its rectangle; by default there are
  // none, as with the classic look.
  struct Borders {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
  };
  void SetInvisibleBorders(Borders borders) { invisibleBorders_ = borders; }

  // Processes: a process owns windows; ending it destroys them.
  std::uint32_t AddProcess(const std::string& exeFile);
  void KillProcess(std::uint32_t processId);
  const std::map<std::uint32_t, std::string>& Processes() const { return processes_; }

  // One line per call that changed or asked something of a window, in the form
  // "SendMessage(0x10, 0x112, 0xf060, 0)".
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // The next recorded call whose line starts with `name` throws, as a call can on a real
  // system that runs out of memory.
  void FailNextCall(std::string name) { failNext_ = std::move(name); }

  // Hung windows. A plain SendMessage to one would never return on Windows; here it returns,
  // but is written down in BlockingSendsToHung for the test to fail on. Waking the window
  // hands it, in order, what was sent to it meanwhile. The clock is the one time-outs wait on.
  void SetHung(Hwnd window, bool hung);
  const std::vector<std::string>& BlockingSendsToHung() const { return blockingSendsToHung_; }
  void UseClock(SimClock& clock) { clock_ = &clock; }
  // What the system itself sends without waiting for the answer (SendNotifyMessage): a hung
  // window gets it when it runs again.
  void SendNotifyMessage(Hwnd window, unsigned message, std::uintptr_t wParam,
                         std::intptr_t lParam);

  // --- WindowManager ------------------------------------------------------------------
  int GetSystemMetrics(int index) const override;
  Rect GetWorkArea() const override;
  unsigned GetDpiForSystem() const override { return systemDpi_; }
  std::vector<platform::Monitor> GetMonitors() const override;
  bool IsWindow(Hwnd window) const override;
  std::intptr_t SendMessage(Hwnd window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
  // To a hung window: waits out the time-out on the clock and keeps the message for when it
  // runs again.
  bool SendMessageTimeout(Hwnd window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam, unsigned flags, unsigned timeoutMs,
                          std::intptr_t* result) override;
  std::int32_t GetWindowLong(Hwnd window, int index) const override;
  std::int32_t SetWindowLong(Hwnd window, int index, std::int32_t value) override;
  Rect GetWindowRect(Hwnd window) const override;
  bool DwmGetWindowAttribute(Hwnd window, unsigned attribute, Rect* value) const override;
  std::string GetClassName(Hwnd window) const override;
  std::string GetWindowText(Hwnd window) const override;
  bool IsWindowVisible(Hwnd window) const override;
  int GetWindowTextLength(Hwnd window) const override;
  bool MoveWindow(Hwnd window, int x, int y, int width, int height, bool repaint) override;
  bool ShowWindow(Hwnd window, int command) override;
  bool SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int width, int height,
                    unsigned flags) override;
  bool UpdateWindow(Hwnd window) override;
  bool IsIconic(Hwnd window) const override;
  bool IsZoomed(Hwnd window) const override;
  std::vector<Hwnd> EnumWindows() const override;
  Hwnd GetDesktopWindow() const override { return kDesktopWindow; }
  static constexpr Hwnd kDesktopWindow{0x10000};
  Hwnd GetParent(Hwnd window) const override;
  Hwnd GetWindow(Hwnd window, unsigned relation) const override;
  Hwnd GetLastActivePopup(Hwnd window) const override;
  std::uint32_t GetWindowThreadProcessId(Hwnd window, std::uint32_t* processId) const override;
  Hwnd WindowFromPoint(platform::Point point) const override;
  platform::Point GetCursorPos() const override { return cursor_; }
  std::int16_t GetAsyncKeyState(int virtualKey) const override;
  bool IsScreenSaverRunning() const override { return screenSaverRunning_; }
  bool SetForegroundWindow(Hwnd window) override;
  Hwnd GetForegroundWindow() const override { return active_; }
  Hwnd SetActiveWindow(Hwnd window) override;
  bool ShowOwnedPopups(Hwnd owner, bool show) override;
  Hwnd ActiveWindow() const { return active_; }

  // Keystrokes held system-wide: by a window of ours, or by another program.
  bool RegisterHotKey(Hwnd window, int id, unsigned modifiers, unsigned virtualKey) override;
  bool UnregisterHotKey(Hwnd window, int id) override;
  void HoldHotKeyElsewhere(unsigned modifiers, unsigned virtualKey);
  // The user presses the keystroke: its holder of ours receives WmHotKey. Whether one did.
  bool PressHotKey(unsigned modifiers, unsigned virtualKey);
  int HotKeysHeld() const { return static_cast<int>(hotKeys_.size()); }

 private:
  void Record(std::string call);
  std::intptr_t Deliver(SimWindow& target, unsigned message, std::uintptr_t wParam,
                        std::intptr_t lParam);
  void Raise(Hwnd window);

  std::string failNext_;
  struct Pending {
    Hwnd window;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  std::vector<Pending> pending_;
  std::vector<std::string> blockingSendsToHung_;
  SimClock* clock_ = nullptr;
  int screenWidth_ = 1920;
  int screenHeight_ = 1080;
  Rect workArea_{0, 0, 1920, 1040};
  unsigned systemDpi_ = 96;
  std::vector<platform::Monitor> monitors_;  // empty: the one screen
  std::uintptr_t nextHandle_ = 0x10010;
  std::map<Hwnd, SimWindow> windows_;
  std::vector<Hwnd> zOrder_;  // top-level windows, top first
  std::vector<std::string> calls_;
  platform::Point cursor_{960, 540};
  std::map<int, bool> keysHeld_;
  bool screenSaverRunning_ = false;
  Borders invisibleBorders_;
  Hwnd active_{};
  std::map<std::uint32_t, std::string> processes_{{kOwnProcessId, "varnel.exe"}};
  std::uint32_t nextProcessId_ = 100;
  struct HotKeyHolder {
    Hwnd window;  // none: another program
    int id = 0;
  };
  std::map<std::pair<unsigned, unsigned>, HotKeyHolder> hotKeys_;
};

std::string HandleText(Hwnd window);

}  // namespace varnel::sim
