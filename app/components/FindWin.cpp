#include "app/components/FindWin.h"

#include <stdexcept>

namespace varnel {

TWinList::TWinList(TComponent* owner, std::string name, platform::Platform& platform)
    : TComponent(owner, std::move(name)),
      platform_(platform),
      timer_(&TComponent::Create<TTimer>(*this, "Timer", platform.ui, 500)) {
  timer_->SetEnabled(false);
  timer_->OnTimer = [this](TComponent& sender) { TimerTick(sender); };
}

TWinList::~TWinList() { timer_->SetEnabled(false); }

void TWinList::SetTimerIntval(int interval) {
  if (interval <= 0) SetEnableTimer(false);
  if (interval == timerIntval_) return;
  // The timer counts in unsigned milliseconds: a negative interval has no meaning.
  if (interval < 0) throw std::out_of_range("TimerIntval");
  timerIntval_ = interval;
  timer_->SetInterval(static_cast<unsigned>(interval));
}

void TWinList::SetEnableTimer(bool enable) {
  if (enable == enableTimer_) return;
  enableTimer_ = enable;
  timer_->SetEnabled(enable);
}

void TWinList::Clear() {
  items_.clear();
  lastSignature_ = 0;
}

void TWinList::Refresh() {
  signature_ = 0;
  timer_->SetEnabled(false);
  collected_.clear();
  for (platform::Hwnd window : platform_.windows.EnumWindows()) Collect(window);

  if (signature_ == lastSignature_) {
    changed_ = false;
  } else {
    lastSignature_ = signature_;
    items_.clear();
    // One snapshot serves every entry of the rebuild: the processes do not change meanwhile.
    const auto processes = platform_.kernel.CreateProcessSnapshot();
    for (platform::Hwnd window : collected_) AddWindow(window, processes);
    changed_ = true;
  }
  if (enableTimer_) timer_->SetEnabled(true);
}

void TWinList::Collect(platform::Hwnd window) {
  const platform::WindowManager& windows = platform_.windows;
  if (windows.GetWindowText(window).empty() && !EmptyNames) return;
  const bool visible = windows.IsWindowVisible(window);
  if ((WhatDoFind == id_VisOnly && !visible) || (WhatDoFind == id_InvisOnly && visible)) return;
  if (TaskBarSty) {
    if (windows.GetWindow(window, platform::GwOwner) != platform::kNoWindow) return;
    if (!IsTaskBarStyle(window)) {
      const platform::Hwnd popup = windows.GetLastActivePopup(window);
      if (!windows.IsWindow(popup) || !IsTaskBarStyle(popup)) return;
    }
  }
  collected_.push_back(window);
  signature_ += static_cast<std::uint32_t>(static_cast<std::uintptr_t>(window));
}

bool TWinList::IsTaskBarStyle(platform::Hwnd window) const {
  const auto style =
      static_cast<std::uint32_t>(platform_.windows.GetWindowLong(window, platform::GwlStyle));
  if ((style & platform::WsPopup) == 0) return true;
  return (style & platform::WsMinimizeBox) != 0 && (style & platform::WsSysMenu) != 0 &&
         (style & platform::WsDisabled) == 0;
}

void TWinList::AddWindow(platform::Hwnd window,
                         const std::optional<std::vector<platform::ProcessEntry>>& processes) {
  const platform::WindowManager& windows = platform_.windows;
  auto info = std::make_unique<TWinInfo>();
  info->Handle = window;
  info->ThreadId = windows.GetWindowThreadProcessId(window, &info->ProcessId);
  info->Style = static_cast<std::uint32_t>(windows.GetWindowLong(window, platform::GwlStyle));
  info->ExStyle = static_cast<std::uint32_t>(windows.GetWindowLong(window, platform::GwlExStyle));
  info->Owner = static_cast<std::uint32_t>(windows.GetWindowLong(window, platform::GwlHwndParent));
  info->ClassName = windows.GetClassName(window);
  if (info->Owner == 0) {
    info->OwnerCaption = "Desktop";
  } else {
    info->OwnerCaption = windows.GetWindowText(platform::Hwnd{info->Owner});
    if (info->OwnerCaption.empty()) info->OwnerCaption = "NoName";
  }
  if (processes) {
    for (const platform::ProcessEntry& process : *processes) {
      if (process.processId == info->ProcessId) {
        info->ExeFile = process.exeFile;
        break;
      }
    }
  }
  items_.push_back({windows.GetWindowText(window), std::move(info)});
}

void TWinList::TimerTick(TComponent& /*sender*/) {
  if (timerIntval_ < 1) timer_->SetEnabled(false);
  Refresh();
  platform_.ui.ProcessMessages();
  if (changed_ && OnChanged) OnChanged(*this);
}

}  // namespace varnel
