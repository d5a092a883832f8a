// The watched folder: every 5 seconds the files of the listed extensions are moved to the
// target folder, or a newly arrived one is opened with the chosen program. Folder listings
// are compared; the system is not asked to notify anything.

#include <unordered_set>

#include "app/Unit1.h"
#include "base/Paths.h"
#include "base/ScopeExit.h"
#include "watch/WatchExtensions.h"

namespace varnel {

void TForm1::BuildWatchMask() {
  FileListBox1->SetDirectory(Settings.Watch.SRCPath);
  FileListBox2->SetDirectory(Settings.Watch.SRCPath);
  std::string mask;
  for (const std::string& extension : ListBox1->Items().Items()) {
    // An entry typed into the file by hand that would widen the mask is left out of it.
    if (!IsWatchableExtension(extension)) continue;
    mask += "*." + extension + ";";
  }
  if (!mask.empty()) mask.pop_back();
  FileListBox1->SetMask(mask);
  FileListBox1->Update();
  FileListBox2->SetMask(mask);
  FileListBox2->Update();
}

void TForm1::WatchStep() {
  if (Settings.Watch.Enb == 0 || ListBox1->Items().Count() == 0) return;
  if (Settings.Watch.Mode == 0) {
    MoveWatchedFiles();
  } else {
    OpenNewWatchedFile();
  }
}

void TForm1::MoveWatchedFiles() {
  const auto& watch = Settings.Watch;
  platform::FileSystem& files = System().files;
  if (watch.SRCPath.empty() || watch.TrgPath.empty() || !files.FolderExists(watch.SRCPath) ||
      !files.FolderExists(watch.TrgPath)) {
    return;
  }
  FileListBox1->Update();
  for (const std::string& name : FileListBox1->Items()) {
    // A name already taken in the target, or a file still in use, stays where it is and is
    // tried again at the next step: nothing is replaced, nothing lost.
    files.MoveFile(JoinPath(watch.SRCPath, name), JoinPath(watch.TrgPath, name));
  }
}

void TForm1::OpenNewWatchedFile() {
  const auto& watch = Settings.Watch;
  platform::FileSystem& files = System().files;
  if (!files.FileExists(watch.AppPath)) return;
  FileListBox2->Update();
  const int previous = FileListBox1->Count();
  const int current = FileListBox2->Count();
  if (previous == current) return;
  if (previous > current) {
    FileListBox1->Update();
    return;
  }
  if (Engine.AppLaunchedRecently) return;
  const std::string name = FindNewWatchedFile();
  if (name.empty()) return;
  const std::string path = JoinPath(watch.SRCPath, name);
  // A writer that still has the file open has not finished it: it is tried again next time.
  if (!files.OpenUnshared(path)) return;
  System().shell.ShellExecute(Handle(), "", watch.AppPath, "\"" + path + "\"",
                              std::string(FolderPart(watch.AppPath)), platform::SwShowNormal);
  Engine.LaunchCooldown = 0;
  FileListBox1->Update();
  Engine.AppLaunchedRecently = true;
}

std::string TForm1::FindNewWatchedFile() const {
  const std::vector<std::string>& known = FileListBox1->Items();
  const std::unordered_set<std::string> previous(known.begin(), known.end());
  for (const std::string& name : FileListBox2->Items()) {
    if (previous.count(name) == 0) return name;
  }
  return {};
}

}  // namespace varnel
