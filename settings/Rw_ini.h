#pragma once
// Reading and writing the settings file beside the executable.

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "settings/Settings.h"

namespace varnel {

struct SettingKey;

// Raised when the settings file cannot be written; the message names the file's full path.
// The framework's default handler shows it.
class EIniWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The settings file of the running executable: its full path with the extension replaced by
// ".ini". Reading and writing use this one name, so they agree on a case-sensitive disk too.
std::string SettingsFilePath(const platform::Platform& platform);

// Fills `settings` with the file's values or the defaults, `workArea` with the desktop's work
// area, and appends the stored extensions to `extensions` (which must be empty). A file over
// 1 MiB is not read: every key takes its default.
// `settingsWindow` is the settings window's outer rectangle as designed: the default place of
// the window is the work area's bottom-right corner.
void ReadIni(const platform::Platform& platform, Settings& settings,
             std::vector<std::string>& extensions, platform::Rect& workArea,
             const platform::Rect& settingsWindow);

// The text a folder or file setting has in the file: its value, or while it is unset because
// its target was missing at start, the text the file held.
const std::string& StoredPathText(const Settings& settings, const SettingKey& key);
// The user has given the setting a value of their own: the text kept from the file goes.
void ForgetMissingPath(Settings& settings, const SettingKey& key);

// Writes every key of the model and the extension list, keeping whatever else the file holds
// and its encoding (IniFile.h). The file is replaced whole or not at all; on failure throws
// EIniWriteError. A file over 1 MiB, or one that is there but cannot be read, is never
// replaced: the error's second line says why when the size is the reason.
void WriteIni(const platform::Platform& platform, const Settings& settings,
              const std::vector<std::string>& extensions);

}  // namespace varnel
