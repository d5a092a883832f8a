#include "platform/win32/Win32Ui.h"

#include <stdexcept>
#include <string>

#include "platform/Refusal.h"
#include "platform/win32/Image.h"
#include "platform/win32/Peers.h"
#include "platform/win32/PopupMenu.h"
#include "platform/win32/Text.h"
#include "resources/ResourceIds.h"

namespace varnel::win32 {

namespace {

constexpr wchar_t kMessageWindowClass[] = L"VarnelMessageWindow";
constexpr UINT kRunTaskMessage = WM_APP + 1;

using Task = std::function<void()>;

}  // namespace

Win32Ui::Win32Ui() {
  RegisterPeerClasses();
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = MessageWindowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kMessageWindowClass;
  ::RegisterClassExW(&windowClass);
  messageWindow_.reset(::CreateWindowExW(0, kMessageWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                         nullptr, ::GetModuleHandleW(nullptr), this));
  if (!messageWindow_) {
    throw platform::SystemRefusal(platform::Refused::Window, "CreateWindowExW");
  }
}

Win32Ui::~Win32Ui() {
  for (const auto& timer : timers_) ::KillTimer(messageWindow_.get(), timer.first);
  // Tasks still in the queue own their heap copy.
  MSG message;
  while (::PeekMessageW(&message, messageWindow_.get(), kRunTaskMessage, kRunTaskMessage,
                        PM_REMOVE)) {
    delete reinterpret_cast<Task*>(message.lParam);
  }
}

std::unique_ptr<platform::ControlPeer> Win32Ui::CreateControl(const platform::ControlSpec& spec,
                                                              platform::ControlPeer* parent,
                                                              platform::ControlSink& sink) {
  auto* parentPeer = dynamic_cast<WindowPeer*>(parent);
  if (parent && !parentPeer) throw std::invalid_argument("parent is not a window of this UI");
  if (!::IsWindow(applicationWindow_)) applicationWindow_ = nullptr;
  // The default button answers Enter: the dialog manager sends IDOK.
  const int controlId = spec.defaultButton ? IDOK : nextControlId_++;
  auto peer = CreatePeer({spec, parentPeer, applicationWindow_, sink, controlId});
  if (spec.kind == platform::ControlKind::ApplicationWindow) applicationWindow_ = peer->Window();
  return peer;
}

platform::TimerId Win32Ui::SetTimer(unsigned intervalMs, std::function<void()> callback) {
  while (nextTimer_ == 0 || timers_.count(nextTimer_) != 0) ++nextTimer_;
  const platform::TimerId id = nextTimer_++;
  if (!::SetTimer(messageWindow_.get(), id, intervalMs, nullptr)) {
    throw platform::SystemRefusal(platform::Refused::Timer, "SetTimer");
  }
  timers_[id] = std::move(callback);
  return id;
}

void Win32Ui::KillTimer(platform::TimerId id) {
  if (timers_.erase(id) != 0) ::KillTimer(messageWindow_.get(), id);
}

// Tab and arrow keys move between a form's controls, and Enter presses its default button, as
// in a dialog.
void Win32Ui::Dispatch(MSG& message) {
  if (message.hwnd) {
    const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    const WindowPeer* peer = WindowPeer::FromWindow(root);
    if (peer && peer->Kind() == platform::ControlKind::Form &&
        ::IsDialogMessageW(root, &message)) {
      return;
    }
  }
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

void Win32Ui::Run() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
}

void Win32Ui::ProcessMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit for the loop that Run is in.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

// MWMO_INPUTAVAILABLE: without it the wait sleeps through messages that were already in the
// queue when it began (a PeekMessage had seen them but left them), and wakes only for new ones.
bool Win32Ui::WaitForMessages(unsigned timeoutMs) {
  const DWORD woken = ::MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT,
                                                    MWMO_INPUTAVAILABLE);
  ProcessMessages();
  return woken == WAIT_OBJECT_0;
}

void Win32Ui::PostQuitMessage() { ::PostQuitMessage(0); }

void Win32Ui::PostTask(std::function<void()> task) {
  auto owned = std::make_unique<Task>(std::move(task));
  if (!::PostMessageW(messageWindow_.get(), kRunTaskMessage, 0,
                      reinterpret_cast<LPARAM>(owned.get()))) {
    throw platform::SystemRefusal(platform::Refused::PostedMessage, "PostMessageW");
  }
  (void)owned.release();  // the message owns it now
}

int Win32Ui::MessageBox(platform::Hwnd owner, const std::string& text, const std::string& caption,
                        unsigned flags) {
  return ::MessageBoxW(ToHwnd(owner), Widen(text).c_str(), Widen(caption).c_str(), flags);
}

unsigned Win32Ui::TrackPopupMenu(const std::vector<platform::MenuEntry>& items,
                                 platform::Point at, platform::Hwnd owner) {
  HWND window = ToHwnd(owner);
  if (!::IsWindow(window)) window = ::IsWindow(applicationWindow_) ? applicationWindow_ : nullptr;
  return ShowPopupMenu(items, POINT{at.X, at.Y}, window);
}

void Win32Ui::EndMenu() { ::EndMenu(); }

std::string Win32Ui::MenuWindowClass() const { return "#32768"; }

// The Launch menu's icons are numbered resources (see resources/ResourceIds.h); every other
// name is looked up as it is written.
platform::ImageRef Win32Ui::LoadImageResource(const std::string& name) {
  static constexpr struct {
    const char* name;
    int id;
  } kNumbered[] = {
      {"LAUNCH_DUAL", IDI_LAUNCH_DUAL},       {"LAUNCH_PIN", IDI_LAUNCH_PIN},
      {"LAUNCH_SUPPLEMENT", IDI_LAUNCH_SUPPLEMENT}, {"LAUNCH_EXIT", IDI_LAUNCH_EXIT},
      {"LAUNCH_SETTINGS", IDI_LAUNCH_SETTINGS}, {"LAUNCH_LOAD", IDI_LAUNCH_LOAD},
      {"PAUSED", IDI_PAUSED},
  };
  if (name.empty()) return nullptr;
  std::wstring wideName = Widen(name);
  const wchar_t* resource = wideName.c_str();
  for (const auto& numbered : kNumbered) {
    if (name == numbered.name) resource = MAKEINTRESOURCEW(numbered.id);
  }
  // 16 x 16 whatever the system's small-icon size: the menu draws every picture at that size
  // and the Launch icons are drawn for it.
  return MakeImage(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), resource,
                                                   IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
}

LRESULT CALLBACK Win32Ui::MessageWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* ui = reinterpret_cast<Win32Ui*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!ui) return ::DefWindowProcW(window, message, wParam, lParam);
  try {
    return ui->HandleMessage(window, message, wParam, lParam);
  } catch (const std::exception& error) {
    ReportCallbackFailure(error.what());
  } catch (...) {
    ReportCallbackFailure(nullptr);
  }
  return 0;
}

LRESULT Win32Ui::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: {
      const auto found = timers_.find(static_cast<platform::TimerId>(wParam));
      if (found == timers_.end()) return 0;
      // A copy: the callback may kill its own timer.
      const std::function<void()> callback = found->second;
      if (callback) callback();
      return 0;
    }
    case kRunTaskMessage: {
      const std::unique_ptr<Task> task(reinterpret_cast<Task*>(lParam));
      if (task && *task) (*task)();
      return 0;
    }
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace varnel::win32
