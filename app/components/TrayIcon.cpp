#include "app/components/TrayIcon.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/Application.h"

namespace varnel {

namespace {

// Every tray icon of the process, by identifier, and the window their callbacks reach. It
// lives as long as the program; an icon leaves it when it is destroyed.
struct IconRegistry {
  std::vector<std::pair<std::string, TTrayIcon*>> icons;
  TCallbackWindow* window = nullptr;

  TTrayIcon* Find(const std::string& id) const {
    for (const auto& [text, icon] : icons) {
      if (text == id) return icon;
    }
    return nullptr;
  }
};

IconRegistry& Registry() {
  static IconRegistry registry;
  return registry;
}

}  // namespace

std::string CutAtCharacters(const std::string& text, int characters) {
  std::size_t end = 0;
  for (int count = 0; end < text.size() && count < characters; ++count) {
    // Step over one UTF-8 sequence: its lead byte and the continuation bytes after it.
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

// --- TCallbackWindow ----------------------------------------------------------------------

TCallbackWindow::TCallbackWindow(TComponent* owner, std::string name, TControl& parent)
    : TControl(owner, std::move(name), parent) {
  platform::ControlSpec spec;
  spec.kind = platform::ControlKind::CallbackWindow;
  CreatePeer(spec);
}

TCallbackWindow::~TCallbackWindow() {
  if (Registry().window == this) Registry().window = nullptr;
}

void TCallbackWindow::PeerMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (message != kCallbackMessage) return;
  TTrayIcon* icon = Registry().Find(std::to_string(wParam));
  if (icon == nullptr) return;
  Guarded([icon, lParam] { icon->HandleCallback(static_cast<unsigned>(lParam)); });
}

void TCallbackWindow::PeerTaskbarCreated() {
  // Copied first: an icon's add may run messages, and with them changes to the registry.
  const auto icons = Registry().icons;
  for (const auto& [id, icon] : icons) {
    Guarded([icon = icon] { icon->TaskbarCreated(); });
  }
}

// --- TTrayIcon ----------------------------------------------------------------------------

TTrayIcon::TTrayIcon(TComponent* owner, std::string name, TForm& form)
    : TComponent(owner, std::move(name)), form_(form), platform_(form.Application().Platform()) {
  IconRegistry& registry = Registry();
  if (static_cast<int>(registry.icons.size()) >= kMaxIcons) {
    throw ENotifyIconError("タスクトレイにアイコンを登録できません。");
  }
  id_ = registry.icons.empty() ? 1 : std::stoul(registry.icons.back().first) + 1;
  registry.icons.emplace_back(std::to_string(id_), this);
  if (DesignMode()) return;
  if (registry.window == nullptr) {
    registry.window = &TComponent::Create<TCallbackWindow>(*Owner(), "TrayCallbackWindow", form);
  }
  record_.id = id_;
  record_.callbackMessage = TCallbackWindow::kCallbackMessage;
}

TTrayIcon::~TTrayIcon() {
  if (id_ == 0) return;
  if (singleClickTimer_ != 0) platform_.ui.KillTimer(singleClickTimer_);
  if (!DesignMode() && added_) UpdateTrayIcon(Action::Delete);
  auto& icons = Registry().icons;
  icons.erase(std::remove_if(icons.begin(), icons.end(),
                             [this](const auto& entry) { return entry.second == this; }),
              icons.end());
}

void TTrayIcon::SetAnimateIcons(TImageList* images) {
  animateIcons_ = images;
  if (images != nullptr) images->FreeNotification(*this);
}

void TTrayIcon::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) clickPending_ = false;
}

void TTrayIcon::SetIcon(platform::ImageRef icon) {
  icon_ = std::move(icon);
  if (!DesignMode()) RefreshTrayIcon();
}

void TTrayIcon::SetLBPopupMenu(TPopupMenu* menu) {
  lbPopupMenu_ = menu;
  if (menu != nullptr) menu->FreeNotification(*this);
}

void TTrayIcon::SetRBPopupMenu(TPopupMenu* menu) {
  rbPopupMenu_ = menu;
  if (menu != nullptr) menu->FreeNotification(*this);
}

void TTrayIcon::SetTipHelp(const std::string& tip) {
  // Setting the same tip every tick costs nothing: only a change reaches the shell.
  const std::string cut = CutAtCharacters(tip, kMaxTipCharacters);
  if (cut == tipHelp_) return;
  tipHelp_ = cut;
  if (!DesignMode()) RefreshTrayIcon();
}

void TTrayIcon::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible && CurrentIconHandle() != nullptr;
  if (DesignMode() || Loading()) return;
  if (visible_) {
    UpdateTrayIcon(Action::Add);
  } else if (added_) {
    UpdateTrayIcon(Action::Delete);
  }
}

void TTrayIcon::ReadStarting() {
  if (readingStarted_) return;
  readingStarted_ = true;
  tipHelp_.clear();
}

void TTrayIcon::LoadFinished() {
  readingStarted_ = false;
  // A process that is to end before it starts (a second start) shows no icon, not even for
  // a moment.
  if (!DesignMode() && !form_.Application().Terminated()) UpdateTrayIcon(Action::Add);
}

void TTrayIcon::ReferenceRemoved(TComponent& component) {
  if (&component == lbPopupMenu_) lbPopupMenu_ = nullptr;
  if (&component == rbPopupMenu_) rbPopupMenu_ = nullptr;
  if (&component == animateIcons_) animateIcons_ = nullptr;
}

platform::ImageRef TTrayIcon::CurrentIconHandle() const {
  // Its own picture, else the program's: the form and the application show the same one.
  if (icon_) return icon_;
  return platform_.ui.LoadImageResource("MAINICON");
}

void TTrayIcon::UpdateTrayIcon(Action action) {
  record_.icon = CurrentIconHandle();
  record_.tip = tipHelp_;
  record_.flags = platform::NifMessage | platform::NifIcon |
                  (tipHelp_.empty() ? 0u : platform::NifTip);
  switch (action) {
    case Action::Add:
      if (!visible_) return;
      record_.window = Registry().window != nullptr ? Registry().window->Handle()
                                                    : platform::kNoWindow;
      // An icon the shell already holds under our id only needs its record brought up to date.
      added_ = platform_.shell.ShellNotifyIcon(platform::NimAdd, record_) ||
               platform_.shell.ShellNotifyIcon(platform::NimModify, record_);
      break;
    case Action::Modify:
      // Refused when the shell no longer has the icon: the next RetryAdd puts it back.
      added_ = platform_.shell.ShellNotifyIcon(platform::NimModify, record_);
      break;
    case Action::Delete:
      platform_.shell.ShellNotifyIcon(platform::NimDelete, record_);
      added_ = false;
      break;
  }
}

void TTrayIcon::RefreshTrayIcon() {
  if (added_) UpdateTrayIcon(Action::Modify);
}

void TTrayIcon::RetryAdd() {
  if (visible_ && !added_ && !DesignMode() && !Loading()) UpdateTrayIcon(Action::Add);
}

void TTrayIcon::TaskbarCreated() {
  added_ = false;
  RetryAdd();
}

void TTrayIcon::HandleCallback(unsigned mouseMessage) {
  if (!enabled_) return;
  const platform::Point at = platform_.windows.GetCursorPos();
  switch (mouseMessage) {
    case platform::WmMouseMove:
      if (OnMouseMove) OnMouseMove(*this, ssNone, at.X, at.Y);
      break;
    case platform::WmLButtonDown:
      ButtonDown(lbPopupMenu_, TMouseButton::mbLeft, ssLeft, at);
      break;
    case platform::WmLButtonUp:
      if (OnMouseUp) {
        OnMouseUp(*this, TMouseButton::mbLeft, ssLeft, at.X, at.Y);
      } else if (OnClick) {
        if (!clickPending_) {
          clickPending_ = true;
          StartSingleClickWait();
        } else {
          clickPending_ = false;
        }
      } else {
        clickPending_ = false;
      }
      break;
    case platform::WmLButtonDblClk:
      clickPending_ = true;
      if (OnDblClick) OnDblClick(*this);
      break;
    case platform::WmRButtonDown:
      ButtonDown(rbPopupMenu_, TMouseButton::mbRight, ssRight, at);
      break;
    case platform::WmRButtonUp:
      if (OnMouseUp) OnMouseUp(*this, TMouseButton::mbRight, ssRight, at.X, at.Y);
      break;
    case platform::WmMButtonDown:
      if (OnMouseDown) OnMouseDown(*this, TMouseButton::mbMiddle, ssMiddle, at.X, at.Y);
      break;
    case platform::WmMButtonUp:
      if (OnMouseUp) OnMouseUp(*this, TMouseButton::mbMiddle, ssMiddle, at.X, at.Y);
      break;
    default:
      break;
  }
}

void TTrayIcon::ButtonDown(TPopupMenu* menu, TMouseButton button, int flag, platform::Point at) {
  if (menu != nullptr && AutoPopup) {
    // The menu closes when the user clicks elsewhere only if its owner is in the foreground.
    platform_.windows.SetForegroundWindow(form_.Handle());
    platform_.ui.ProcessMessages();
    menu->Popup(at.X, at.Y);
  } else if (OnMouseDown) {
    OnMouseDown(*this, button, flag, at.X, at.Y);
  }
}

void TTrayIcon::StartSingleClickWait() {
  // A single click is told from a double click by waiting out the double-click time: a
  // second button-up inside it clears the pending click.
  // One wait at a time: a wait started while another runs (a triple click) replaces it, or
  // the older timer would tick on forever.
  if (singleClickTimer_ != 0) platform_.ui.KillTimer(singleClickTimer_);
  const unsigned wait = platform_.kernel.GetDoubleClickTime() + 50;
  singleClickTimer_ = platform_.ui.SetTimer(wait, [this] {
    platform_.ui.KillTimer(singleClickTimer_);
    singleClickTimer_ = 0;
    const bool fire = clickPending_ && OnClick;
    clickPending_ = false;
    if (fire) OnClick(*this);
  });
}

}  // namespace varnel
