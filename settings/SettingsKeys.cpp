#include "settings/SettingsKeys.h"

namespace varnel {

// The settings window's designed size is still its size when the file is read.
std::int32_t SettingsWindowTop(const DefaultBasis& basis) {
  return basis.workArea.Bottom - basis.settingsWindow.Height();
}

std::int32_t SettingsWindowLeft(const DefaultBasis& basis) {
  return basis.workArea.Right - basis.settingsWindow.Width();
}

std::string ExecutableFolder(const DefaultBasis& basis) { return basis.exeFolder; }

}  // namespace varnel
