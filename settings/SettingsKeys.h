#pragma once
// Every key of the settings file, described once: its section and name, the member of the
// model that holds it, its default, its kind and whether it is written. ReadIni and WriteIni
// walk the table, and the settings window finds the setting of each of its controls in it.
// A new setting is a member in Settings.h and a line here.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Types.h"
#include "settings/Settings.h"

namespace varnel {

// What the defaults that are no constants are worked out from.
struct DefaultBasis {
  platform::Rect workArea;
  platform::Rect settingsWindow;  // the settings window's outer rectangle as designed
  std::string exeFolder;          // the executable's folder with its trailing backslash
  unsigned dpi = 96;              // the primary screen's
};

enum class KeyKind {
  Integer,  // decimal or hexadecimal; any other text reads as the default
  Folder,   // text that must name an existing folder, else it reads as empty
  File,     // text that must name an existing file, else it reads as empty
  Text,     // any text, kept as it stands unless a rule writes it in a form of its own
  // The watched extensions: the key's name followed by 0 to 31, one extension a slot. They
  // belong to the settings window's list, not to the model.
  ExtensionSlots,
};

// The member of the model that holds a key, for reading and for writing. It is made from a
// lambda that names the member, such as [](auto& s) -> auto& { return s.Pos.Top; }.
template <class T>
struct SettingMember {
  T& (*of)(Settings&) = nullptr;
  const T& (*ofConst)(const Settings&) = nullptr;

  constexpr SettingMember() = default;
  template <class Access>
  constexpr SettingMember(Access access) : of(access), ofConst(access) {}

  T& operator()(Settings& settings) const { return of(settings); }
  const T& operator()(const Settings& settings) const { return ofConst(settings); }
};

struct SettingKey {
  std::string_view section;
  std::string_view key;
  KeyKind kind = KeyKind::Integer;
  bool written = true;
  SettingMember<std::int32_t> integer;  // for Integer
  SettingMember<std::string> text;      // for Folder and File
  // The default: a constant, or worked out from the basis when a function is given. Text
  // defaults to empty.
  std::int32_t integerDefault = 0;
  std::int32_t (*integerDefaultFrom)(const DefaultBasis&) = nullptr;
  std::string (*textDefaultFrom)(const DefaultBasis&) = nullptr;
  // For Text: the form it is read in, given what the file holds.
  std::string (*textForm)(std::string_view stored) = nullptr;

  std::int32_t DefaultInteger(const DefaultBasis& basis) const {
    return integerDefaultFrom != nullptr ? integerDefaultFrom(basis) : integerDefault;
  }
  std::string DefaultText(const DefaultBasis& basis) const {
    return textDefaultFrom != nullptr ? textDefaultFrom(basis) : std::string();
  }
  // Set by editing the file only: read at start, never written.
  constexpr SettingKey NotWritten() const {
    SettingKey copy = *this;
    copy.written = false;
    return copy;
  }
};

// The defaults that depend on where the program runs. The settings window opens in the work
// area's bottom-right corner; both Explorers start in the executable's folder.
std::int32_t SettingsWindowTop(const DefaultBasis& basis);
std::int32_t SettingsWindowLeft(const DefaultBasis& basis);
std::string ExecutableFolder(const DefaultBasis& basis);
// The Explorer's size when out: 400 x 300 at 96 DPI, as large to the eye on any screen.
std::int32_t ExplorerWidth(const DefaultBasis& basis);
std::int32_t ExplorerHeight(const DefaultBasis& basis);
// A hotkey as the file holds it, in the one form it is written in; text that names no
// keystroke as it stands.
std::string HotkeyTextForm(std::string_view stored);

namespace keys {

constexpr SettingKey Entry(std::string_view section, std::string_view key, KeyKind kind) {
  SettingKey entry;
  entry.section = section;
  entry.key = key;
  entry.kind = kind;
  return entry;
}

template <class Access>
constexpr SettingKey Integer(std::string_view section, std::string_view key, Access member,
                             std::int32_t byDefault) {
  SettingKey entry = Entry(section, key, KeyKind::Integer);
  entry.integer = member;
  entry.integerDefault = byDefault;
  return entry;
}

template <class Access>
constexpr SettingKey Integer(std::string_view section, std::string_view key, Access member,
                             std::int32_t (*byDefault)(const DefaultBasis&)) {
  SettingKey entry = Entry(section, key, KeyKind::Integer);
  entry.integer = member;
  entry.integerDefaultFrom = byDefault;
  return entry;
}

template <class Access>
constexpr SettingKey Folder(std::string_view section, std::string_view key, Access member,
                            std::string (*byDefault)(const DefaultBasis&) = nullptr) {
  SettingKey entry = Entry(section, key, KeyKind::Folder);
  entry.text = member;
  entry.textDefaultFrom = byDefault;
  return entry;
}

template <class Access>
constexpr SettingKey File(std::string_view section, std::string_view key, Access member) {
  SettingKey entry = Entry(section, key, KeyKind::File);
  entry.text = member;
  return entry;
}

template <class Access>
constexpr SettingKey Text(std::string_view section, std::string_view key, Access member,
                          std::string (*form)(std::string_view) = nullptr) {
  SettingKey entry = Entry(section, key, KeyKind::Text);
  entry.text = member;
  entry.textForm = form;
  return entry;
}

constexpr SettingKey ExtensionSlots(std::string_view section, std::string_view key) {
  return Entry(section, key, KeyKind::ExtensionSlots);
}

}  // namespace keys

// The keys in the order WriteIni writes them: a file it creates has its sections and keys in
// this order, and a key missing from an existing file is added after the last one written
// before it.
inline constexpr SettingKey kSettingKeys[] = {
    keys::Integer("Pos", "Top", [](auto& s) -> auto& { return s.Pos.Top; }, SettingsWindowTop),
    keys::Integer("Pos", "Left", [](auto& s) -> auto& { return s.Pos.Left; }, SettingsWindowLeft),
    keys::Integer("Pos", "Speed", [](auto& s) -> auto& { return s.Pos.Speed; }, 10),
    keys::Integer("Pos", "Sense", [](auto& s) -> auto& { return s.Pos.Sense; }, 3),
    keys::Integer("Pos", "Offset", [](auto& s) -> auto& { return s.Pos.Offset; }, 20),
    keys::Integer("Pos", "INHConner", [](auto& s) -> auto& { return s.Pos.INHConner; }, 1),
    keys::Integer("Pos", "INHdotX", [](auto& s) -> auto& { return s.Pos.INHdotX; }, 30),
    keys::Integer("Pos", "INHdotY", [](auto& s) -> auto& { return s.Pos.INHdotY; }, 20),
    keys::Integer("Pos", "HideTray", [](auto& s) -> auto& { return s.Pos.HideTray; }, 0),

    keys::Integer("Exp", "Left", [](auto& s) -> auto& { return s.Exp.Left; }, 1),
    keys::Integer("Exp", "Right", [](auto& s) -> auto& { return s.Exp.Right; }, 0),
    keys::Integer("Exp", "Upper", [](auto& s) -> auto& { return s.Exp.Upper; }, 0),
    keys::Integer("Exp", "Lower", [](auto& s) -> auto& { return s.Exp.Lower; }, 0),
    keys::Integer("Exp", "Button", [](auto& s) -> auto& { return s.Exp.Button; }, 0),
    keys::Integer("Exp", "BtnLR", [](auto& s) -> auto& { return s.Exp.BtnLR; }, 0),
    keys::Integer("Exp", "Width", [](auto& s) -> auto& { return s.Exp.Width; }, ExplorerWidth),
    keys::Integer("Exp", "Height", [](auto& s) -> auto& { return s.Exp.Height; }, ExplorerHeight),
    keys::Integer("Exp", "FixSave", [](auto& s) -> auto& { return s.Exp.FixSave; }, 0),
    keys::Integer("Exp", "Fix", [](auto& s) -> auto& { return s.Exp.Fix; }, 0),
    keys::Integer("Exp", "Watch", [](auto& s) -> auto& { return s.Exp.Watch; }, 0),
    // The user's own adjustments: a value placed in the file survives every write.
    keys::Integer("Exp", "VT_ADJ", [](auto& s) -> auto& { return s.Exp.VT_ADJ; }, 0).NotWritten(),
    keys::Integer("Exp", "VB_ADJ", [](auto& s) -> auto& { return s.Exp.VB_ADJ; }, 0).NotWritten(),
    keys::Integer("Exp", "HL_ADJ", [](auto& s) -> auto& { return s.Exp.HL_ADJ; }, 0).NotWritten(),
    keys::Integer("Exp", "HR_ADJ", [](auto& s) -> auto& { return s.Exp.HR_ADJ; }, 0).NotWritten(),
    keys::Integer("Exp", "NoTree", [](auto& s) -> auto& { return s.Exp.NoTree; }, 0),
    keys::Folder("Exp", "Path", [](auto& s) -> auto& { return s.Exp.Path; }, ExecutableFolder),
    keys::Integer("Exp", "PathEn", [](auto& s) -> auto& { return s.Exp.PathEn; }, 0),
    keys::Folder("Exp", "PathEx", [](auto& s) -> auto& { return s.Exp.PathEx; }, ExecutableFolder),
    keys::Integer("Exp", "FullGuard", [](auto& s) -> auto& { return s.Exp.FullGuard; }, 1),
    keys::Integer("Exp", "AllMonitors", [](auto& s) -> auto& { return s.Exp.AllMonitors; }, 0),

    keys::Integer("Watch", "Browser", [](auto& s) -> auto& { return s.Watch.Browser; }, 0),
    keys::Integer("Watch", "Enb", [](auto& s) -> auto& { return s.Watch.Enb; }, 0),
    keys::Integer("Watch", "Mode", [](auto& s) -> auto& { return s.Watch.Mode; }, 0),
    keys::Folder("Watch", "SRCPath", [](auto& s) -> auto& { return s.Watch.SRCPath; }),
    keys::Folder("Watch", "TrgPath", [](auto& s) -> auto& { return s.Watch.TrgPath; }),
    keys::File("Watch", "AppPath", [](auto& s) -> auto& { return s.Watch.AppPath; }),
    keys::ExtensionSlots("Watch", "Ext"),

    keys::Folder("Launch", "Path", [](auto& s) -> auto& { return s.Launch.Path; }),
    keys::Integer("Launch", "Left", [](auto& s) -> auto& { return s.Launch.Left; }, 0),
    keys::Integer("Launch", "Right", [](auto& s) -> auto& { return s.Launch.Right; }, 1),
    keys::Integer("Launch", "Upper", [](auto& s) -> auto& { return s.Launch.Upper; }, 1),
    keys::Integer("Launch", "Lower", [](auto& s) -> auto& { return s.Launch.Lower; }, 0),
    keys::Integer("Launch", "Button", [](auto& s) -> auto& { return s.Launch.Button; }, 0),
    keys::Integer("Launch", "BtnLR", [](auto& s) -> auto& { return s.Launch.BtnLR; }, 0),
    keys::Integer("Launch", "Idle", [](auto& s) -> auto& { return s.Launch.Idle; }, 6),
    keys::Integer("Launch", "Lnk", [](auto& s) -> auto& { return s.Launch.Lnk; }, 1),
    keys::Integer("Launch", "Auto", [](auto& s) -> auto& { return s.Launch.Auto; }, 0),

    keys::Integer("Popup", "LR", [](auto& s) -> auto& { return s.Popup.LR; }, 0),
    keys::Integer("Popup", "All", [](auto& s) -> auto& { return s.Popup.All; }, 0),

    keys::Integer("ini", "inh", [](auto& s) -> auto& { return s.ini.inh; }, 0),

    keys::Text("Hotkey", "Explorer", [](auto& s) -> auto& { return s.Hotkey.Explorer; },
               HotkeyTextForm),
    keys::Text("Hotkey", "Launch", [](auto& s) -> auto& { return s.Hotkey.Launch; },
               HotkeyTextForm),
    keys::Text("Hotkey", "Pause", [](auto& s) -> auto& { return s.Hotkey.Pause; },
               HotkeyTextForm),

    keys::Text("Quiet", "Programs", [](auto& s) -> auto& { return s.Quiet.Programs; }),
};

// The number of extension slots read at start; a longer list is written on past the last.
inline constexpr std::size_t kExtensionSlots = 32;

// The key `section`.`key` of the table. Where the names are constants, naming a key the table
// does not have is a compile error.
constexpr const SettingKey& SettingKeyNamed(std::string_view section, std::string_view key) {
  for (const SettingKey& entry : kSettingKeys) {
    if (entry.section == section && entry.key == key) return entry;
  }
  throw std::invalid_argument("no such setting");
}

}  // namespace varnel
