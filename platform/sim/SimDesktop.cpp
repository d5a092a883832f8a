#include "platform/sim/SimDesktop.h"

#include <algorithm>
#include <cstdio>

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

Hwnd SimDesktop::AddWindow(SimWindow window) {
  window.handle = Hwnd{nextHandle_};
  nextHandle_ += 0x10;
  if (window.visible) window.style |= platform::WsVisible;
  if (window.parent == platform::kNoWindow) zOrder_.insert(zOrder_.begin(), window.handle);
  const Hwnd handle = window.handle;
  windows_.emplace(handle, std::move(window));
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

void SimDesktop::Record(std::string call) { calls_.push_back(std::move(call)); }

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
  const bool closeRequest = message == platform::WmClose ||
                            (message == platform::WmSysCommand && wParam == platform::ScClose);
  if (!closeRequest) return 0;
  if (target->sink != nullptr) {
    target->sink->PeerCloseQuery(false);
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
  if (field == &target->style) target->visible = (*field & platform::WsVisible) != 0;
  return previous;
}

Rect SimDesktop::GetWindowRect(Hwnd window) const {
  const SimWindow* target = Find(window);
  return target == nullptr ? Rect{} : target->rect;
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
