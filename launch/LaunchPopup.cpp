#include "launch/LaunchPopup.h"

#include <algorithm>

#include "base/Ascii.h"
#include "base/Paths.h"
#include "base/ScopeExit.h"
#include "framework/Application.h"

namespace varnel {

namespace {

constexpr int kFirstFileTag = 1000;

}  // namespace

TLaunchPopup::TLaunchPopup(TComponent* owner, std::string name, platform::Platform& platform)
    : TPopupMenu(owner, std::move(name), platform.ui), platform_(platform) {}

void TLaunchPopup::Rebuild() {
  if (Directory.empty() || !platform_.files.FolderExists(Directory)) return;
  fileItemCount_ = 0;
  paths_.clear();
  ancestors_.clear();
  iconByType_.clear();
  const std::shared_ptr<const Listing> root = List(Directory);
  if (root) AddItems(root, *root, Items());
}

std::unique_ptr<TLaunchPopup::Listing> TLaunchPopup::List(const std::string& folder) {
  // A folder reached again through a junction or link is listed but not entered: the scan
  // would never end.
  const std::optional<std::string> identity = platform_.files.FolderIdentity(folder);
  if (identity && !ancestors_.insert(*identity).second) return nullptr;
  const ScopeExit leave([this, &identity] {
    if (identity) ancestors_.erase(*identity);
  });

  const std::vector<std::string> names = EntriesOf(folder);
  auto listing = std::make_unique<Listing>();
  listing->folder = folder;
  listing->entries.reserve(names.size());
  for (const std::string& name : names) {
    Listing::Entry entry;
    entry.name = name.substr(1);
    entry.isFolder = name[0] == '0';
    if (entry.isFolder) entry.content = List(folder + entry.name + "\\");
    listing->entries.push_back(std::move(entry));
  }
  return listing;
}

std::vector<std::string> TLaunchPopup::EntriesOf(const std::string& folder) {
  platform::FileSystem& files = platform_.files;
  const std::optional<platform::FileAttributeData> before = files.GetFileAttributesEx(folder);
  const auto kept = listed_.find(folder);
  if (ReuseUnchanged && before && kept != listed_.end() &&
      kept->second.writeTime == before->lastWriteTime && kept->second.mask == Mask &&
      kept->second.folders == SearchDirectory) {
    return kept->second.entries;
  }
  // Folders first ("0"), then files ("1"), each group in the user's order of names.
  std::vector<std::string> names;
  constexpr std::uint32_t kHiddenOrSystem =
      platform::FileAttributeHidden | platform::FileAttributeSystem;
  if (SearchDirectory) {
    for (const platform::FindData& entry : files.FindFiles(folder + "*.*")) {
      const bool isFolder = (entry.attributes & platform::FileAttributeDirectory) != 0;
      if (isFolder && entry.name != "." && entry.name != "..") names.push_back("0" + entry.name);
    }
  }
  for (const platform::FindData& entry : files.FindFiles(folder + Mask)) {
    const bool isFolder = (entry.attributes & platform::FileAttributeDirectory) != 0;
    if (!isFolder && (entry.attributes & kHiddenOrSystem) == 0) names.push_back("1" + entry.name);
  }
  std::sort(names.begin(), names.end(), [this](const std::string& a, const std::string& b) {
    return platform_.kernel.CompareText(a, b) < 0;
  });
  // Kept only when nothing changed while it was listed: an entry added meanwhile may be in the
  // listing or not, and the next load must look again.
  const std::optional<platform::FileAttributeData> after = files.GetFileAttributesEx(folder);
  if (before && after && before->lastWriteTime == after->lastWriteTime) {
    listed_[folder] = {before->lastWriteTime, Mask, SearchDirectory, names};
  } else {
    listed_.erase(folder);
  }
  return names;
}

void TLaunchPopup::AddItems(const std::shared_ptr<const Listing>& root, const Listing& listing,
                            TMenuItem& parent) {
  for (const Listing::Entry& entry : listing.entries) {
    if (entry.isFolder) {
      TMenuItem& folderItem = parent.Add({}, entry.name);
      const Listing* content = entry.content.get();
      // An empty folder, or one not entered, is an item that does nothing, as it always was.
      if (content == nullptr || content->entries.empty()) continue;
      if (BuildAtOnce) {
        AddItems(root, *content, folderItem);
      } else {
        folderItem.SetFill([this, root, content](TMenuItem& item) {
          AddItems(root, *content, item);
        });
      }
      continue;
    }
    // The caption is the name without its last extension.
    TMenuItem& item = parent.Add({}, std::string(WithoutExtension(entry.name)));
    item.SetTag(kFirstFileTag + fileItemCount_++);
    item.OnClick = [this](TComponent& sender) { ItemClick(sender); };
    paths_.push_back(listing.folder + entry.name);
    if (Images() != nullptr) item.SetImageIndex(IconIndex(listing.folder + entry.name));
  }
}

int TLaunchPopup::IconIndex(const std::string& path) {
  // What the shell's icon looked up from the name alone depends on: the extension.
  const std::string type = AsciiLowered(ExtensionPart(path));
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
  platform_.shell.ShellExecute(owner, "", path, "", std::string(FolderPart(path)),
                               platform::SwShowNormal);
}

}  // namespace varnel
