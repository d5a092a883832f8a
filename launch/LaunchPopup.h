#pragma once
// A popup menu that fills itself from a folder: subfolders become submenus, files become items
// with their shell icon; choosing a file hands its path to the owner or opens it.

#include <map>
#include <set>
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

  // Appends the items for the content of Directory after the items already there.
  void Rebuild();
  // Full path of every file item of the last Rebuild, in build order.
  const std::vector<std::string>& Paths() const { return paths_; }

  // Shell icons fetched by builds so far (each file type once a build).
  int IconRequests() const { return iconRequests_; }
  // Fetch one icon a file type per build (the default) or one a file.
  bool CacheIcons = true;

 private:
  void AddFolderItems(const std::string& folder, TMenuItem& parent);
  int IconIndex(const std::string& path);
  void ItemClick(TComponent& item);

  platform::Platform& platform_;
  std::string clickedFile_;
  std::vector<std::string> paths_;
  int fileItemCount_ = 0;
  // The folders being scanned, by identity: a junction back to one of them is not entered.
  std::set<std::string> ancestors_;
  // Image-list index of each file type's icon within the current build.
  std::map<std::string, int> iconByType_;
  int iconRequests_ = 0;
};

}  // namespace varnel
