#pragma once
// Hears every change of the clipboard: a hidden window of its own joins the clipboard viewer
// chain while a handler is assigned, and passes each notice on down the chain.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "framework/Component.h"
#include "platform/Platform.h"
#include "platform/Ui.h"

namespace varnel {

// The system has no window left to give.
class EOutOfResources : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TNkClipDetector : public TComponent, private platform::ControlSink {
 public:
  TNkClipDetector(TComponent* owner, std::string name, platform::Platform& platform);
  ~TNkClipDetector() override;

  const TNotifyEvent& OnClipChange() const { return onClipChange_; }
  // Assigning a handler joins the chain, assigning none leaves it.
  void SetOnClipChange(TNotifyEvent handler);
  // The notice the system sends while the detector joins fires nothing.
  bool IgnoreFirst = true;

  // The detector's own window; none while it is outside the chain.
  platform::Hwnd Handle() const;
  platform::Hwnd NextViewer() const { return nextViewer_; }

 protected:
  virtual void ClipChanged();

 private:
  std::optional<std::intptr_t> PeerWindowMessage(unsigned message, std::uintptr_t wParam,
                                                 std::intptr_t lParam) override;
  std::intptr_t ClipWndProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  void LeaveChain();
  // Sends to the next viewer, waiting at most kPassOnTimeoutMs; its answer, 0 for none.
  std::intptr_t PassOn(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  static constexpr unsigned kPassOnTimeoutMs = 1000;

  platform::Platform& platform_;
  TNotifyEvent onClipChange_;
  platform::Hwnd nextViewer_{};
  bool registering_ = false;
  // A handler that lets messages run can meet the next notice inside itself; that one is
  // passed on but fires nothing.
  bool changing_ = false;
  std::unique_ptr<platform::ControlPeer> window_;
};

}  // namespace varnel
