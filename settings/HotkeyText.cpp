#include "settings/HotkeyText.h"

#include <array>
#include <utility>

#include "base/Ascii.h"
#include "platform/Types.h"

namespace varnel {

namespace {

struct Modifier {
  std::string_view name;
  unsigned flag;
};

// In the order they are written.
constexpr std::array<Modifier, 4> kModifiers{{{"Ctrl", platform::ModControl},
                                              {"Alt", platform::ModAlt},
                                              {"Shift", platform::ModShift},
                                              {"Win", platform::ModWin}}};

struct NamedKey {
  std::string_view name;
  unsigned virtualKey;
  bool greyBlock = false;  // an editing or arrow key: the hotkey control marks it extended
};

constexpr std::array<NamedKey, 15> kNamedKeys{{
    {"Space", 0x20},        {"Enter", 0x0D},          {"Tab", 0x09},
    {"Esc", 0x1B},          {"Backspace", 0x08},      {"Insert", 0x2D, true},
    {"Delete", 0x2E, true}, {"Home", 0x24, true},     {"End", 0x23, true},
    {"PageUp", 0x21, true}, {"PageDown", 0x22, true}, {"Left", 0x25, true},
    {"Right", 0x27, true},  {"Up", 0x26, true},       {"Down", 0x28, true},
}};

constexpr unsigned kVkPause = 0x13;
constexpr unsigned kVkF1 = 0x70;
constexpr int kFunctionKeys = 24;

// The punctuation keys of a US keyboard by the character they type unshifted.
constexpr std::array<std::pair<char, unsigned>, 11> kPunctuation{{{';', 0xBA},
                                                                  {'=', 0xBB},
                                                                  {',', 0xBC},
                                                                  {'-', 0xBD},
                                                                  {'.', 0xBE},
                                                                  {'/', 0xBF},
                                                                  {'`', 0xC0},
                                                                  {'[', 0xDB},
                                                                  {'\\', 0xDC},
                                                                  {']', 0xDD},
                                                                  {'\'', 0xDE}}};

std::optional<unsigned> KeyNamed(std::string_view name) {
  if (name.size() == 1) {
    const char c = name.front();
    if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<unsigned>(c);
    for (const auto& [character, key] : kPunctuation) {
      if (character == c) return key;
    }
    return std::nullopt;
  }
  for (const NamedKey& key : kNamedKeys) {
    if (EqualNoCase(key.name, name)) return key.virtualKey;
  }
  if (EqualNoCase(name, "Pause")) return kVkPause;
  if (name.size() <= 3 && AsciiLower(name.front()) == 'f') {
    int number = 0;
    for (const char digit : name.substr(1)) {
      if (digit < '0' || digit > '9') return std::nullopt;
      number = number * 10 + (digit - '0');
    }
    if (name[1] != '0' && number >= 1 && number <= kFunctionKeys) {
      return kVkF1 + static_cast<unsigned>(number - 1);
    }
  }
  return std::nullopt;
}

std::string KeyName(unsigned virtualKey) {
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
    return std::string(1, static_cast<char>(virtualKey));
  }
  for (const auto& [character, key] : kPunctuation) {
    if (key == virtualKey) return std::string(1, character);
  }
  for (const NamedKey& key : kNamedKeys) {
    if (key.virtualKey == virtualKey) return std::string(key.name);
  }
  if (virtualKey == kVkPause) return "Pause";
  if (virtualKey >= kVkF1 && virtualKey < kVkF1 + kFunctionKeys) {
    return "F" + std::to_string(virtualKey - kVkF1 + 1);
  }
  return {};
}

bool StandsAlone(unsigned virtualKey) {
  return virtualKey == kVkPause || (virtualKey >= kVkF1 && virtualKey < kVkF1 + kFunctionKeys);
}

bool GreyBlock(unsigned virtualKey) {
  for (const NamedKey& key : kNamedKeys) {
    if (key.virtualKey == virtualKey) return key.greyBlock;
  }
  return false;
}

// Whether the keystroke may be held system-wide without taking typing from other programs.
bool Holdable(const Hotkey& hotkey) {
  constexpr unsigned kCommandModifiers = platform::ModControl | platform::ModAlt | platform::ModWin;
  return !KeyName(hotkey.virtualKey).empty() &&
         ((hotkey.modifiers & kCommandModifiers) != 0 || StandsAlone(hotkey.virtualKey));
}

// The hotkey control's own modifier flags.
constexpr unsigned kControlShift = 0x01;
constexpr unsigned kControlCtrl = 0x02;
constexpr unsigned kControlAlt = 0x04;
constexpr unsigned kControlExtended = 0x08;

}  // namespace

std::optional<Hotkey> ParseHotkey(std::string_view text) {
  Hotkey hotkey;
  for (;;) {
    const std::size_t plus = text.find('+');
    const std::string_view part = TrimmedBlanks(text.substr(0, plus));
    if (part.empty()) return std::nullopt;
    if (plus == std::string_view::npos) {
      const std::optional<unsigned> key = KeyNamed(part);
      if (!key) return std::nullopt;
      hotkey.virtualKey = *key;
      break;
    }
    unsigned flag = 0;
    for (const Modifier& modifier : kModifiers) {
      if (EqualNoCase(modifier.name, part)) flag = modifier.flag;
    }
    if (flag == 0 || (hotkey.modifiers & flag) != 0) return std::nullopt;
    hotkey.modifiers |= flag;
    text.remove_prefix(plus + 1);
  }
  if (!Holdable(hotkey)) return std::nullopt;
  return hotkey;
}

std::string FormatHotkey(const Hotkey& hotkey) {
  std::string text;
  for (const Modifier& modifier : kModifiers) {
    if ((hotkey.modifiers & modifier.flag) != 0) text += std::string(modifier.name) + "+";
  }
  return text + KeyName(hotkey.virtualKey);
}

unsigned HotkeyControlCode(const Hotkey& hotkey) {
  unsigned flags = 0;
  if ((hotkey.modifiers & platform::ModShift) != 0) flags |= kControlShift;
  if ((hotkey.modifiers & platform::ModControl) != 0) flags |= kControlCtrl;
  if ((hotkey.modifiers & platform::ModAlt) != 0) flags |= kControlAlt;
  if (GreyBlock(hotkey.virtualKey)) flags |= kControlExtended;
  return (hotkey.virtualKey & 0xFF) | (flags << 8);
}

std::optional<Hotkey> HotkeyFromControlCode(unsigned code) {
  const unsigned flags = (code >> 8) & 0xFF;
  Hotkey hotkey;
  hotkey.virtualKey = code & 0xFF;
  if ((flags & kControlShift) != 0) hotkey.modifiers |= platform::ModShift;
  if ((flags & kControlCtrl) != 0) hotkey.modifiers |= platform::ModControl;
  if ((flags & kControlAlt) != 0) hotkey.modifiers |= platform::ModAlt;
  if (!Holdable(hotkey)) return std::nullopt;
  return hotkey;
}

}  // namespace varnel
