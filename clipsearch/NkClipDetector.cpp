#include "clipsearch/NkClipDetector.h"

#include "base/ScopeExit.h"
#include "framework/Application.h"
#include "platform/Refusal.h"

namespace varnel {

TNkClipDetector::TNkClipDetector(TComponent* owner, std::string name, platform::Platform& platform)
    : TComponent(owner, std::move(name)), platform_(platform) {}

TNkClipDetector::~TNkClipDetector() { LeaveChain(); }

platform::Hwnd TNkClipDetector::Handle() const {
  return window_ ? window_->Handle() : platform::kNoWindow;
}

void TNkClipDetector::SetOnClipChange(TNotifyEvent handler) {
  if (DesignMode()) {
    onClipChange_ = std::move(handler);
    return;
  }
  if (!handler) {
    LeaveChain();
    return;
  }
  if (!window_) {
    platform::ControlSpec spec;
    spec.kind = platform::ControlKind::UtilityWindow;
    try {
      window_ = platform_.ui.CreateControl(spec, nullptr, *this);
    } catch (const platform::SystemRefusal&) {
      throw EOutOfResources("TNkClipDetector.SetOnClipChange: Cannot Allocate HWnd");
    }
    onClipChange_ = std::move(handler);
    const auto registering = RaiseForScope(registering_);
    nextViewer_ = platform_.clipboard.SetClipboardViewer(window_->Handle());
    return;
  }
  onClipChange_ = std::move(handler);
}

void TNkClipDetector::LeaveChain() {
  if (!window_) return;
  // Leaving lets messages sent to us in while it waits for the chain; a change seen then is
  // passed on but fires nothing, as the handler (and at exit the form behind it) is going.
  onClipChange_ = nullptr;
  platform_.clipboard.ChangeClipboardChain(window_->Handle(), nextViewer_);
  window_.reset();
  nextViewer_ = platform::kNoWindow;
}

// A viewer further down the chain is another program, which may have stopped taking
// messages; waiting on it without limit would stop the edges, the tray and the exit with it.
// It is given a second; a notice it did not take in time still reaches it when it runs again.
std::intptr_t TNkClipDetector::PassOn(unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  std::intptr_t answer = 0;
  platform_.windows.SendMessageTimeout(nextViewer_, message, wParam, lParam,
                                       platform::SmtoAbortIfHung, kPassOnTimeoutMs, &answer);
  return answer;
}

void TNkClipDetector::ClipChanged() {
  if (onClipChange_) onClipChange_(*this);
}

std::optional<std::intptr_t> TNkClipDetector::PeerWindowMessage(unsigned message,
                                                                std::uintptr_t wParam,
                                                                std::intptr_t lParam) {
  if (message != platform::WmDrawClipboard && message != platform::WmChangeCbChain) {
    return std::nullopt;
  }
  return ClipWndProc(message, wParam, lParam);
}

std::intptr_t TNkClipDetector::ClipWndProc(unsigned message, std::uintptr_t wParam,
                                           std::intptr_t lParam) {
  if (message == platform::WmDrawClipboard) {
    if (!(IgnoreFirst && registering_) && !changing_) {
      const auto changing = RaiseForScope(changing_);
      // The rest of the chain must hear of the change whatever the handler does.
      if (TApplication* application = FindApplication(*this)) {
        application->Guarded([this] { ClipChanged(); });
      } else {
        try {
          ClipChanged();
        } catch (const std::exception&) {
        }
      }
    }
    if (nextViewer_ != platform::kNoWindow) PassOn(platform::WmDrawClipboard, 0, 0);
    return 0;
  }
  // WM_CHANGECBCHAIN: the window after us leaves, and the one after it takes its place; any
  // other leaver is someone further down the chain.
  if (static_cast<platform::Hwnd>(wParam) == nextViewer_) {
    nextViewer_ = static_cast<platform::Hwnd>(lParam);
    return 0;
  }
  if (nextViewer_ == platform::kNoWindow) return 0;
  return PassOn(message, wParam, lParam);
}

}  // namespace varnel
