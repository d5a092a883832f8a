#pragma once
// The application object: the hidden "TApplication" window every process of the program owns,
// its forms, the message loop, and the default handler that shows an error to the user.

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "framework/Component.h"
#include "framework/Forms.h"
#include "platform/Platform.h"
#include "platform/Ui.h"

namespace varnel {

class TPopupMenu;

class TApplication : public TComponent, private platform::ControlSink {
 public:
  explicit TApplication(platform::Platform& platform);
  ~TApplication() override;

  platform::Platform& Platform() const { return platform_; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  // The hidden application window.
  platform::Hwnd Handle() const;

  // Builds a form owned by the application; the first one is the main form. Its OnCreate has
  // run when this returns, unless the application was told to end meanwhile.
  template <class T, class... Args>
  T& CreateForm(Args&&... args) {
    T& form = TComponent::Create<T>(*this, *this, std::forward<Args>(args)...);
    if (mainForm_ == nullptr) mainForm_ = &form;
    // A process told to end while its form was being read (a second start) sets nothing up.
    if (!terminated_) form.DoCreate();
    return form;
  }
  TForm* MainForm() const { return mainForm_; }

  // Shows the main form and dispatches messages until Terminate.
  void Run();
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The popup menu on screen now, or null. The system shows one menu at a time, so while one
  // is open no other menu of the program pops.
  const TPopupMenu* ShownMenu() const { return shownMenu_; }
  void SetShownMenu(const TPopupMenu* menu) { shownMenu_ = menu; }

  // Runs a user's action; an error it raises is shown in a message box.
  void Guarded(const std::function<void()>& action);
  void ShowException(const std::exception& error);

 protected:
  void ReferenceRemoved(TComponent& component) override;

 private:
  platform::Platform& platform_;
  std::string title_;
  std::unique_ptr<platform::ControlPeer> window_;
  TForm* mainForm_ = nullptr;
  const TPopupMenu* shownMenu_ = nullptr;
  bool terminated_ = false;
};

// The application that owns `component`, directly or through its owners.
TApplication* FindApplication(TComponent& component);

}  // namespace varnel
