#pragma once
// A snapshot of the desktop's top-level windows, rebuilt only when the set of windows that
// pass the filter has changed.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Timer.h"
#include "platform/Platform.h"

namespace varnel {

enum TFind_ID : std::uint8_t { id_All = 0, id_VisOnly = 1, id_InvisOnly = 2 };

struct TWinInfo {
  std::uint32_t Owner = 0;
  platform::Hwnd Handle{};
  std::uint32_t ThreadId = 0;
  std::string OwnerCaption;
  std::string ClassName;
  std::string ExeFile;
  std::uint32_t ProcessId = 0;
  std::uint32_t Style = 0;
  std::uint32_t ExStyle = 0;
};

class TWinList : public TComponent {
 public:
  TWinList(TComponent* owner, std::string name, platform::Platform& platform);
  ~TWinList() override;

  // The filter.
  TFind_ID WhatDoFind = id_VisOnly;
  bool EmptyNames = false;  // keep windows without a caption too
  bool TaskBarSty = true;   // keep only windows that would have a taskbar button

  // The self-refresh timer.
  int TimerIntval() const { return timerIntval_; }
  // 0 or less switches the timer off; a negative value is refused with an error.
  void SetTimerIntval(int interval);
  bool EnableTimer() const { return enableTimer_; }
  void SetEnableTimer(bool enable);
  // Fired after a timer refresh that rebuilt the list.
  TNotifyEvent OnChanged;

  // WindowList: one item a window, the caption with its entry.
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& Caption(int index) const { return items_.at(index).caption; }
  const TWinInfo& Info(int index) const { return *items_.at(index).info; }
  // Empties the list and forgets the signature, so that the next Refresh rebuilds the list
  // even when the set of windows has not changed since the last one.
  void Clear();

  virtual void Refresh();
  platform::Hwnd GetHandle(int index) const { return Info(index).Handle; }
  const std::string& GetExeFile(int index) const { return Info(index).ExeFile; }
  const std::string& GetWindowClass(int index) const { return Info(index).ClassName; }

  bool Changed() const { return changed_; }
  std::uint32_t Signature() const { return lastSignature_; }

 private:
  struct Item {
    std::string caption;
    std::unique_ptr<TWinInfo> info;
  };
  void Collect(platform::Hwnd window);
  bool IsTaskBarStyle(platform::Hwnd window) const;
  void AddWindow(platform::Hwnd window,
                 const std::optional<std::vector<platform::ProcessEntry>>& processes);
  void TimerTick(TComponent& sender);

  platform::Platform& platform_;
  std::vector<Item> items_;
  TTimer* timer_;
  int timerIntval_ = 500;
  bool enableTimer_ = false;
  std::vector<platform::Hwnd> collected_;
  std::uint32_t signature_ = 0;
  std::uint32_t lastSignature_ = 0;
  bool changed_ = true;
};

}  // namespace varnel
