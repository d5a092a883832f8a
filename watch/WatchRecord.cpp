// One line per event, tab-separated so that it reads in columns in Notepad and sorts by time:
//   2026-12-09 19:21:05 <TAB> 移動 <TAB> C:\in\a.pdf <TAB> D:\out\a.pdf <TAB> (why, if any)
// The file is UTF-8 with a byte-order mark, which every Windows editor takes as UTF-8 (without
// one, older editors on a Japanese system read it as Shift_JIS).

#include "watch/WatchRecord.h"

#include <cstdio>
#include <optional>
#include <string_view>

namespace varnel {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kMostLineBytes = WatchRecord::kMostBytes - kBom.size();

const char* ReasonText(WatchRecord::Skip why) {
  switch (why) {
    case WatchRecord::Skip::BeingWritten:
      return "書き込み中";
    case WatchRecord::Skip::NameTaken:
      return "移動先に同名のファイルがあります";
    case WatchRecord::Skip::MoveRefused:
      return "移動できません";
    case WatchRecord::Skip::OpenRefused:
      return "開けません";
  }
  return "";
}

// Drops the oldest lines, each whole, until `text` fits in `most` bytes.
void KeepNewest(std::string& text, std::size_t most) {
  if (text.size() <= most) return;
  std::size_t start = text.size() - most;
  if (text[start - 1] != '\n') {
    const std::size_t end = text.find('\n', start);
    start = end == std::string::npos ? text.size() : end + 1;
  }
  text.erase(0, start);
}

}  // namespace

WatchRecord::WatchRecord(platform::FileSystem& files, const platform::Kernel& kernel,
                         std::string path)
    : files_(files), kernel_(kernel), path_(std::move(path)) {}

void WatchRecord::Moved(const std::string& file, const std::string& target) {
  Forget(file);
  Add("移動", file, target, "");
}

void WatchRecord::Opened(const std::string& file, const std::string& program, bool started) {
  Forget(file);
  Add("開く", file, program, started ? "" : "プログラムを起動できません");
}

void WatchRecord::Skipped(const std::string& file, const std::string& target, Skip why) {
  if (!skipped_.emplace(file, why).second) return;
  Add("保留", file, target, ReasonText(why));
}

void WatchRecord::ForgetGone() {
  std::erase_if(skipped_, [this](const auto& skip) { return !files_.FileExists(skip.first); });
}

void WatchRecord::Forget(const std::string& file) {
  std::erase_if(skipped_, [&file](const auto& skip) { return skip.first == file; });
}

void WatchRecord::Add(const char* what, const std::string& file, const std::string& target,
                      const char* why) {
  const platform::Kernel::LocalTime now = kernel_.GetLocalTime();
  char time[32];
  std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  waiting_ += std::string(time) + '\t' + what + '\t' + file + '\t' + target + '\t' + why + "\r\n";
  // Lines that cannot be written for a long time stay bounded: those the file could not keep
  // anyway go first.
  KeepNewest(waiting_, kMostLineBytes);
  fresh_ = true;
}

void WatchRecord::WriteNew() {
  if (fresh_) Write();
}

// The file is read, extended and put back whole, so that a record that cannot be written (a
// full disk, a read-only file) stays as it was and the lines wait in memory for the next try.
bool WatchRecord::Write() {
  fresh_ = false;
  if (waiting_.empty()) return true;
  std::string record;
  if (files_.GetFileAttributes(path_) != platform::InvalidFileAttributes) {
    std::optional<std::string> old = files_.ReadFile(path_);
    // A record that is there but cannot be read now must not be replaced by the new lines alone.
    if (!old) return false;
    record = std::move(*old);
    if (record.starts_with(kBom)) record.erase(0, kBom.size());
    // A line typed into the file by hand does not swallow the first new one.
    if (!record.empty() && record.back() != '\n') record += "\r\n";
  }
  record += waiting_;
  KeepNewest(record, kMostLineBytes);
  if (!files_.ReplaceFile(path_, std::string(kBom) + record)) return false;
  waiting_.clear();
  return true;
}

}  // namespace varnel
