#pragma once
// The watched folder's record: what became of each file it handled, one line per event in a
// text file a user can open when a file is not where it was expected.

#include <cstddef>
#include <set>
#include <string>
#include <utility>

#include "platform/Platform.h"

namespace varnel {

class WatchRecord {
 public:
  // Why a file was left where it was.
  enum class Skip { BeingWritten, NameTaken, MoveRefused, OpenRefused };

  // The record is kept to this many bytes; older lines drop off whole.
  static constexpr std::size_t kMostBytes = std::size_t{1} << 20;

  WatchRecord(platform::FileSystem& files, const platform::Kernel& kernel, std::string path);

  const std::string& Path() const { return path_; }

  void Moved(const std::string& file, const std::string& target);
  // `started`: whether the shell could start the program.
  void Opened(const std::string& file, const std::string& program, bool started);
  // Recorded the first time only, until the file moves, opens or goes away.
  void Skipped(const std::string& file, const std::string& target, Skip why);
  // Forgets the skips of files that are no longer there.
  void ForgetGone();

  // Writes the waiting lines if a line came since the last attempt: a record that cannot be
  // written now is tried again with the next line, not at every step.
  void WriteNew();
  // Writes the waiting lines now; whether none is left waiting.
  bool Write();

 private:
  void Add(const char* what, const std::string& file, const std::string& target, const char* why);
  void Forget(const std::string& file);

  platform::FileSystem& files_;
  const platform::Kernel& kernel_;
  std::string path_;
  // Lines not yet in the file, oldest first, kept within the record's size.
  std::string waiting_;
  bool fresh_ = false;
  std::set<std::pair<std::string, Skip>> skipped_;
};

}  // namespace varnel
