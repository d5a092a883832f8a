#include "settings/Rw_ini.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "base/Paths.h"
#include "settings/IniDocument.h"
#include "settings/IniFile.h"
#include "settings/SettingsKeys.h"

namespace varnel {

namespace {

std::string QualifiedName(const SettingKey& key) {
  return std::string(key.section) + "." + std::string(key.key);
}

// The key of one extension slot: the slots' name followed by the index in decimal.
std::string SlotKey(const SettingKey& slots, std::size_t index) {
  return std::string(slots.key) + std::to_string(index);
}

std::string CannotWrite(const std::string& path) { return path + " に書き込めません"; }

// A settings file is a few kilobytes. One far larger is not ours to guess at: neither read
// (every key takes its default) nor overwritten, whatever it holds.
constexpr std::uint64_t kLargestSettingsFile = 1024 * 1024;

std::string TooLargeToWrite(const std::string& path) {
  return CannotWrite(path) + "\n（1 MB を超える設定ファイルは読み込みも上書きもしません）";
}

// The settings file as found on disk.
struct StoredFile {
  bool present = false;   // something exists under the name
  bool tooLarge = false;  // a file over the limit, not read
  std::optional<IniFile> file;  // read and parsed
};

StoredFile ReadStoredFile(const platform::Platform& platform, const std::string& path) {
  const platform::FileSystem& files = platform.files;
  StoredFile stored;
  stored.present = files.GetFileAttributes(path) != platform::InvalidFileAttributes;
  if (const std::optional<std::uint64_t> size = files.GetFileSize(path);
      size && *size > kLargestSettingsFile) {
    stored.tooLarge = true;
    return stored;
  }
  if (const std::optional<std::string> bytes = files.ReadFile(path)) {
    // It may have grown since its size was asked.
    if (bytes->size() > kLargestSettingsFile) {
      stored.tooLarge = true;
      return stored;
    }
    stored.present = true;
    stored.file = IniFile::Parse(*bytes, platform.codepage);
  }
  return stored;
}

}  // namespace

std::string SettingsFilePath(const platform::Platform& platform) {
  return std::string(WithoutExtension(platform.kernel.GetModuleFileName())) + ".ini";
}

void ReadIni(const platform::Platform& platform, Settings& settings,
             std::vector<std::string>& extensions, platform::Rect& workArea,
             const platform::Rect& settingsWindow) {
  const std::string path = SettingsFilePath(platform);
  const platform::FileSystem& files = platform.files;

  // No file, one that cannot be read, or one too large to be a settings file: every key
  // takes its default.
  const StoredFile stored = ReadStoredFile(platform, path);
  const IniDocument document = stored.file ? stored.file->document : IniDocument();

  workArea = platform.windows.GetWorkArea();
  const DefaultBasis basis{workArea, settingsWindow,
                           std::string(FolderPart(platform.kernel.GetModuleFileName())),
                           platform.windows.GetDpiForSystem()};

  for (const SettingKey& entry : kSettingKeys) {
    const std::optional<std::string> value = document.Get(entry.section, entry.key);
    switch (entry.kind) {
      case KeyKind::Integer: {
        const std::optional<std::int32_t> number =
            value ? ParseIniInteger(*value) : std::optional<std::int32_t>();
        entry.integer(settings) = number ? *number : entry.DefaultInteger(basis);
        break;
      }
      // A folder or file that is missing now is not used, but its text is kept for the file:
      // the drive it lies on may just not be there yet.
      case KeyKind::Folder:
      case KeyKind::File: {
        std::string text = value.value_or(entry.DefaultText(basis));
        const bool exists = entry.kind == KeyKind::Folder ? files.FolderExists(text)
                                                          : files.FileExists(text);
        if (exists) {
          entry.text(settings) = std::move(text);
        } else {
          entry.text(settings).clear();
          if (value && !value->empty()) settings.MissingPaths[QualifiedName(entry)] = *value;
        }
        break;
      }
      case KeyKind::Text: {
        const std::string text = value.value_or(entry.DefaultText(basis));
        entry.text(settings) = entry.textForm != nullptr ? entry.textForm(text) : text;
        break;
      }
      // Empty slots are skipped, so a gap in the slots closes up in the list.
      case KeyKind::ExtensionSlots:
        for (std::size_t i = 0; i < kExtensionSlots; ++i) {
          std::string extension = document.Get(entry.section, SlotKey(entry, i)).value_or("");
          if (!extension.empty()) extensions.push_back(std::move(extension));
        }
        break;
    }
  }
}

const std::string& StoredPathText(const Settings& settings, const SettingKey& key) {
  const std::string& value = key.text(settings);
  if (!value.empty()) return value;
  const auto kept = settings.MissingPaths.find(QualifiedName(key));
  return kept != settings.MissingPaths.end() ? kept->second : value;
}

void ForgetMissingPath(Settings& settings, const SettingKey& key) {
  settings.MissingPaths.erase(QualifiedName(key));
}

void WriteIni(const platform::Platform& platform, const Settings& settings,
              const std::vector<std::string>& extensions) {
  const std::string path = SettingsFilePath(platform);

  // Whatever the file holds besides our keys (the adjustment keys, other sections, comments)
  // stays, in its encoding. A file that is there but cannot be read, or is too large to have
  // been read, is left alone rather than overwritten.
  StoredFile stored = ReadStoredFile(platform, path);
  if (stored.tooLarge) throw EIniWriteError(TooLargeToWrite(path));
  if (!stored.file && stored.present) throw EIniWriteError(CannotWrite(path));
  IniFile file = stored.file ? std::move(*stored.file) : IniFile();
  IniDocument& document = file.document;

  for (const SettingKey& entry : kSettingKeys) {
    if (!entry.written) continue;
    switch (entry.kind) {
      case KeyKind::Integer:
        document.Set(entry.section, entry.key, std::to_string(entry.integer(settings)));
        break;
      case KeyKind::Folder:
      case KeyKind::File:
        document.Set(entry.section, entry.key, StoredPathText(settings, entry));
        break;
      case KeyKind::Text:
        document.Set(entry.section, entry.key, entry.text(settings));
        break;
      // Slots beyond a shorter list are blanked; a list longer than the slots goes on past
      // the last, where the next start does not look.
      case KeyKind::ExtensionSlots:
        for (std::size_t i = 0; i < extensions.size(); ++i) {
          document.Set(entry.section, SlotKey(entry, i), extensions[i]);
        }
        for (std::size_t i = extensions.size(); i < kExtensionSlots; ++i) {
          document.Set(entry.section, SlotKey(entry, i), std::string());
        }
        break;
    }
  }

  if (!platform.files.ReplaceFile(path, file.Serialize(platform.codepage))) {
    throw EIniWriteError(CannotWrite(path));
  }
}

}  // namespace varnel
