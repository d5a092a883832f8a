#include "launch/LaunchPopup.h"

#include <algorithm>
#include <limits>

#include "base/Ascii.h"
#include "base/Paths.h"
#include "framework/Application.h"

namespace varnel {

namespace {

constexpr int kFirstFileTag = 1000;

}  // namespace

TLaunchPopup::TLaunchPopup(TComponent* owner, std::string name, platform::Platform& platform)
    : TPopupMenu(owner, std::move(name), platform.ui), platform_(platform) {}

void TLaunchPopup::Rebuild() {
  BeginRebuild();
  FinishRebuild();
}

void TLaunchPopup::FinishRebuild() { ContinueRebuild(std::numeric_limits<std::uint32_t>::max()); }

void TLaunchPopup::BeginRebuild() {
  pending_.reset();
  built_ = {};  // the owner has let its items go
  if (Directory.empty() || !platform_.files.FolderExists(Directory)) return;
  pending_ = std::make_unique<Pending>();
  pending_->root = std::make_shared<Listing>();
  pending_->root->folder = Directory;
  pending_->folders.push_back(pending_->root.get());
}

bool TLaunchPopup::ContinueRebuild(std::uint32_t milliseconds) {
  if (!pending_) return true;
  const std::uint32_t started = platform_.kernel.GetTickCount();
  std::vector<Listing*>& folders = pending_->folders;
  do {
    Listing* next = folders.back();
    folders.pop_back();
    ListFolder(*next, folders);
  } while (!folders.empty() && platform_.kernel.GetTickCount() - started < milliseconds);
  if (!folders.empty()) return false;

  const std::shared_ptr<const Listing> root = std::move(pending_->root);
  pending_.reset();
  fileItemCount_ = 0;
  paths_.clear();
  iconByType_.clear();
  AddItems(root, *root, Items());
  built_ = {root, Directory, Mask, SearchDirectory};
  return true;
}

bool TLaunchPopup::Unchanged() const {
  return built_.root && built_.directory == Directory && built_.mask == Mask &&
         built_.folders == SearchDirectory && ListingUnchanged(*built_.root);
}

bool TLaunchPopup::ListingUnchanged(const Listing& listing) const {
  if (!listing.entered) return true;
  // A folder's entries are kept with the time they were listed at only when nothing moved
  // while they were listed; one that did, or one listed again since, counts as changed.
  const auto kept = listed_.find(listing.folder);
  if (kept == listed_.end() || kept->second.entries != listing.entries) return false;
  const std::optional<platform::FileAttributeData> now =
      platform_.files.GetFileAttributesEx(listing.folder);
  if (!now || now->lastWriteTime != kept->second.writeTime) return false;
  return std::all_of(listing.subfolders.begin(), listing.subfolders.end(),
                     [this](const std::unique_ptr<Listing>& subfolder) {
                       return ListingUnchanged(*subfolder);
                     });
}

void TLaunchPopup::ListFolder(Listing& listing, std::vector<Listing*>& toList) {
  const std::optional<platform::FileAttributeData> before =
      platform_.files.GetFileAttributesEx(listing.folder);
  const bool link = before && (before->attributes & platform::FileAttributeReparsePoint) != 0;
  listing.throughLink = link || (listing.parent != nullptr && listing.parent->throughLink);
  // A folder reached again through a junction or link is listed but not entered: the scan
  // would never end. Without a link on the way no folder can be its own ancestor, so a tree
  // without links opens no folder to learn its identity.
  if (listing.throughLink && LeadsBackUp(listing)) {
    listing.entered = false;
    return;
  }
  listing.entries = EntriesOf(listing.folder, before);
  for (const std::string& name : *listing.entries) {
    if (name[0] != '0') continue;
    auto subfolder = std::make_unique<Listing>();
    subfolder->folder = listing.folder + name.substr(1) + "\\";
    subfolder->parent = &listing;
    toList.push_back(subfolder.get());
    listing.subfolders.push_back(std::move(subfolder));
  }
}

bool TLaunchPopup::LeadsBackUp(Listing& listing) {
  const std::optional<std::string>& identity = IdentityOf(listing);
  if (!identity) return false;
  for (Listing* up = listing.parent; up != nullptr; up = up->parent) {
    if (IdentityOf(*up) == identity) return true;
  }
  return false;
}

const std::optional<std::string>& TLaunchPopup::IdentityOf(Listing& listing) {
  if (!listing.identity) listing.identity = platform_.files.FolderIdentity(listing.folder);
  return *listing.identity;
}

std::shared_ptr<const TLaunchPopup::Entries> TLaunchPopup::EntriesOf(
    const std::string& folder, const std::optional<platform::FileAttributeData>& before) {
  platform::FileSystem& files = platform_.files;
  const auto kept = listed_.find(folder);
  if (ReuseUnchanged && before && kept != listed_.end() &&
      kept->second.writeTime == before->lastWriteTime && kept->second.mask == Mask &&
      kept->second.folders == SearchDirectory) {
    return kept->second.entries;
  }
  // Folders first ("0"), then files ("1"), each group in the user's order of names.
  auto names = std::make_shared<Entries>();
  constexpr std::uint32_t kHiddenOrSystem =
      platform::FileAttributeHidden | platform::FileAttributeSystem;
  const auto isFolderEntry = [](const platform::FindData& entry) {
    return (entry.attributes & platform::FileAttributeDirectory) != 0 && entry.name != "." &&
           entry.name != "..";
  };
  // A mask that takes every name finds the subfolders too: one pass over the folder.
  const bool foldersWithFiles = Mask == "*.*";
  if (SearchDirectory && !foldersWithFiles) {
    for (const platform::FindData& entry : files.FindFiles(folder + "*.*")) {
      if (isFolderEntry(entry)) names->push_back("0" + entry.name);
    }
  }
  for (const platform::FindData& entry : files.FindFiles(folder + Mask)) {
    if ((entry.attributes & platform::FileAttributeDirectory) == 0) {
      if ((entry.attributes & kHiddenOrSystem) == 0) names->push_back("1" + entry.name);
    } else if (SearchDirectory && foldersWithFiles && isFolderEntry(entry)) {
      names->push_back("0" + entry.name);
    }
  }
  std::sort(names->begin(), names->end(), [this](const std::string& a, const std::string& b) {
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
  if (!listing.entries) return;
  std::size_t subfolder = 0;
  for (const std::string& name : *listing.entries) {
    const std::string entryName = name.substr(1);
    if (name[0] == '0') {
      TMenuItem& folderItem = parent.Add({}, entryName);
      const Listing* content = listing.subfolders[subfolder++].get();
      // An empty folder, or one not entered, is an item that does nothing, as it always was.
      if (!content->entered || !content->entries || content->entries->empty()) continue;
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
    TMenuItem& item = parent.Add({}, std::string(WithoutExtension(entryName)));
    item.SetTag(kFirstFileTag + fileItemCount_++);
    item.OnClick = [this](TComponent& sender) { ItemClick(sender); };
    paths_.push_back(listing.folder + entryName);
    if (Images() != nullptr) item.SetImageIndex(IconIndex(paths_.back()));
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
