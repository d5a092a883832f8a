#pragma once
// The whole simulated system in one object a test builds fresh: nothing survives a test.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/sim/SimClipboard.h"
#include "platform/sim/SimCodepage.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimUi.h"

namespace varnel::sim {

class SimKernel : public platform::Kernel {
 public:
  SimKernel(SimClock& clock, SimDesktop& desktop) : clock_(clock), desktop_(desktop) {}
  std::string GetModuleFileName() const override { return moduleFileName_; }
  std::uint32_t GetTickCount() const override { return clock_.Now(); }
  // A wait on the simulated clock: time passes, nothing else happens meanwhile.
  void Sleep(unsigned milliseconds) override { clock_.Advance(milliseconds); }

  std::string GetWindowsDirectory() const override { return windowsDirectory_; }
  std::uint32_t GetCurrentProcessId() const override { return kOwnProcessId; }
  // The desktop's record of the process: what it was added with, a full path or a bare name.
  std::optional<std::string> QueryFullProcessImageName(std::uint32_t processId) const override;
  LocalTime GetLocalTime() const override { return localTime_; }
  // The Japanese names, as a Japanese Windows gives them.
  std::string GetDayName(int dayOfWeek) const override;
  unsigned GetDoubleClickTime() const override { return 500; }
  // Letters compared without case, everything else by its bytes.
  int CompareText(const std::string& a, const std::string& b) const override;
  void SetLocalTime(const LocalTime& time) { localTime_ = time; }
  // The desktop's processes, unless the platform is to have no snapshot.
  std::optional<std::vector<platform::ProcessEntry>> CreateProcessSnapshot() const override;
  platform::CreatedMutex CreateMutex(const std::string& name) override;
  // Another process holds the named mutex from now on (or lets it go).
  void HoldMutexElsewhere(const std::string& name, bool held);
  // Another process holds the named mutex with rights that refuse this one access.
  void RefuseMutex(const std::string& name) { (*mutexes_)[name].refused = true; }
  // How many handles of this process hold the named mutex.
  int MutexHolders(const std::string& name) const;

  void SetModuleFileName(std::string path) { moduleFileName_ = std::move(path); }
  void SetWindowsDirectory(std::string path) { windowsDirectory_ = std::move(path); }
  void SetSnapshotAvailable(bool available) { snapshotAvailable_ = available; }

 private:
  SimClock& clock_;
  SimDesktop& desktop_;
  std::string moduleFileName_ = "C:\\Tools\\Varnel\\varnel.exe";
  std::string windowsDirectory_ = "C:\\WINDOWS";
  bool snapshotAvailable_ = true;
  LocalTime localTime_{2026, 12, 7, 1, 14, 5};
  // Named mutexes by name: the handles open on each, in this process and elsewhere.
  struct MutexUse {
    int own = 0;
    bool elsewhere = false;
    bool refused = false;
  };
  std::shared_ptr<std::map<std::string, MutexUse>> mutexes_ =
      std::make_shared<std::map<std::string, MutexUse>>();
};

// A picture on the simulated desktop: what it shows, by name.
class SimImage : public platform::Image {
 public:
  explicit SimImage(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

// The name of the picture behind `image`, empty for none.
std::string ImageName(const platform::ImageRef& image);

// One of the shell's windows as the automation object reports it; a test makes any read fail.
struct SimShellWindow {
  platform::Hwnd hwnd{};
  std::string locationUrl;
  bool itemFails = false;      // Item(i) or its IWebBrowser2 cannot be had
  bool hwndFails = false;      // get_HWND fails (the window is closing)
  bool locationFails = false;  // get_LocationURL fails
};

class SimShell;

class SimShellDispatch : public platform::ShellDispatch {
 public:
  explicit SimShellDispatch(SimShell& shell) : shell_(shell) {}
  std::unique_ptr<platform::ShellWindows> Windows() override;

 private:
  SimShell& shell_;
};

struct ShellExecuteCall {
  platform::Hwnd owner{};
  std::string verb;
  std::string file;
  std::string parameters;
  std::string directory;
  int showCommand = 0;
};

// The shell: records every ShellExecute. Asked to start explorer.exe, it opens a new Explorer
// window of a new process after `explorerDelayMs` on the simulated clock, or never.
class SimShell : public platform::Shell {
 public:
  SimShell(SimDesktop& desktop, SimUi& ui) : desktop_(desktop), ui_(ui) {}

  std::unique_ptr<platform::ShellDispatch> CreateShellApplication() override;
  std::intptr_t ShellExecute(platform::Hwnd owner, const std::string& verb,
                             const std::string& file, const std::string& parameters,
                             const std::string& directory, int showCommand) override;
  // The icon of the file's type: "type:" and its extension in lower case.
  platform::ImageRef GetFileIcon(const std::string& path) override;
  bool ShellNotifyIcon(unsigned action, const platform::NotifyIconData& data) override;
  int SHQueryUserNotificationState() override { return notificationState; }
  // What SHQueryUserNotificationState answers.
  int notificationState = platform::QunsAcceptsNotifications;

  int FileIconRequests() const { return fileIconRequests_; }
  struct NotifyCall {
    unsigned action;
    platform::NotifyIconData data;
  };
  const std::vector<NotifyCall>& NotifyCalls() const { return notifyCalls_; }
  // The notification area: the icons in it by id.
  const std::map<unsigned, platform::NotifyIconData>& Tray() const { return tray_; }
  // Without a taskbar (Explorer not running yet, or restarting) no icon can be added.
  void SetTaskbarRunning(bool running);
  // Explorer restarted: the notification area starts empty and the shell says so.
  void RestartTaskbar();

  void SetAvailable(bool available) { available_ = available; }
  int CreatedCount() const { return created_; }
  const std::vector<ShellExecuteCall>& Calls() const { return calls_; }
  // Nothing: the Explorer never opens a window.
  void SetExplorerDelay(std::optional<unsigned> delayMs) { explorerDelayMs_ = delayMs; }
  // What the process snapshot reports as the Explorer's executable.
  void SetExplorerExeFile(std::string exeFile) { explorerExeFile_ = std::move(exeFile); }
  // An Explorer window as the shell opens it, of a new process; its handle.
  platform::Hwnd OpenExplorerWindow(const std::string& caption);
  const std::vector<platform::Hwnd>& ExplorerWindows() const { return explorers_; }

  // The shell's window collection, first item first.
  std::vector<SimShellWindow> shellWindows;
  // While set, the collection itself cannot be had (Windows() or get_Count fails).
  bool shellWindowsFail = false;
  // Runs inside every ShellExecute once the call is recorded: what the system lets happen
  // while a start waits (a security prompt's message loop, ticks of the program's timer).
  std::function<void()> whileExecuting;
  // What the next ShellExecute answers instead of success (SeErrNoAssoc: no program is
  // registered for the file's type).
  std::optional<std::intptr_t> nextExecuteAnswer;

 private:
  SimDesktop& desktop_;
  SimUi& ui_;
  bool available_ = true;
  int created_ = 0;
  std::vector<ShellExecuteCall> calls_;
  std::optional<unsigned> explorerDelayMs_ = 600;
  std::string explorerExeFile_ = "explorer.exe";
  std::vector<platform::Hwnd> explorers_;
  int fileIconRequests_ = 0;
  std::vector<NotifyCall> notifyCalls_;
  std::map<unsigned, platform::NotifyIconData> tray_;
  bool taskbarRunning_ = true;
};

class SimPlatform {
 public:
  SimPlatform();
  SimPlatform(const SimPlatform&) = delete;
  SimPlatform& operator=(const SimPlatform&) = delete;

  platform::Platform& Get() { return platform_; }

  SimClock clock;
  SimDesktop desktop;
  SimFileSystem files;
  SimCodepage codepage;
  SimClipboard clipboard{desktop};
  SimKernel kernel{clock, desktop};
  SimUi ui{desktop, clock};
  SimShell shell{desktop, ui};
  SimRegistry registry;

 private:
  platform::Platform platform_;
};

}  // namespace varnel::sim
