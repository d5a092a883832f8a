// The Launch menu: its fixed head of commands, its body built from the Launch folder, and
// what choosing an item does.

#include "app/Unit1.h"
#include "base/Paths.h"

namespace varnel {

namespace {

// The fixed items: Pop終了, 補完Exp, 引出時固定, ＤｕａｌEｘｐ, Varnel, the separator.
constexpr int kFixedItems = 6;

}  // namespace

void TForm1::LoadLaunchMenu(bool reuseUnchanged) {
  launchMenuLoaded_ = true;
  // Every load starts from the fixed items and their icons: nothing accumulates.
  ImageListLaunch->Assign(*ImageListLchBak);
  PopupMenuLaunch->Items().DeleteFrom(kFixedItems);
  const std::string& folder = Settings.Launch.Path;
  if (folder.empty() || !System().files.FolderExists(folder)) return;
  PopupMenuLaunch->Mask = Settings.Launch.Lnk != 0 ? "*.lnk" : "*.*";
  PopupMenuLaunch->Directory = folder;
  PopupMenuLaunch->ReuseUnchanged = reuseUnchanged;
  PopupMenuLaunch->Rebuild();
}

void TForm1::PopupMenuLaunchPopup(TComponent& /*sender*/) {
  // Popped before the start had come to the menu (from the tray, while the Explorer starts).
  // A pop is frequent: only what changed since is listed again. A load the user asks for
  // lists everything.
  if (Settings.Launch.Auto != 0 || !launchMenuLoaded_) LoadLaunchMenu(launchMenuLoaded_);
}

void TForm1::PopupMenuLaunchItemClick(TComponent& /*sender*/) {
  Engine.LaunchShownEdge = EdgeNone;
  Engine.LaunchIdleCount = 0;
  const std::string path = PopupMenuLaunch->ClickedFile();
  System().shell.ShellExecute(Handle(), "", path, "", std::string(FolderPart(path)),
                              platform::SwShowNormal);
}

void TForm1::mnuPopExitClick(TComponent& /*sender*/) {
  System().windows.ShowOwnedPopups(Handle(), false);
  Engine.LaunchIdleCount = 0;
  Engine.LaunchShownEdge = EdgeNone;
}

void TForm1::mnuLaunchLoadClick(TComponent& /*sender*/) { LoadLaunchMenu(); }

}  // namespace varnel
