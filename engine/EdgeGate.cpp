#include "engine/EdgeGate.h"

#include <optional>

#include "base/Ascii.h"
#include "base/Paths.h"

namespace varnel {

bool IsQuietProgram(std::string_view programs, std::string_view imagePath) {
  const std::string_view running = FileNamePart(imagePath);
  while (!programs.empty()) {
    const std::size_t end = programs.find(';');
    const std::string_view program = TrimmedBlanks(programs.substr(0, end));
    if (!program.empty() && EqualNoCase(FileNamePart(program), running)) return true;
    if (end == std::string_view::npos) break;
    programs.remove_prefix(end + 1);
  }
  return false;
}

bool EdgeGate::MayFire(const platform::Monitor* monitor) const {
  if (paused_) return false;
  const bool guard = settings_.Exp.FullGuard != 0 && monitor != nullptr;
  const bool quietPrograms = !TrimmedBlanks(settings_.Quiet.Programs).empty();
  // An idle desktop asks the system nothing.
  if (!guard && !quietPrograms) return true;
  const ForegroundState foreground = Foreground();
  if (guard) {
    const std::optional<platform::Rect> busy = FullScreenMonitor(monitors_, foreground);
    if (busy && monitor->rect == *busy) return false;
  }
  return !(quietPrograms && QuietProgramInFront(monitor, foreground));
}

ForegroundState EdgeGate::Foreground() const {
  const platform::WindowManager& windows = platform_.windows;
  ForegroundState foreground;
  foreground.window = windows.GetForegroundWindow();
  if (foreground.window != platform::kNoWindow) {
    foreground.className = windows.GetClassName(foreground.window);
    foreground.rect = windows.GetWindowRect(foreground.window);
    std::uint32_t process = 0;
    windows.GetWindowThreadProcessId(foreground.window, &process);
    foreground.processId = process;
    foreground.ours = process == platform_.kernel.GetCurrentProcessId();
    foreground.desktop = foreground.window == windows.GetDesktopWindow();
  }
  if (settings_.Exp.FullGuard != 0) {
    foreground.notificationState = platform_.shell.SHQueryUserNotificationState();
  }
  return foreground;
}

// On the monitor that holds the largest part of the program's window, as for full-screen work.
bool EdgeGate::QuietProgramInFront(const platform::Monitor* monitor,
                                   const ForegroundState& foreground) const {
  if (foreground.window == platform::kNoWindow || foreground.ours || foreground.desktop) {
    return false;
  }
  if (monitor != nullptr) {
    const platform::Monitor* its = MonitorOf(monitors_, foreground.rect);
    if (its == nullptr || its->rect != monitor->rect) return false;
  }
  const std::optional<std::string> image =
      platform_.kernel.QueryFullProcessImageName(foreground.processId);
  return image && IsQuietProgram(settings_.Quiet.Programs, *image);
}

}  // namespace varnel
