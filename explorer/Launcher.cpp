// Starting the Explorer and finding the window the start produced.

#include <algorithm>

#include "app/Unit1.h"
#include "base/Ascii.h"
#include "base/Deadline.h"
#include "base/Desktop.h"
#include "base/Paths.h"
#include "base/ScopeExit.h"

namespace varnel {

namespace {

// How long a launch waits for the new window, and the popup wait for an application window's
// main window: past these the system is not going to deliver, and the engine must go on.
constexpr std::uint32_t kLaunchTimeoutMs = 10000;
constexpr std::uint32_t kPopupTimeoutMs = 2000;
// One look at the desktop per this many milliseconds while a wait goes on.
constexpr std::uint32_t kPollMs = 100;
// After a managed start that gave up, the tick's restart leaves the system this long before it
// starts another: a pointer resting at the edge would otherwise start one every ten seconds
// for as long as the Explorer is slow, and every one of them would open a window in the end.
constexpr std::uint32_t kRetryAfterMs = 5000;
// A start that gave up may still open its window: it is looked for this often, for this long.
// A window that comes later than that is left alone, as one the user opened.
constexpr unsigned kLateLookEveryMs = 500;
constexpr std::uint32_t kLateLookForMs = 60000;

bool Contains(const std::string& text, const char* word) {
  return text.find(word) != std::string::npos;
}

}  // namespace

bool TFoundWindows::Insert(platform::Hwnd window) {
  if (std::find(Slots.begin(), Slots.end(), window) != Slots.end()) return false;
  Slots.push_back(window);
  return true;
}

std::string TForm1::LaunchFolder(bool managed) const {
  if (managed || Settings.Exp.PathEn == 0) return Settings.Exp.Path;
  // The choice turns on Exp.Path being set, not on Exp.PathEx.
  return Settings.Exp.Path.empty() ? std::string() : Settings.Exp.PathEx;
}

bool TForm1::LaunchExplorer(bool Managed) {
  // One launch at a time: a second one would take the first one's window for its own. And
  // none once the program is ending: nothing would be left to manage the window.
  if (launchWaiting_ || Application().Terminated()) return false;
  const auto waiting = RaiseForScope(launchWaiting_);

  platform::Platform& system = System();
  const std::string folder = LaunchFolder(Managed);
  const std::string windowsFolder = system.kernel.GetWindowsDirectory() + "\\";
  const std::string exePath = windowsFolder + "explorer.exe";
  const bool withoutTree = Managed && Settings.Exp.NoTree == 1;
  const std::string parameters = std::string(withoutTree ? " /n," : " /n,/e,") + "\"" + folder + "\"";

  // An empty list with a forgotten signature: the first search sees the Explorer windows that
  // exist already, so the one the start produces shows as growth.
  WinList1->Clear();
  WinList1->TaskBarSty = true;
  WinList1->EmptyNames = false;
  WinList1->WhatDoFind = id_VisOnly;
  FoundWindows = TFoundWindows{};
  const int before = FindExplorerWindows(FoundWindows, exePath);

  system.shell.ShellExecute(Handle(), "", exePath, parameters, windowsFolder,
                            platform::SwShowNoActivate);

  const std::uint32_t deadline = system.kernel.GetTickCount() + kLaunchTimeoutMs;
  while (FindExplorerWindows(FoundWindows, exePath) <= before) {
    if (Application().Terminated()) return false;
    if (TickPassed(system.kernel.GetTickCount(), deadline)) {
      if (Managed) StartLookingForLateExplorer(exePath);
      return false;
    }
    WaitProcessing(kPollMs);
    // The program ends: the window is the user's now, wherever the system shows it.
    if (Application().Terminated()) return false;
  }
  Engine.ExplorerWnd = FoundWindows.Slots.back();
  // A supplementary launch may have taken the window a managed start is still awaited for;
  // that window is placed beside the managed one and must not be parked later.
  if (lateExplorer_) lateExplorer_->known.Insert(Engine.ExplorerWnd);
  if (Managed) launchGaveUpAt_.reset();
  SettleExplorer(Managed);
  return true;
}

void TForm1::SettleExplorer(bool managed) {
  platform::Platform& system = System();
  Engine.WorkArea = system.windows.GetWorkArea();
  Engine.SlideRect.Top = Engine.WorkArea.Top;
  Engine.SlideRect.Height = Engine.WorkArea.Bottom - Engine.WorkArea.Top;
  Engine.SlideRect.Left = Engine.WorkArea.Left - Settings.Exp.Height;
  system.windows.ShowWindow(Engine.ExplorerWnd, platform::SwRestore);
  SetTopmost(system.windows, Engine.ExplorerWnd, managed);
  if (managed) {
    LetMessagesRun();
    // An exit that ran meanwhile has closed the window already.
    if (!Application().Terminated()) ParkExplorer();
  }
  Engine.ShownEdge = EdgeNone;
}

void TForm1::RestartExplorer() {
  // A start that gave up moments ago is not followed by another at once.
  if (launchGaveUpAt_ &&
      System().kernel.GetTickCount() - *launchGaveUpAt_ < kRetryAfterMs) {
    return;
  }
  // With the folder followed, the new Explorer opens where the old one was.
  if (Settings.Exp.Watch == 0) {
    LaunchExplorer(true);
    return;
  }
  const ScopeExit restore([this, path = Settings.Exp.Path] { Settings.Exp.Path = path; });
  Settings.Exp.Path = Engine.HiddenFolder;
  LaunchExplorer(true);
}

// The managed start gave up, but its window may still come: it is looked for now and then, for
// a while, and taken as the managed one if it does. Looking costs a window list refresh, so it
// is done twice a second rather than every tick, and never after the while.
void TForm1::StartLookingForLateExplorer(const std::string& exePath) {
  platform::Platform& system = System();
  launchGaveUpAt_ = system.kernel.GetTickCount();
  lateExplorer_ = LateExplorer{FoundWindows, exePath, *launchGaveUpAt_ + kLateLookForMs};
  if (LateExplorerTimer == nullptr) {
    LateExplorerTimer = &TComponent::Create<TTimer>(*this, "LateExplorerTimer", system.ui,
                                                    kLateLookEveryMs);
    LateExplorerTimer->OnTimer = [this](TComponent& sender) { LateExplorerTimerTimer(sender); };
  }
  LateExplorerTimer->SetEnabled(true);
}

void TForm1::LateExplorerTimerTimer(TComponent& /*sender*/) {
  // Not while a launch or a look waits (the window would be taken twice), nor while a tick
  // works on the managed window (it would be moved from under the slide): the next look comes
  // soon enough.
  if (launchWaiting_ || Engine.TickBusy) return;
  // Past the while, or the engine has its window again (a later launch took it): a window
  // that comes now is the user's.
  if (!lateExplorer_ || Application().Terminated() ||
      TickPassed(System().kernel.GetTickCount(), lateExplorer_->lookUntil) ||
      System().windows.IsWindow(Engine.ExplorerWnd)) {
    StopLookingForLateExplorer();
    return;
  }
  const auto waiting = RaiseForScope(launchWaiting_);
  const int known = lateExplorer_->known.Count();
  if (FindExplorerWindows(lateExplorer_->known, lateExplorer_->exePath) <= known) return;
  if (Application().Terminated()) return;
  Engine.ExplorerWnd = lateExplorer_->known.Slots.back();
  StopLookingForLateExplorer();
  launchGaveUpAt_.reset();
  SettleExplorer(true);
}

void TForm1::StopLookingForLateExplorer() {
  lateExplorer_.reset();
  if (LateExplorerTimer != nullptr) LateExplorerTimer->SetEnabled(false);
}

int TForm1::FindExplorerWindows(TFoundWindows& Table, const std::string& ExePath) {
  platform::Platform& system = System();
  const std::string key = AsciiLowered(ExePath);
  const std::string name(FileNamePart(key));
  WinList1->Refresh();
  for (int i = 0; i < WinList1->Count(); ++i) {
    const platform::Hwnd window = WinList1->GetHandle(i);
    const bool exeKnown = !WinList1->GetExeFile(i).empty();
    std::string text = AsciiLowered(WinList1->GetExeFile(i));
    if (!exeKnown && system.windows.GetWindowTextLength(window) != 0 &&
        system.windows.GetParent(window) == platform::kNoWindow &&
        system.windows.IsWindowVisible(window)) {
      text = system.windows.GetWindowText(window);
    }
    const bool isExplorer =
        exeKnown ? (text == key || text == name)
                 : (text == name || Contains(text, "ｴｸｽﾌﾟﾛｰﾗ") || Contains(text, "エクスプローラ"));
    if (!isExplorer) continue;

    platform::Hwnd record = window;
    if (exeKnown && WinList1->GetWindowClass(i) == "TApplication") {
      // An application window stands for its main window, its last active popup, which may
      // take a moment to appear. A popup that does not come is asked for again next poll.
      const std::uint32_t deadline = system.kernel.GetTickCount() + kPopupTimeoutMs;
      record = system.windows.GetLastActivePopup(window);
      while (record == window && !TickPassed(system.kernel.GetTickCount(), deadline) &&
             !Application().Terminated()) {
        WaitProcessing(kPollMs);
        record = system.windows.GetLastActivePopup(window);
      }
      if (record == window) continue;
    }
    Table.Insert(record);
  }
  return Table.Count();
}

void TForm1::WaitProcessing(std::uint32_t Milliseconds) {
  platform::Platform& system = System();
  const std::uint32_t deadline = system.kernel.GetTickCount() + Milliseconds;
  // The thread sleeps until a message comes or the time is up: timers and menu commands run
  // as they arrive, and the processor idles in between.
  std::uint32_t remaining = Milliseconds;
  for (;;) {
    system.ui.WaitForMessages(remaining);
    if (Application().Terminated()) return;
    const std::int32_t left = TicksUntil(system.kernel.GetTickCount(), deadline);
    if (left <= 0) return;
    remaining = static_cast<std::uint32_t>(left);
  }
}

}  // namespace varnel
