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
  // Our own windows answer messages through the framework object behind them.
  platform::ControlSink* sink = nullptr;
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
  Hwnd AddWindow(SimWindow window);
  void DestroyWindow(Hwnd window);
  SimWindow* Find(Hwnd window);
  const SimWindow* Find(Hwnd window) const;
  // Top-level windows, topmost of the z-order first.
  std::vector<Hwnd> TopLevelWindows() const;
  std::optional<Hwnd> FindTopLevel(const std::string& className) const;
  // One line per call that changed or asked something of a window, in the form
  // "SendMessage(0x10, 0x112, 0xf060, 0)".
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

  // --- WindowManager ------------------------------------------------------------------
  int GetSystemMetrics(int index) const override;
  Rect GetWorkArea() const override;
  bool IsWindow(Hwnd window) const override;
  std::intptr_t SendMessage(Hwnd window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
  std::int32_t GetWindowLong(Hwnd window, int index) const override;
  std::int32_t SetWindowLong(Hwnd window, int index, std::int32_t value) override;
  Rect GetWindowRect(Hwnd window) const override;
  std::string GetClassName(Hwnd window) const override;
  std::string GetWindowText(Hwnd window) const override;
  bool IsWindowVisible(Hwnd window) const override;

 private:
  void Record(std::string call);

  int screenWidth_ = 1920;
  int screenHeight_ = 1080;
  Rect workArea_{0, 0, 1920, 1040};
  std::uintptr_t nextHandle_ = 0x10010;
  std::map<Hwnd, SimWindow> windows_;
  std::vector<Hwnd> zOrder_;  // top-level windows, top first
  std::vector<std::string> calls_;
};

std::string HandleText(Hwnd window);

}  // namespace varnel::sim
