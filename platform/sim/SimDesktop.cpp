#include "platform/sim/SimDesktop.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace varnel::sim {

std::string HandleText(Hwnd window) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llx",
                static_cast<unsigned long long>(static_cast<std::uintptr_t>(window)));
  return buffer;
}

SimDesktop::SimDesktop() = default;

void SimDesktop::SetScreen(int width, int height, const Rect& workArea) {
  screenWidth_ = width;
  screenHeight_ = height;
  workArea_ = workArea;
}

void SimDesktop::SetMonitors(std::vector<platform::Monitor> monitors) {
  monitors_ = std::move(monitors);
  for (const platform::Monitor& monitor : monitors_) {
    if (!monitor.primary) continue;
    screenWidth_ = monitor.rect.Width();
    screenHeight_ = monitor.rect.Height();
    workArea_ = monitor.workArea;
  }
}

std::vector<platform::Monitor> SimDesktop::GetMonitors() const {
  if (!monitors_.empty()) {
    std::vector<platform::Monitor> ordered = monitors_;
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const platform::Monitor& m) { return m.primary; });
    return ordered;
  }
  return {{Rect{0, 0, screenWidth_, screenHeight_}, workArea_, systemDpi_, true}};
}

Hwnd SimDesktop::AddWindow(SimWindow window) {
  window.handle = Hwnd{nextHandle_};
  nextHandle_ += 0x10;
  if (window.visible) window.style |= platform::WsVisible;
  const Hwnd handle = window.handle;
  const bool topLevel = window.parent == platform::kNoWindow;
  windows_.emplace(handle, std::move(window));
  if (topLevel) Raise(handle);
  return handle;
}

void SimDesktop::DestroyWindow(Hwnd window) {
  // Children and owned windows go with their parent or owner, as the system does it.
  std::vector<Hwnd> dependants;
  for (const auto& [handle, candidate] : windows_) {
    if (candidate.parent == window || candidate.owner == window) dependants.push_back(handle);
  }
  for (Hwnd dependant : dependants) DestroyWindow(dependant);
  windows_.erase(window);
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
}

SimWindow* SimDesktop::Find(Hwnd window) {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : &found->second;
}

const SimWindow* SimDesktop::Find(Hwnd window) const {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : &found->second;
}

std::vector<Hwnd> SimDesktop::TopLevelWindows() const { return zOrder_; }

std::optional<Hwnd> SimDesktop::FindTopLevel(const std::string& className) const {
  for (Hwnd handle : zOrder_) {
    if (Find(handle)->className == className) return handle;
  }
  return std::nullopt;
}

void SimDesktop::Record(std::string call) {
  if (!failNext_.empty() && call.rfind(failNext_ + "(", 0) == 0) {
    failNext_.clear();
    throw std::runtime_error("simulated failure of " + call);
  }
  calls_.push_back(std::move(call));
}

int SimDesktop::GetSystemMetrics(int index) const {
  if (index == platform::SmCxScreen) return screenWidth_;
  if (index == platform::SmCyScreen) return screenHeight_;
  return 0;
}

Rect SimDesktop::GetWorkArea() const { return workArea_; }

bool SimDesktop::IsWindow(Hwnd window) const { return Find(window) != nullptr; }

std::intptr_t SimDesktop::SendMessage(Hwnd window, unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "SendMessage(%s, 0x%x, 0x%llx, %lld)",
                HandleText(window).c_str(), message, static_cast<unsigned long long>(wParam),
                static_cast<long long>(lParam));
  Record(buffer);
  SimWindow* target = Find(window);
  if (target == nullptr) return 0;
  if (target->hung) {
    blockingSendsToHung_.push_back(buffer);
    pending_.push_back({window, message, wParam, lParam});
    return 0;
  }
  return Deliver(*target, message, wParam, lParam);
}

bool SimDesktop::SendMessageTimeout(Hwnd window, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam, unsigned flags, unsigned timeoutMs,
                                    std::intptr_t* result) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "SendMessageTimeout(%s, 0x%x, 0x%llx, %lld, 0x%x, %u)",
                HandleText(window).c_str(), message, static_cast<unsigned long long>(wParam),
                static_cast<long long>(lParam), flags, timeoutMs);
  Record(buffer);
  if (result != nullptr) *result = 0;
  SimWindow* target = Find(window);
  if (target == nullptr) return false;
  if (target->hung) {
    // The worst case: hung too recently for the system to know, so the whole time-out passes.
    if (clock_ != nullptr) clock_->Advance(timeoutMs);
    pending_.push_back({window, message, wParam, lParam});
    return false;
  }
  const std::intptr_t answer = Deliver(*target, message, wParam, lParam);
  if (result != nullptr) *result = answer;
  return true;
}

void SimDesktop::SendNotifyMessage(Hwnd window, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
  SimWindow* target = Find(window);
  if (target == nullptr) return;
  if (target->hung) {
    pending_.push_back({window, message, wParam, lParam});
    return;
  }
  SendMessage(window, message, wParam, lParam);
}

void SimDesktop::SetHung(Hwnd window, bool hung) {
  SimWindow* target = Find(window);
  if (target == nullptr) return;
  target->hung = hung;
  if (hung) return;
  std::vector<Pending> waiting;
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (it->window == window) {
      waiting.push_back(*it);
      it = pending_.erase(it);
    } else {
      ++it;
    }
  }
  for (const Pending& message : waiting) {
    if (SimWindow* alive = Find(window)) {
      Deliver(*alive, message.message, message.wParam, message.lParam);
    }
  }
}

std::intptr_t SimDesktop::Deliver(SimWindow& target, unsigned message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  const Hwnd window = target.handle;
  if (message == platform::WmSysCommand && wParam == platform::ScRestore) {
    target.minimized = false;
    target.maximized = false;
    return 0;
  }
  const bool closeRequest = message == platform::WmClose ||
                            (message == platform::WmSysCommand && wParam == platform::ScClose);
  if (!closeRequest) {
    if (target.sink == nullptr) return 0;
    return target.sink->PeerWindowMessage(message, wParam, lParam).value_or(0);
  }
  if (target.sink != nullptr) {
    target.sink->PeerCloseQuery(false);
  } else {
    // Another program's window: it does what an ordinary window does and goes away.
    DestroyWindow(window);
  }
  return 0;
}

std::int32_t SimDesktop::GetWindowLong(Hwnd window, int index) const {
  const SimWindow* target = Find(window);
  if (target == nullptr) return 0;
  if (index == platform::GwlStyle) return static_cast<std::int32_t>(target->style);
  if (index == platform::GwlExStyle) return static_cast<std::int32_t>(target->exStyle);
  if (index == platform::GwlHwndParent) {
    return static_cast<std::int32_t>(static_cast<std::uintptr_t>(target->owner));
  }
  return 0;
}

std::int32_t SimDesktop::SetWindowLong(Hwnd window, int index, std::int32_t value) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "SetWindowLong(%s, %d, 0x%x)", HandleText(window).c_str(),
                index, static_cast<unsigned>(value));
  Record(buffer);
  SimWindow* target = Find(window);
  if (target == nullptr) return 0;
  std::uint32_t* field = index == platform::GwlStyle     ? &target->style
                         : index == platform::GwlExStyle ? &target->exStyle
                                                         : nullptr;
  if (field == nullptr) return 0;
  const auto previous = static_cast<std::int32_t>(*field);
  *field = static_cast<std::uint32_t>(value);
  // As on Windows, the topmost bit shows the window's z-order band (only SetWindowPos moves a
  // window in or out of it), and a framed window always has the raised-edge bit.
  if (field == &target->exStyle) {
    *field = (*field & ~platform::WsExTopmost) | (target->topmost ? platform::WsExTopmost : 0u);
    constexpr std::uint32_t kFrames = 0x00400000 | 0x00040000;  // WS_DLGFRAME, WS_THICKFRAME
    constexpr std::uint32_t kStaticEdge = 0x00020000;
    if ((target->style & kFrames) != 0 && (*field & kStaticEdge) == 0) {
      *field |= platform::WsExWindowEdge;
    } else {
      *field &= ~platform::WsExWindowEdge;
    }
  }
  if (field == &target->style) target->visible = (*field & platform::WsVisible) != 0;
  return previous;
}

Rect SimDesktop::GetWindowRect(Hwnd window) const {
  const SimWindow* target = Find(window);
  return target == nullptr ? Rect{} : target->rect;
}

bool SimDesktop::DwmGetWindowAttribute(Hwnd window, unsigned attribute, Rect* value) const {
  const SimWindow* target = Find(window);
  if (target == nullptr || attribute != platform::DwmwaExtendedFrameBounds) return false;
  constexpr std::uint32_t kThickFrame = 0x00040000;  // WS_THICKFRAME: the borders to size by
  Rect frame = target->rect;
  if ((target->style & kThickFrame) != 0) {
    frame.Left += invisibleBorders_.left;
    frame.Top += invisibleBorders_.top;
    frame.Right -= invisibleBorders_.right;
    frame.Bottom -= invisibleBorders_.bottom;
  }
  *value = frame;
  return true;
}

std::string SimDesktop::GetClassName(Hwnd window) const {
  const SimWindow* target = Find(window);
  return target == nullptr ? std::string() : target->className;
}

std::string SimDesktop::GetWindowText(Hwnd window) const {
  const SimWindow* target = Find(window);
  return target == nullptr ? std::string() : target->text;
}

bool SimDesktop::IsWindowVisible(Hwnd window) const {
  const SimWindow* target = Find(window);
  return target != nullptr && target->visible;
}

}  // namespace varnel::sim

namespace varnel::sim {

namespace {

std::string Format(const char* pattern, Hwnd window, int a, int b, int c, int d) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, pattern, HandleText(window).c_str(), a, b, c, d);
  return buffer;
}

}  // namespace

void SimDesktop::SetKeyHeld(int virtualKey, bool held) { keysHeld_[virtualKey] = held; }

std::uint32_t SimDesktop::AddProcess(const std::string& exeFile) {
  const std::uint32_t id = nextProcessId_;
  nextProcessId_ += 4;
  processes_[id] = exeFile;
  return id;
}

void SimDesktop::KillProcess(std::uint32_t processId) {
  processes_.erase(processId);
  std::vector<Hwnd> owned;
  for (const auto& [handle, window] : windows_) {
    if (window.processId == processId) owned.push_back(handle);
  }
  for (Hwnd handle : owned) {
    if (Find(handle) != nullptr) DestroyWindow(handle);
  }
}

void SimDesktop::Raise(Hwnd window) {
  SimWindow* target = Find(window);
  if (target == nullptr || target->parent != platform::kNoWindow) return;
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
  // Topmost windows stay above the others; a raised window goes to the top of its band.
  auto place = zOrder_.begin();
  if (!target->topmost) {
    while (place != zOrder_.end() && Find(*place)->topmost) ++place;
  }
  zOrder_.insert(place, window);
}

int SimDesktop::GetWindowTextLength(Hwnd window) const {
  return static_cast<int>(GetWindowText(window).size());
}

bool SimDesktop::MoveWindow(Hwnd window, int x, int y, int width, int height, bool repaint) {
  Record(Format("MoveWindow(%s, %d, %d, %d, %d)", window, x, y, width, height) +
         (repaint ? "" : " no repaint"));
  SimWindow* target = Find(window);
  if (target == nullptr) return false;
  target->rect = Rect::FromSize(x, y, std::max(width, target->minWidth),
                                std::max(height, target->minHeight));
  return true;
}

bool SimDesktop::ShowWindow(Hwnd window, int command) {
  Record("ShowWindow(" + HandleText(window) + ", " + std::to_string(command) + ")");
  SimWindow* target = Find(window);
  if (target == nullptr) return false;
  const bool wasVisible = target->visible;
  switch (command) {
    case platform::SwHide:
      target->visible = false;
      break;
    case platform::SwShowNormal:
    case platform::SwRestore:
      target->visible = true;
      target->minimized = false;
      target->maximized = false;
      break;
    case platform::SwShowMinimized:
      target->visible = true;
      target->minimized = true;
      break;
    case platform::SwShowMaximized:
      target->visible = true;
      target->minimized = false;
      target->maximized = true;
      break;
    default:
      target->visible = true;
      break;
  }
  if (target->visible) {
    target->style |= platform::WsVisible;
  } else {
    target->style &= ~platform::WsVisible;
  }
  return wasVisible;
}

bool SimDesktop::SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int width, int height,
                              unsigned flags) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "SetWindowPos(%s, %s, %d, %d, %d, %d, 0x%x)",
                HandleText(window).c_str(), HandleText(insertAfter).c_str(), x, y, width, height,
                flags);
  Record(buffer);
  SimWindow* target = Find(window);
  if (target == nullptr) return false;
  if ((flags & platform::SwpNoMove) == 0) {
    target->rect = Rect::FromSize(x, y, target->rect.Width(), target->rect.Height());
  }
  if ((flags & platform::SwpNoSize) == 0) {
    target->rect.Right = target->rect.Left + std::max(width, target->minWidth);
    target->rect.Bottom = target->rect.Top + std::max(height, target->minHeight);
  }
  if ((flags & platform::SwpNoZOrder) == 0) {
    if (insertAfter == platform::HwndTopmost) {
      target->topmost = true;
      target->exStyle |= platform::WsExTopmost;
      Raise(window);
    } else if (insertAfter == platform::HwndNoTopmost && target->topmost) {
      target->topmost = false;
      target->exStyle &= ~platform::WsExTopmost;
      Raise(window);
    }
  }
  return true;
}

bool SimDesktop::UpdateWindow(Hwnd window) {
  Record("UpdateWindow(" + HandleText(window) + ")");
  return Find(window) != nullptr;
}

bool SimDesktop::IsIconic(Hwnd window) const {
  const SimWindow* target = Find(window);
  return target != nullptr && target->minimized;
}

bool SimDesktop::IsZoomed(Hwnd window) const {
  const SimWindow* target = Find(window);
  return target != nullptr && target->maximized;
}

std::vector<Hwnd> SimDesktop::EnumWindows() const { return zOrder_; }

Hwnd SimDesktop::GetParent(Hwnd window) const {
  const SimWindow* target = Find(window);
  if (target == nullptr) return platform::kNoWindow;
  if (target->parent != platform::kNoWindow) return target->parent;
  // For a pop-up window the system reports its owner as the parent.
  return (target->style & platform::WsPopup) != 0 ? target->owner : platform::kNoWindow;
}

Hwnd SimDesktop::GetWindow(Hwnd window, unsigned relation) const {
  const SimWindow* target = Find(window);
  if (target == nullptr || relation != platform::GwOwner) return platform::kNoWindow;
  return target->owner;
}

Hwnd SimDesktop::GetLastActivePopup(Hwnd window) const {
  const SimWindow* target = Find(window);
  if (target == nullptr) return platform::kNoWindow;
  if (target->lastActivePopup != platform::kNoWindow && Find(target->lastActivePopup) != nullptr) {
    return target->lastActivePopup;
  }
  return window;
}

std::uint32_t SimDesktop::GetWindowThreadProcessId(Hwnd window, std::uint32_t* processId) const {
  const SimWindow* target = Find(window);
  if (processId != nullptr) *processId = target == nullptr ? 0 : target->processId;
  return target == nullptr ? 0 : target->processId * 4 + 1;
}

Hwnd SimDesktop::WindowFromPoint(platform::Point point) const {
  for (Hwnd handle : zOrder_) {
    const SimWindow& window = *Find(handle);
    const Rect& r = window.rect;
    if (window.visible && point.X >= r.Left && point.X < r.Right && point.Y >= r.Top &&
        point.Y < r.Bottom) {
      return handle;
    }
  }
  return platform::kNoWindow;
}

std::int16_t SimDesktop::GetAsyncKeyState(int virtualKey) const {
  const auto found = keysHeld_.find(virtualKey);
  return found != keysHeld_.end() && found->second ? static_cast<std::int16_t>(0x8000) : 0;
}

bool SimDesktop::SetForegroundWindow(Hwnd window) {
  Record("SetForegroundWindow(" + HandleText(window) + ")");
  if (Find(window) == nullptr) return false;
  active_ = window;
  return true;
}

Hwnd SimDesktop::SetActiveWindow(Hwnd window) {
  Record("SetActiveWindow(" + HandleText(window) + ")");
  const Hwnd previous = active_;
  if (Find(window) != nullptr) active_ = window;
  return previous;
}

bool SimDesktop::RegisterHotKey(Hwnd window, int id, unsigned modifiers, unsigned virtualKey) {
  const std::pair key{modifiers & ~platform::ModNoRepeat, virtualKey};
  if (hotKeys_.count(key) != 0) return false;
  for (const auto& [held, holder] : hotKeys_) {
    if (holder.window == window && holder.id == id) return false;
  }
  hotKeys_[key] = {window, id};
  return true;
}

bool SimDesktop::UnregisterHotKey(Hwnd window, int id) {
  for (auto it = hotKeys_.begin(); it != hotKeys_.end(); ++it) {
    if (it->second.window == window && it->second.id == id && window != platform::kNoWindow) {
      hotKeys_.erase(it);
      return true;
    }
  }
  return false;
}

void SimDesktop::HoldHotKeyElsewhere(unsigned modifiers, unsigned virtualKey) {
  hotKeys_[{modifiers, virtualKey}] = {platform::kNoWindow, 0};
}

bool SimDesktop::PressHotKey(unsigned modifiers, unsigned virtualKey) {
  const auto held = hotKeys_.find({modifiers, virtualKey});
  if (held == hotKeys_.end() || held->second.window == platform::kNoWindow) return false;
  SendMessage(held->second.window, platform::WmHotKey, static_cast<std::uintptr_t>(held->second.id),
              static_cast<std::intptr_t>(modifiers | (virtualKey << 16)));
  return true;
}

bool SimDesktop::ShowOwnedPopups(Hwnd owner, bool show) {
  Record("ShowOwnedPopups(" + HandleText(owner) + (show ? ", 1)" : ", 0)"));
  for (auto& [handle, window] : windows_) {
    if (window.owner == owner && (window.style & platform::WsPopup) != 0) window.visible = show;
  }
  return Find(owner) != nullptr;
}

}  // namespace varnel::sim
