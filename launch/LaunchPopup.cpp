#include "launch/LaunchPopup.h"

#include <algorithm>
#include <cctype>

#include "framework/Application.h"

namespace varnel {

namespace {

constexpr int kFirstFileTag = 1000;

// The caption of a file item: the name without its last extension.
std::string WithoutExtension(const std::string& name) {
  const auto separator = name.find_last_of("\\:");
  const auto dot = name.rfind('.');
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return name;
  return name.substr(0, dot);
}

// What the shell's icon looked up from the name alone depends on: the extension.
std::string FileType(const std::string& name) {
  const auto dot = name.rfind('.');
  std::string type = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  std::transform(type.begin(), type.end(), type.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return type;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }

}  // namespace

TLaunchPopup::TLaunchPopup(TComponent* owner, std::string name, platform::Platform& platform)
    : TPopupMenu(owner, std::move(name), platform.ui), platform_(platform) {}

void TLaunchPopup::Rebuild() {
  if (Directory.empty() || !platform_.files.FolderExists(Directory)) return;
  fileItemCount_ = 0;
  paths_.clear();
  ancestors_.clear();
  iconByType_.clear();
  AddFolderItems(Directory, Items());
}

void TLaunchPopup::AddFolderItems(const std::string& folder, TMenuItem& parent) {
  // A folder reached again through a junction or link is listed but not entered: the scan
  // would never end.
  const std::optional<std::string> identity = platform_.files.FolderIdentity(folder);
  if (identity && !ancestors_.insert(*identity).second) return;

  // Folders first ("0"), then files ("1"), each group in the user's order of names.
  std::vector<std::string> entries;
  constexpr std::uint32_t kHiddenOrSystem =
      platform::FileAttributeHidden | platform::FileAttributeSystem;
  for (const platform::FindData& entry : platform_.files.FindFiles(folder + "*.*")) {
    const bool isFolder = (entry.attributes & platform::FileAttributeDirectory) != 0;
    if (isFolder && entry.name != "." && entry.name != "..") entries.push_back("0" + entry.name);
  }
  for (const platform::FindData& entry : platform_.files.FindFiles(folder + Mask)) {
    const bool isFolder = (entry.attributes & platform::FileAttributeDirectory) != 0;
    if (!isFolder && (entry.attributes & kHiddenOrSystem) == 0) entries.push_back("1" + entry.name);
  }
  std::sort(entries.begin(), entries.end(), [this](const std::string& a, const std::string& b) {
    return platform_.kernel.CompareText(a, b) < 0;
  });

  for (const std::string& entry : entries) {
    const std::string name = entry.substr(1);
    if (entry[0] == '0') {
      if (!SearchDirectory) continue;
      TMenuItem& folderItem = parent.Add({}, name);
      AddFolderItems(folder + name + "\\", folderItem);
      continue;
    }
    TMenuItem& item = parent.Add({}, WithoutExtension(name));
    item.SetTag(kFirstFileTag + fileItemCount_++);
    item.OnClick = [this](TComponent& sender) { ItemClick(sender); };
    paths_.push_back(folder + name);
    if (Images() != nullptr) item.SetImageIndex(IconIndex(folder + name));
  }
  if (identity) ancestors_.erase(*identity);
}

int TLaunchPopup::IconIndex(const std::string& path) {
  const std::string type = FileType(path.substr(path.rfind('\\') + 1));
  if (CacheIcons) {
    const auto cached = iconByType_.find(type);
    if (cached != iconByType_.end()) return cached->second;
  }
  ++iconRequests_;
  platform::ImageRef icon = platform_.shell.GetFileIcon(path);
  // A type the shell has no icon for shows no picture rather than a wrong one.
  const int index = icon ? Images()->Add(std::move(icon)) : -1;
  if (CacheIcons) iconByType_[type] = index;
  return index;
}

void TLaunchPopup::ItemClick(TComponent& sender) {
  const int index = static_cast<TMenuItem&>(sender).Tag() - kFirstFileTag;
  if (index < 0 || index >= static_cast<int>(paths_.size())) return;
  const std::string path = paths_[index];
  if (OnItemClick) {
    clickedFile_ = path;
    OnItemClick(*this);
    return;
  }
  TApplication* application = FindApplication(*this);
  const platform::Hwnd owner = application != nullptr ? application->Handle() : platform::kNoWindow;
  platform_.shell.ShellExecute(owner, "", path, "", FolderOf(path), platform::SwShowNormal);
}

}  // namespace varnel
