#include "hotkeys/GlobalHotkeys.h"

#include <utility>

namespace varnel {

namespace {

constexpr std::array<HotkeyAction, 3> kActions{HotkeyAction::Explorer, HotkeyAction::Launch,
                                               HotkeyAction::Pause};

const std::string& TextOf(const Settings::HotkeySection& settings, HotkeyAction action) {
  switch (action) {
    case HotkeyAction::Explorer: return settings.Explorer;
    case HotkeyAction::Launch: return settings.Launch;
    case HotkeyAction::Pause: break;
  }
  return settings.Pause;
}

// The id a keystroke is held under: the action's number, from 1.
int IdOf(HotkeyAction action) { return static_cast<int>(action) + 1; }

}  // namespace

std::string HotkeyActionName(HotkeyAction action) {
  switch (action) {
    case HotkeyAction::Explorer: return "Explorer の表示";
    case HotkeyAction::Launch: return "Launch メニュー";
    case HotkeyAction::Pause: break;
  }
  return "一時停止";
}

GlobalHotkeys::GlobalHotkeys(platform::Platform& platform, Pressed pressed)
    : platform_(platform), pressed_(std::move(pressed)) {}

GlobalHotkeys::~GlobalHotkeys() {
  for (const HotkeyAction action : kActions) LetGo(action);
}

const std::optional<Hotkey>& GlobalHotkeys::Held(HotkeyAction action) const {
  return held_[static_cast<std::size_t>(action)];
}

std::string GlobalHotkeys::Apply(const Settings::HotkeySection& settings) {
  std::string refused;
  for (const HotkeyAction action : kActions) {
    const std::optional<Hotkey> wanted = ParseHotkey(TextOf(settings, action));
    if (wanted == Held(action)) continue;
    LetGo(action);
    if (!wanted || Hold(action, *wanted)) continue;
    const std::string named = FormatHotkey(*wanted) + " キー（" + HotkeyActionName(action) + "）";
    if (reported_.insert(named).second) refused += "\n　" + named;
  }
  if (refused.empty()) return {};
  return "次のホットキーは他のプログラムが使っているため使えません。" + refused +
         "\n設定の「その他」ページで別のキーを選んでください。";
}

bool GlobalHotkeys::Hold(HotkeyAction action, const Hotkey& hotkey) {
  if (!window_) {
    platform::ControlSpec spec;
    spec.kind = platform::ControlKind::UtilityWindow;
    window_ = platform_.ui.CreateControl(spec, nullptr, *this);
  }
  // Held down, a keystroke would repeat: the Explorer would slide out and back in a row.
  if (!platform_.windows.RegisterHotKey(window_->Handle(), IdOf(action),
                                        hotkey.modifiers | platform::ModNoRepeat,
                                        hotkey.virtualKey)) {
    return false;
  }
  held_[static_cast<std::size_t>(action)] = hotkey;
  return true;
}

void GlobalHotkeys::LetGo(HotkeyAction action) {
  std::optional<Hotkey>& held = held_[static_cast<std::size_t>(action)];
  if (!held) return;
  platform_.windows.UnregisterHotKey(window_->Handle(), IdOf(action));
  held.reset();
}

std::optional<std::intptr_t> GlobalHotkeys::PeerWindowMessage(unsigned message,
                                                               std::uintptr_t wParam,
                                                               std::intptr_t /*lParam*/) {
  if (message != platform::WmHotKey) return std::nullopt;
  for (const HotkeyAction action : kActions) {
    if (static_cast<std::uintptr_t>(IdOf(action)) == wParam && Held(action)) pressed_(action);
  }
  return 0;
}

}  // namespace varnel
