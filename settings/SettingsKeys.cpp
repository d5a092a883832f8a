#include "settings/SettingsKeys.h"

#include "settings/HotkeyText.h"

namespace varnel {

// The settings window's designed size is still its size when the file is read.
std::int32_t SettingsWindowTop(const DefaultBasis& basis) {
  return basis.workArea.Bottom - basis.settingsWindow.Height();
}

std::int32_t SettingsWindowLeft(const DefaultBasis& basis) {
  return basis.workArea.Right - basis.settingsWindow.Width();
}

std::string ExecutableFolder(const DefaultBasis& basis) { return basis.exeFolder; }

namespace {

// Rounded to the nearest pixel, as the system scales.
std::int32_t Scaled(std::int32_t designed, unsigned dpi) {
  return static_cast<std::int32_t>((static_cast<std::int64_t>(designed) * dpi + 48) / 96);
}

}  // namespace

std::int32_t ExplorerWidth(const DefaultBasis& basis) { return Scaled(400, basis.dpi); }
std::int32_t ExplorerHeight(const DefaultBasis& basis) { return Scaled(300, basis.dpi); }

std::string HotkeyTextForm(std::string_view stored) {
  const std::optional<Hotkey> hotkey = ParseHotkey(stored);
  return hotkey ? FormatHotkey(*hotkey) : std::string(stored);
}

}  // namespace varnel
