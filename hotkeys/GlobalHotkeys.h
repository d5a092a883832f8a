#pragma once
// The program's keystrokes held system-wide: the Explorer's, the Launch menu's and the
// pause's, as the settings name them. A hidden window of its own holds them and hears them.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/Platform.h"
#include "platform/Ui.h"
#include "settings/HotkeyText.h"
#include "settings/Settings.h"

namespace varnel {

enum class HotkeyAction { Explorer, Launch, Pause };

class GlobalHotkeys : private platform::ControlSink {
 public:
  using Pressed = std::function<void(HotkeyAction)>;
  GlobalHotkeys(platform::Platform& platform, Pressed pressed);
  ~GlobalHotkeys();
  GlobalHotkeys(const GlobalHotkeys&) = delete;
  GlobalHotkeys& operator=(const GlobalHotkeys&) = delete;

  // Holds the keystrokes the settings name and lets go of the others. Returns a message, in
  // Japanese, naming each keystroke that another program holds and that was not named before;
  // empty when there is none. Such a keystroke is asked for again at the next call.
  std::string Apply(const Settings::HotkeySection& settings);
  // The keystroke `action` holds now.
  const std::optional<Hotkey>& Held(HotkeyAction action) const;

 private:
  std::optional<std::intptr_t> PeerWindowMessage(unsigned message, std::uintptr_t wParam,
                                                 std::intptr_t lParam) override;
  bool Hold(HotkeyAction action, const Hotkey& hotkey);
  void LetGo(HotkeyAction action);

  platform::Platform& platform_;
  Pressed pressed_;
  // Made with the first keystroke to hold: with none set, nothing of this exists.
  std::unique_ptr<platform::ControlPeer> window_;
  std::array<std::optional<Hotkey>, 3> held_;
  // The keystrokes already named as held elsewhere, each with its action.
  std::set<std::string> reported_;
};

// What the action is called where the user reads of its keystroke.
std::string HotkeyActionName(HotkeyAction action);

}  // namespace varnel
