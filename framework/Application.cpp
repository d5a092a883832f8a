#include "framework/Application.h"

#include "platform/Refusal.h"

namespace varnel {

namespace {

// What the user reads when the system refuses the program something, or else the error's own
// words.
std::string Describe(const std::exception& error) {
  const auto* refusal = dynamic_cast<const platform::SystemRefusal*>(&error);
  if (refusal == nullptr) return error.what();
  switch (refusal->Request()) {
    case platform::Refused::Window: return "ウィンドウを作成できません";
    case platform::Refused::Timer: return "タイマーを作成できません";
    case platform::Refused::PostedMessage: return "メッセージを送れません";
  }
  return error.what();
}

}  // namespace

TApplication::TApplication(platform::Platform& platform)
    : TComponent(nullptr, "Application"), platform_(platform) {
  platform::ControlSpec spec;
  spec.kind = platform::ControlKind::ApplicationWindow;
  spec.className = "TApplication";
  window_ = platform_.ui.CreateControl(spec, nullptr, *this);
}

TApplication::~TApplication() {
  // The forms are owned windows of the application window: they go first.
  DestroyComponents();
  window_.reset();
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  window_->SetText(title);
}

platform::Hwnd TApplication::Handle() const { return window_->Handle(); }

void TApplication::Run() {
  if (mainForm_ == nullptr || terminated_) return;
  // The application window is shown with no size: nothing of it can be seen, but menus it
  // owns and the Launch trigger see a visible owner, as the program expects.
  window_->SetVisible(true);
  mainForm_->SetVisible(true);
  if (!terminated_) platform_.ui.Run();
}

void TApplication::ProcessMessages() { platform_.ui.ProcessMessages(); }

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  platform_.ui.PostQuitMessage();
}

void TApplication::Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

void TApplication::ShowException(const std::exception& error) {
  const platform::Hwnd owner = mainForm_ != nullptr ? mainForm_->Handle() : Handle();
  platform_.ui.MessageBox(owner, Describe(error), title_, platform::MbOk | platform::MbIconError);
}

void TApplication::ReferenceRemoved(TComponent& component) {
  if (&component == mainForm_) mainForm_ = nullptr;
}

TApplication* FindApplication(TComponent& component) {
  for (TComponent* current = &component; current != nullptr; current = current->Owner()) {
    if (auto* application = dynamic_cast<TApplication*>(current)) return application;
  }
  return nullptr;
}

}  // namespace varnel
