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
  BeginLaunchLoad(reuseUnchanged);
  PopupMenuLaunch->FinishRebuild();
}

void TForm1::BeginLaunchLoad(bool reuseUnchanged) {
  launchMenuLoaded_ = true;
  PopupMenuLaunch->Mask = Settings.Launch.Lnk != 0 ? "*.lnk" : "*.*";
  PopupMenuLaunch->Directory = Settings.Launch.Path;
  PopupMenuLaunch->ReuseUnchanged = reuseUnchanged;
  // A tree that has not changed since the items were made would give the same items again.
  if (reuseUnchanged && PopupMenuLaunch->Unchanged()) return;
  // Every load starts from the fixed items and their icons: nothing accumulates.
  ImageListLaunch->Assign(*ImageListLchBak);
  PopupMenuLaunch->Items().DeleteFrom(kFixedItems);
  // A folder that is not there lists nothing, and ends a listing still under way.
  PopupMenuLaunch->BeginRebuild();
}

void TForm1::ContinueLaunchLoad() {
  // A slice short enough that the edges and the tray never seem to wait for it.
  constexpr std::uint32_t kSliceMs = 20;
  if (PopupMenuLaunch->Rebuilding()) PopupMenuLaunch->ContinueRebuild(kSliceMs);
}

void TForm1::PopupMenuLaunchPopup(TComponent& /*sender*/) {
  // Popped before the start had come to the menu (from the tray, while the Explorer starts).
  // A pop is frequent: only what changed since is listed again. A load the user asks for
  // lists everything.
  if (Settings.Launch.Auto != 0 || !launchMenuLoaded_) {
    LoadLaunchMenu(launchMenuLoaded_);
  } else {
    // Popped while the start's listing is still under way: what is left is listed now.
    PopupMenuLaunch->FinishRebuild();
  }
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
