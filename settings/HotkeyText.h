#pragma once
// A keystroke as the settings file writes it: the modifiers Ctrl, Alt, Shift and Win joined
// with "+", then one key, as in "Ctrl+Alt+E". Read ignoring case; written in one form.

#include <optional>
#include <string>
#include <string_view>

namespace varnel {

struct Hotkey {
  unsigned modifiers = 0;  // ModControl, ModAlt, ModShift, ModWin
  unsigned virtualKey = 0;
  friend bool operator==(const Hotkey&, const Hotkey&) = default;
};

// The keystroke `text` names; nothing for empty text, an unknown key or modifier, a modifier
// named twice, or a key that types (a letter, a digit, a punctuation key, Space, Enter, Tab,
// Esc, Backspace, an editing or arrow key) with no Ctrl, Alt or Win: held system-wide, such a
// keystroke would be taken from every program the user types in. F1 to F24 and Pause may
// stand alone.
std::optional<Hotkey> ParseHotkey(std::string_view text);

// The one form a keystroke is written and shown in: "Ctrl+Alt+Shift+Win+Key".
std::string FormatHotkey(const Hotkey& hotkey);

// The system's hotkey control holds a keystroke as a virtual key in the low byte and its own
// modifier flags (Shift 1, Ctrl 2, Alt 4, and 8 for the keys of the grey block) in the next;
// it has no Win. 0 is none.
unsigned HotkeyControlCode(const Hotkey& hotkey);
std::optional<Hotkey> HotkeyFromControlCode(unsigned code);

}  // namespace varnel
