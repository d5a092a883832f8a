// The watched folder: every 5 seconds the files of the listed extensions are moved to the
// target folder, or a newly arrived one is opened with the chosen program. Folder listings
// are compared; the system is not asked to notify anything.

#include <cstdint>
#include <optional>
#include <string_view>
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

namespace {

// Browsers and download managers write a download under its name and one of these endings and
// rename it once it is whole; Firefox even leaves an empty file of the final name beside it.
// While such a file exists, the file of the final name is not finished.
constexpr std::string_view kDownloadEndings[] = {".part", ".crdownload", ".download",
                                                 ".partial"};

bool DownloadUnderWay(const platform::FileSystem& files, const std::string& path) {
  for (const std::string_view ending : kDownloadEndings) {
    if (files.GetFileAttributes(path + std::string(ending)) != platform::InvalidFileAttributes) {
      return true;
    }
  }
  return false;
}

// Why a move left the file where it was, told after the fact so that the move itself keeps
// its one step; nothing when the file is gone meanwhile.
std::optional<WatchRecord::Skip> WhyNotMoved(const platform::FileSystem& files,
                                             const std::string& source,
                                             const std::string& target) {
  if (!files.FileExists(source)) return std::nullopt;
  if (files.GetFileAttributes(target) != platform::InvalidFileAttributes) {
    return WatchRecord::Skip::NameTaken;
  }
  if (files.CreateFile(source, platform::GenericRead, platform::FileShareRead) ==
      platform::CreateFileResult::SharingViolation) {
    return WatchRecord::Skip::BeingWritten;
  }
  return WatchRecord::Skip::MoveRefused;
}

}  // namespace

void TForm1::WatchStep() {
  if (Settings.Watch.Enb == 0 || ListBox1->Items().Count() == 0) return;
  // A step that waits on the system lets ticks run (a program's start can show a prompt): the
  // steps they would start are skipped, not nested.
  if (watchStepRunning_) return;
  const auto running = RaiseForScope(watchStepRunning_);
  watchRecord_->ForgetGone();
  if (Settings.Watch.Mode == 0) {
    MoveWatchedFiles();
  } else {
    OpenNewWatchedFile();
  }
  // Once per step, however many files it handled.
  watchRecord_->WriteNew();
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
    const std::string source = JoinPath(watch.SRCPath, name);
    const std::string target = JoinPath(watch.TrgPath, name);
    if (DownloadUnderWay(files, source)) {
      watchRecord_->Skipped(source, target, WatchRecord::Skip::BeingWritten);
      continue;
    }
    // A name already taken in the target, or a file another program still writes, stays
    // where it is and is tried again at the next step: nothing is replaced, nothing lost.
    if (files.MoveFile(source, target)) {
      watchRecord_->Moved(source, target);
    } else if (const auto why = WhyNotMoved(files, source, target)) {
      watchRecord_->Skipped(source, target, *why);
    }
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
  for (const std::string& name : NewWatchedFiles()) {
    const std::string path = JoinPath(watch.SRCPath, name);
    // Still being written (a writer holds it open for writing, whatever it shares, or a
    // download beside it is unfinished): the file waits for the next step, and so do the
    // files after it.
    const platform::CreateFileResult probe =
        DownloadUnderWay(files, path)
            ? platform::CreateFileResult::SharingViolation
            : files.CreateFile(path, platform::GenericRead, platform::FileShareRead);
    if (probe == platform::CreateFileResult::SharingViolation) {
      watchRecord_->Skipped(path, watch.AppPath, WatchRecord::Skip::BeingWritten);
      return;
    }
    if (probe == platform::CreateFileResult::Failed) {
      // Gone already, or never to be opened by us: seen, and the next new file's turn.
      if (files.FileExists(path)) {
        watchRecord_->Skipped(path, watch.AppPath, WatchRecord::Skip::OpenRefused);
      }
      FileListBox1->Add(name);
      continue;
    }
    // Handled before the program starts, since the start may wait on the user.
    Engine.LaunchCooldown = 0;
    FileListBox1->Update();
    Engine.AppLaunchedRecently = true;
    const std::intptr_t started = System().shell.ShellExecute(
        Handle(), "", watch.AppPath, "\"" + path + "\"", std::string(FolderPart(watch.AppPath)),
        platform::SwShowNormal);
    watchRecord_->Opened(path, watch.AppPath, started > 32);
    return;
  }
}

std::string TForm1::FindNewWatchedFile() const {
  const std::vector<std::string> arrived = NewWatchedFiles();
  return arrived.empty() ? std::string() : arrived.front();
}

std::vector<std::string> TForm1::NewWatchedFiles() const {
  const std::vector<std::string>& known = FileListBox1->Items();
  std::unordered_set<std::string> seen(known.begin(), known.end());
  std::vector<std::string> arrived;
  for (const std::string& name : FileListBox2->Items()) {
    if (seen.insert(name).second) arrived.push_back(name);
  }
  return arrived;
}

// The record opens in whatever the user reads text files with; a system where no program is
// registered for the file's type still has Notepad.
void TForm1::mnuWatchRecordClick(TComponent&) {
  // Lines still waiting for the file belong in what the user is about to read.
  watchRecord_->Write();
  const std::string& record = watchRecord_->Path();
  platform::Shell& shell = System().shell;
  const std::string folder(FolderPart(record));
  if (!System().files.FileExists(record)) {
    System().ui.MessageBox(Handle(),
                           "監視の記録はまだありません。\n"
                           "監視フォルダのファイルを移動したり開いたりすると記録されます。",
                           Application().Title(), platform::MbOk | platform::MbIconInformation);
    return;
  }
  if (shell.ShellExecute(Handle(), "open", record, "", folder, platform::SwShowNormal) ==
      platform::SeErrNoAssoc) {
    shell.ShellExecute(Handle(), "open", "notepad.exe", "\"" + record + "\"", folder,
                       platform::SwShowNormal);
  }
}

}  // namespace varnel
