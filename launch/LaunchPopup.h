#pragma once
// A popup menu that fills itself from a folder: subfolders become submenus, files become items
// with their shell icon; choosing a file hands its path to the owner or opens it.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Menus.h"
#include "platform/Platform.h"

namespace varnel {

class TLaunchPopup : public TPopupMenu {
 public:
  TLaunchPopup(TComponent* owner, std::string name, platform::Platform& platform);

  // The folder to scan, ending with a backslash; entry names are appended to it directly.
  std::string Directory;
  bool SearchDirectory = false;  // list subfolders as submenus
  std::string Mask = "*.lnk";    // which files are listed

  // Full path of the file item chosen last; set just before OnItemClick fires.
  const std::string& ClickedFile() const { return clickedFile_; }
  TNotifyEvent OnItemClick;

  // Lists the content of Directory (with its subfolders' when SearchDirectory) and appends
  // the items of its top after the items already there. A subfolder's items are made from that
  // listing the first time its submenu opens, so a large tree costs little until it is used.
  void Rebuild();
  // The same in steps: the listing is begun, continued a slice at a time, and the items are
  // added when it is complete, so that a large tree never holds up the program for long.
  void BeginRebuild();
  // Lists folders until `milliseconds` have passed (at least one folder); true once the
  // listing is complete and the items are added.
  bool ContinueRebuild(std::uint32_t milliseconds);
  // Lists whatever is left now and adds the items.
  void FinishRebuild();
  bool Rebuilding() const { return pending_ != nullptr; }
  // True when the last complete build was made with the present settings and no folder it
  // listed has changed since (by last-write time): a Rebuild would make the same items.
  bool Unchanged() const;
  // Makes every subfolder's items at Rebuild, as a menu of a few items can well afford.
  bool BuildAtOnce = false;
  // At Rebuild a folder whose last-write time is what it was when it was last listed is not
  // listed again: its entries are taken from then. A folder's time moves when an entry is
  // added, removed or renamed there, so a tree that has not changed costs no listing.
  bool ReuseUnchanged = false;
  // Full path of every file item made since the last Rebuild, in the order they were made.
  const std::vector<std::string>& Paths() const { return paths_; }

  // Shell icons fetched by builds so far (each file type once a build).
  int IconRequests() const { return iconRequests_; }
  // Fetch one icon a file type per build (the default) or one a file.
  bool CacheIcons = true;

 private:
  // A folder's entries, "0" and a folder's name or "1" and a file's, in menu order.
  using Entries = std::vector<std::string>;
  // One folder's content as listed at the last Rebuild.
  struct Listing {
    std::string folder;  // with its trailing backslash
    Listing* parent = nullptr;
    // Reached through a junction or link, here or above: only then may it lead back up.
    bool throughLink = false;
    // False for a folder reached again through a link: listed as an item, never entered.
    bool entered = true;
    std::optional<std::optional<std::string>> identity;  // taken when first needed
    std::shared_ptr<const Entries> entries;
    std::vector<std::unique_ptr<Listing>> subfolders;  // one for each folder entry, in order
  };
  // A listing under way: the whole tree, and the folders still to list.
  struct Pending {
    std::shared_ptr<Listing> root;
    std::vector<Listing*> folders;
  };
  void ListFolder(Listing& listing, std::vector<Listing*>& toList);
  bool ListingUnchanged(const Listing& listing) const;
  bool LeadsBackUp(Listing& listing);
  const std::optional<std::string>& IdentityOf(Listing& listing);
  std::shared_ptr<const Entries> EntriesOf(
      const std::string& folder, const std::optional<platform::FileAttributeData>& before);
  // The entries of each folder as last listed, with its last-write time then.
  struct Listed {
    std::uint64_t writeTime = 0;
    std::string mask;  // what the listing looked for
    bool folders = false;
    std::shared_ptr<const Entries> entries;
  };
  std::map<std::string, Listed> listed_;
  // Adds the items of `listing` to `parent`; `root` keeps the listing alive for the items
  // still to be made.
  void AddItems(const std::shared_ptr<const Listing>& root, const Listing& listing,
                TMenuItem& parent);
  int IconIndex(const std::string& path);
  void ItemClick(TComponent& item);

  platform::Platform& platform_;
  std::string clickedFile_;
  std::vector<std::string> paths_;
  int fileItemCount_ = 0;
  std::unique_ptr<Pending> pending_;
  // What the last complete build was made from, and with which settings.
  struct Built {
    std::shared_ptr<const Listing> root;
    std::string directory, mask;
    bool folders = false;
  };
  Built built_;
  // Image-list index of each file type's icon within the current build.
  std::map<std::string, int> iconByType_;
  int iconRequests_ = 0;
};

}  // namespace varnel
