#include "settings/Rw_ini.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "settings/IniDocument.h"
#include "settings/IniFile.h"

namespace varnel {

namespace {

// The executable's folder with its trailing backslash: the default start folder.
std::string ExeFolder(const std::string& exePath) {
  const std::size_t slash = exePath.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : exePath.substr(0, slash + 1);
}

std::string ExtensionKey(std::size_t index) { return "Ext" + std::to_string(index); }

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
  std::string path = platform.kernel.GetModuleFileName();
  const std::size_t slash = path.find_last_of("\\/");
  const std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.erase(dot);
  return path + ".ini";
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

  auto integer = [&](const char* section, const char* key, std::int32_t byDefault) {
    if (const std::optional<std::string> value = document.Get(section, key)) {
      if (const std::optional<std::int32_t> number = ParseIniInteger(*value)) return *number;
    }
    return byDefault;
  };
  auto text = [&](const char* section, const char* key, const std::string& byDefault) {
    return document.Get(section, key).value_or(byDefault);
  };
  // A folder or file that has gone since the last run is forgotten rather than used.
  auto folder = [&](const char* section, const char* key, const std::string& byDefault) {
    std::string value = text(section, key, byDefault);
    return files.FolderExists(value) ? value : std::string();
  };
  auto file = [&](const char* section, const char* key) {
    std::string value = text(section, key, std::string());
    return files.FileExists(value) ? value : std::string();
  };

  workArea = platform.windows.GetWorkArea();

  // By default the settings window opens in the work area's bottom-right corner.
  Settings::PosSection& pos = settings.Pos;
  pos.Top = integer("Pos", "Top", workArea.Bottom - settingsWindow.Height());
  pos.Left = integer("Pos", "Left", workArea.Right - settingsWindow.Width());
  pos.Speed = integer("Pos", "Speed", 10);
  pos.Sense = integer("Pos", "Sense", 3);
  pos.Offset = integer("Pos", "Offset", 20);
  pos.INHConner = integer("Pos", "INHConner", 1);
  pos.INHdotX = integer("Pos", "INHdotX", 30);
  pos.INHdotY = integer("Pos", "INHdotY", 20);
  pos.HideTray = integer("Pos", "HideTray", 0);

  Settings::ExpSection& exp = settings.Exp;
  exp.Left = integer("Exp", "Left", 1);
  exp.Right = integer("Exp", "Right", 0);
  exp.Upper = integer("Exp", "Upper", 0);
  exp.Lower = integer("Exp", "Lower", 0);
  exp.Button = integer("Exp", "Button", 0);
  exp.BtnLR = integer("Exp", "BtnLR", 0);
  exp.Width = integer("Exp", "Width", 400);
  exp.Height = integer("Exp", "Height", 300);
  exp.FixSave = integer("Exp", "FixSave", 0);
  exp.Fix = integer("Exp", "Fix", 0);
  exp.Watch = integer("Exp", "Watch", 0);
  exp.VT_ADJ = integer("Exp", "VT_ADJ", 0);
  exp.VB_ADJ = integer("Exp", "VB_ADJ", 0);
  exp.HL_ADJ = integer("Exp", "HL_ADJ", 0);
  exp.HR_ADJ = integer("Exp", "HR_ADJ", 0);
  exp.NoTree = integer("Exp", "NoTree", 0);
  const std::string exeFolder = ExeFolder(platform.kernel.GetModuleFileName());
  exp.Path = folder("Exp", "Path", exeFolder);
  exp.PathEn = integer("Exp", "PathEn", 0);
  exp.PathEx = folder("Exp", "PathEx", exeFolder);

  Settings::WatchSection& watch = settings.Watch;
  watch.Enb = integer("Watch", "Enb", 0);
  watch.Mode = integer("Watch", "Mode", 0);
  watch.SRCPath = folder("Watch", "SRCPath", std::string());
  watch.TrgPath = folder("Watch", "TrgPath", std::string());
  watch.Browser = integer("Watch", "Browser", 0);
  watch.AppPath = file("Watch", "AppPath");
  // Empty slots are skipped, so a gap in the slots closes up in the list.
  for (std::size_t i = 0; i < 32; ++i) {
    std::string extension = text("Watch", ExtensionKey(i).c_str(), std::string());
    if (!extension.empty()) extensions.push_back(std::move(extension));
  }

  Settings::LaunchSection& launch = settings.Launch;
  launch.Path = folder("Launch", "Path", std::string());
  launch.Left = integer("Launch", "Left", 0);
  launch.Right = integer("Launch", "Right", 1);
  launch.Upper = integer("Launch", "Upper", 1);
  launch.Lower = integer("Launch", "Lower", 0);
  launch.Button = integer("Launch", "Button", 0);
  launch.BtnLR = integer("Launch", "BtnLR", 0);
  launch.Idle = integer("Launch", "Idle", 6);
  launch.Lnk = integer("Launch", "Lnk", 1);
  launch.Auto = integer("Launch", "Auto", 0);

  settings.Popup.LR = integer("Popup", "LR", 0);
  settings.Popup.All = integer("Popup", "All", 0);
  settings.ini.inh = integer("ini", "inh", 0);
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

  auto integer = [&](const char* section, const char* key, std::int32_t value) {
    document.Set(section, key, std::to_string(value));
  };
  auto text = [&](const char* section, const char* key, const std::string& value) {
    document.Set(section, key, value);
  };

  const Settings::PosSection& pos = settings.Pos;
  integer("Pos", "Top", pos.Top);
  integer("Pos", "Left", pos.Left);
  integer("Pos", "Speed", pos.Speed);
  integer("Pos", "Sense", pos.Sense);
  integer("Pos", "Offset", pos.Offset);
  integer("Pos", "INHConner", pos.INHConner);
  integer("Pos", "INHdotX", pos.INHdotX);
  integer("Pos", "INHdotY", pos.INHdotY);
  integer("Pos", "HideTray", pos.HideTray);

  // The four adjustment keys are the user's own: never written.
  const Settings::ExpSection& exp = settings.Exp;
  integer("Exp", "Left", exp.Left);
  integer("Exp", "Right", exp.Right);
  integer("Exp", "Upper", exp.Upper);
  integer("Exp", "Lower", exp.Lower);
  integer("Exp", "Button", exp.Button);
  integer("Exp", "BtnLR", exp.BtnLR);
  integer("Exp", "Width", exp.Width);
  integer("Exp", "Height", exp.Height);
  integer("Exp", "FixSave", exp.FixSave);
  integer("Exp", "Fix", exp.Fix);
  integer("Exp", "Watch", exp.Watch);
  integer("Exp", "NoTree", exp.NoTree);
  text("Exp", "Path", exp.Path);
  integer("Exp", "PathEn", exp.PathEn);
  text("Exp", "PathEx", exp.PathEx);

  const Settings::WatchSection& watch = settings.Watch;
  integer("Watch", "Browser", watch.Browser);
  integer("Watch", "Enb", watch.Enb);
  integer("Watch", "Mode", watch.Mode);
  text("Watch", "SRCPath", watch.SRCPath);
  text("Watch", "TrgPath", watch.TrgPath);
  text("Watch", "AppPath", watch.AppPath);
  // Slots beyond a shorter list are blanked; a list longer than 32 goes on past Ext31,
  // where the next start does not look.
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    text("Watch", ExtensionKey(i).c_str(), extensions[i]);
  }
  for (std::size_t i = extensions.size(); i < 32; ++i) {
    text("Watch", ExtensionKey(i).c_str(), std::string());
  }

  const Settings::LaunchSection& launch = settings.Launch;
  text("Launch", "Path", launch.Path);
  integer("Launch", "Left", launch.Left);
  integer("Launch", "Right", launch.Right);
  integer("Launch", "Upper", launch.Upper);
  integer("Launch", "Lower", launch.Lower);
  integer("Launch", "Button", launch.Button);
  integer("Launch", "BtnLR", launch.BtnLR);
  integer("Launch", "Idle", launch.Idle);
  integer("Launch", "Lnk", launch.Lnk);
  integer("Launch", "Auto", launch.Auto);

  integer("Popup", "LR", settings.Popup.LR);
  integer("Popup", "All", settings.Popup.All);
  integer("ini", "inh", settings.ini.inh);

  if (!platform.files.ReplaceFile(path, file.Serialize(platform.codepage))) {
    throw EIniWriteError(CannotWrite(path));
  }
}

}  // namespace varnel
