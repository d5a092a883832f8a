// Starting the Explorer and finding the window the start produced.

#include <algorithm>
#include <cctype>

#include "app/Unit1.h"

namespace varnel {

namespace {

// How long a launch waits for the new window, and the popup wait for an application window's
// main window: past these the system is not going to deliver, and the engine must go on.
constexpr std::uint32_t kLaunchTimeoutMs = 10000;
constexpr std::uint32_t kPopupTimeoutMs = 2000;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string FileNamePart(const std::string& path) {
  const auto separator = path.find_last_of("\\:");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool Contains(const std::string& text, const char* word) {
  return text.find(word) != std::string::npos;
}

void Insert(TFoundWindows& table, platform::Hwnd window) {
  for (platform::Hwnd& slot : table.Slots) {
    if (slot == window) return;
    if (slot == platform::kNoWindow) {
      slot = window;
      ++table.Count;
      return;
    }
  }
}

// Has `now` passed `deadline`? Both are tick counts that wrap after 49 days.
bool Passed(std::uint32_t now, std::uint32_t deadline) {
  return static_cast<std::int32_t>(now - deadline) > 0;
}

}  // namespace

std::string TForm1::LaunchFolder(bool managed) const {
  if (managed || Settings.Exp.PathEn == 0) return Settings.Exp.Path;
  // The choice turns on Exp.Path being set, not on Exp.PathEx.
  return Settings.Exp.Path.empty() ? std::string() : Settings.Exp.PathEx;
}

bool TForm1::LaunchExplorer(bool Managed) {
  // One launch at a time: a second one would take the first one's window for its own.
  if (launchWaiting_) return false;
  struct Waiting {
    bool& flag;
    explicit Waiting(bool& f) : flag(f) { flag = true; }
    ~Waiting() { flag = false; }
  } waiting(launchWaiting_);

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
  FoundWindows.Count = FindExplorerWindows(FoundWindows, exePath);

  system.shell.ShellExecute(Handle(), "", exePath, parameters, windowsFolder,
                            platform::SwShowNoActivate);

  const std::uint32_t deadline = system.kernel.GetTickCount() + kLaunchTimeoutMs;
  const int before = FoundWindows.Count;
  int found = FindExplorerWindows(FoundWindows, exePath);
  while (found <= before) {
    if (Passed(system.kernel.GetTickCount(), deadline)) return false;
    LetMessagesRun();
    WaitProcessing(50);
    system.kernel.Sleep(50);
    found = FindExplorerWindows(FoundWindows, exePath);
  }
  Engine.ExplorerWnd = FoundWindows.Slots[found - 1];

  Engine.WorkArea = system.windows.GetWorkArea();
  Engine.SlideRect.Top = Engine.WorkArea.Top;
  Engine.SlideRect.Height = Engine.WorkArea.Bottom - Engine.WorkArea.Top;
  Engine.SlideRect.Left = Engine.WorkArea.Left - Settings.Exp.Height;
  system.windows.ShowWindow(Engine.ExplorerWnd, platform::SwRestore);
  const unsigned keep = platform::SwpNoSize | platform::SwpNoMove | platform::SwpNoActivate;
  if (Managed) {
    system.windows.SetWindowPos(Engine.ExplorerWnd, platform::HwndTopmost, 0, 0, 0, 0, keep);
    LetMessagesRun();
    ParkExplorer();
  } else {
    system.windows.SetWindowPos(Engine.ExplorerWnd, platform::HwndNoTopmost, 0, 0, 0, 0, keep);
  }
  Engine.ShownEdge = EdgeNone;
  return true;
}

int TForm1::FindExplorerWindows(TFoundWindows& Table, const std::string& ExePath) {
  platform::Platform& system = System();
  const std::string key = Lower(ExePath);
  const std::string name = FileNamePart(key);
  WinList1->Refresh();
  for (int i = 0; i < WinList1->Count(); ++i) {
    const platform::Hwnd window = WinList1->GetHandle(i);
    const bool exeKnown = !WinList1->GetExeFile(i).empty();
    std::string text = Lower(WinList1->GetExeFile(i));
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
      while (record == window && !Passed(system.kernel.GetTickCount(), deadline)) {
        LetMessagesRun();
        WaitProcessing(50);
        system.kernel.Sleep(50);
        record = system.windows.GetLastActivePopup(window);
      }
      if (record == window) continue;
    }
    Insert(Table, record);
  }
  return Table.Count;
}

void TForm1::WaitProcessing(std::uint32_t Milliseconds) {
  const platform::Kernel& kernel = System().kernel;
  const std::uint32_t deadline = kernel.GetTickCount() + Milliseconds;
  do {
    LetMessagesRun();
  } while (!Passed(kernel.GetTickCount(), deadline));
}

}  // namespace varnel
