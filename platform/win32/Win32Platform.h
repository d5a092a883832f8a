#pragma once
// The real platform: one instance of every service, for the program's whole life, and the
// kernel and shell services that have no file of their own. Creating it readies the thread for
// the shell's COM objects and the common controls. Its counterpart on the simulated desktop is
// SimPlatform. Kept free of <windows.h> so that app/ can create it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Ui.h"

// The shell's automation interface, named here without its header (see above).
struct IShellDispatch;

namespace varnel::win32 {

class Win32Kernel final : public platform::Kernel {
 public:
  std::string GetModuleFileName() const override;
  std::uint32_t GetTickCount() const override;
  void Sleep(unsigned milliseconds) override;
  std::string GetWindowsDirectory() const override;
  std::optional<std::vector<platform::ProcessEntry>> CreateProcessSnapshot() const override;
  std::uint32_t GetCurrentProcessId() const override;
  std::optional<std::string> QueryFullProcessImageName(std::uint32_t processId) const override;
  LocalTime GetLocalTime() const override;
  std::string GetDayName(int dayOfWeek) const override;
  unsigned GetDoubleClickTime() const override;
  int CompareText(const std::string& a, const std::string& b) const override;
  platform::CreatedMutex CreateMutex(const std::string& name) override;
};

// The shell application object, through its IShellDispatch interface.
class Win32ShellDispatch final : public platform::ShellDispatch {
 public:
  // Takes over the reference `dispatch` carries.
  explicit Win32ShellDispatch(IShellDispatch* dispatch) : dispatch_(dispatch) {}
  IShellDispatch* Get() const { return dispatch_.get(); }
  std::unique_ptr<platform::ShellWindows> Windows() override;

 private:
  struct Release {
    void operator()(IShellDispatch* dispatch) const;
  };
  std::unique_ptr<IShellDispatch, Release> dispatch_;
};

class Win32Shell final : public platform::Shell {
 public:
  std::unique_ptr<platform::ShellDispatch> CreateShellApplication() override;
  std::intptr_t ShellExecute(platform::Hwnd owner, const std::string& verb, const std::string& file,
                             const std::string& parameters, const std::string& directory,
                             int showCommand) override;
  platform::ImageRef GetFileIcon(const std::string& path) override;
  bool ShellNotifyIcon(unsigned action, const platform::NotifyIconData& data) override;
  int SHQueryUserNotificationState() override;
};

class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  platform::Platform& Get();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace varnel::win32
