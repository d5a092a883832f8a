#pragma once
// The user-interface service on real windows: control peers, timers and posted tasks on a
// hidden message-only window, and the message loop. Its counterpart on the simulated desktop
// is SimUi; Peers, PopupMenu, Fonts and Text are its parts.

#include <map>

#include "platform/Ui.h"
#include "platform/win32/Resource.h"

namespace varnel::win32 {

class Win32Ui final : public platform::Ui {
 public:
  Win32Ui();
  ~Win32Ui() override;
  Win32Ui(const Win32Ui&) = delete;
  Win32Ui& operator=(const Win32Ui&) = delete;

  std::unique_ptr<platform::ControlPeer> CreateControl(const platform::ControlSpec& spec,
                                                       platform::ControlPeer* parent,
                                                       platform::ControlSink& sink) override;
  platform::TimerId SetTimer(unsigned intervalMs, std::function<void()> callback) override;
  void KillTimer(platform::TimerId id) override;
  void Run() override;
  void ProcessMessages() override;
  bool WaitForMessages(unsigned timeoutMs) override;
  void PostQuitMessage() override;
  void PostTask(std::function<void()> task) override;
  int MessageBox(platform::Hwnd owner, const std::string& text, const std::string& caption,
                 unsigned flags) override;
  unsigned TrackPopupMenu(const std::vector<platform::MenuEntry>& items, platform::Point at,
                          platform::Hwnd owner) override;
  void EndMenu() override;
  std::string MenuWindowClass() const override;
  platform::ImageRef LoadImageResource(const std::string& name) override;
  // In Dialogs.cpp.
  std::optional<std::string> BrowseForFolder(platform::Hwnd owner, const std::string& title,
                                             const std::string& folder) override;
  std::optional<std::string> GetOpenFileName(platform::Hwnd owner, const std::string& filter,
                                             const std::string& defaultExtension) override;

 private:
  static LRESULT CALLBACK MessageWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void Dispatch(MSG& message);

  unique_hwnd messageWindow_;
  std::map<platform::TimerId, std::function<void()>> timers_;
  platform::TimerId nextTimer_ = 1;
  // Not owned: the framework owns the application window's peer.
  HWND applicationWindow_ = nullptr;
  int nextControlId_ = 1000;
};

}  // namespace varnel::win32
