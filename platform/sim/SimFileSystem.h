#pragma once
// A Windows-style file system in memory: drive letters, backslashes (forward slashes are taken
// as backslashes), names compared without regard to case, attributes, and folders. Tests build
// the disk with the helpers below and can make writes fail the ways a real disk does.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace varnel::sim {

class SimFileSystem : public platform::FileSystem {
 public:
  // platform::FileSystem
  std::uint32_t GetFileAttributes(const std::string& path) const override;
  // The time is drawn from what it stands for: a file's from its contents, a folder's from its
  // entries' names, so that it changes exactly when a real one would.
  std::optional<platform::FileAttributeData> GetFileAttributesEx(
      const std::string& path) const override;
  std::optional<std::uint64_t> GetFileSize(const std::string& path) const override;
  std::optional<std::string> ReadFile(const std::string& path) const override;
  bool ReplaceFile(const std::string& path, std::string_view contents) override;
  std::vector<platform::FindData> FindFiles(const std::string& pattern) const override;
  std::optional<std::string> FolderIdentity(const std::string& path) const override;
  // Each drive letter is a volume of its own: across drives the file is copied, in the steps
  // of the Win32 backend, any of which a test can make fail.
  bool MoveFile(const std::string& from, const std::string& to) override;
  platform::CreateFileResult CreateFile(const std::string& path, std::uint32_t access,
                                        std::uint32_t share) const override;

  // Test set-up. CreateFolder and WriteFile create missing parent folders and the drive.
  void CreateFolder(const std::string& path);
  void WriteFile(const std::string& path, std::string_view contents);
  // Replaces every attribute bit but the directory bit, which stays what the entry is.
  void SetAttributes(const std::string& path, std::uint32_t attributes);
  // A junction: a folder at `path` that shows the content of the folder `target`.
  void CreateFolderLink(const std::string& path, const std::string& target);
  // Removes a file, or a folder with everything in it.
  void Remove(const std::string& path);
  // A folder in which nothing can be created or replaced, as an access-control list that
  // denies writing would make it (the read-only attribute does not do that on Windows).
  void SetFolderWriteProtected(const std::string& path, bool writeProtected);
  // Every write fails while the disk is full; nothing already on it changes.
  void SetDiskFull(bool full) { diskFull_ = full; }
  // The next `count` renames of a file onto `path` fail, as they do on Windows while the name
  // is still held (a file deleted but still open elsewhere keeps its name until it is closed).
  // The first is the one that ReplaceFile's system call makes after it has moved the old file
  // aside: the failure ReplaceFileW reports as ERROR_UNABLE_TO_MOVE_REPLACEMENT_2.
  void FailMovesInto(const std::string& path, int count);

  // Another program's open handle on a file: what it opened it for (GenericRead, GenericWrite,
  // AccessDelete) and what it lets others do (the FileShare bits).
  struct Holder {
    std::uint32_t access = 0;
    std::uint32_t share = 0;
  };
  // Another program has the file open (by default a writer sharing nothing), or lets it go.
  void SetHeldOpen(const std::string& path, bool held,
                   Holder holder = {platform::GenericWrite, 0});
  // The file's access list denies this program every access: it cannot be opened at all.
  void SetAccessDenied(const std::string& path, bool denied);
  // Another program deleted the file and still has it open: it is listed, but its name
  // resolves no more (no attributes, no open) until that program lets go.
  void SetDeletePending(const std::string& path);
  // The steps of a move to another drive; the next such move fails at the step given.
  enum class CrossDriveStep { CreateCopy, WriteCopy, ShortCopy, RenameCopy, DeleteSource };
  void FailNextCrossDriveMove(CrossDriveStep step) { failingCrossDriveStep_ = step; }
  // The contents of a file whoever holds it, for a test that checks nothing was lost or
  // overwritten.
  std::optional<std::string> Contents(const std::string& path) const;
  int MoveCount() const { return moveCount_; }
  // How many folder listings (FindFirstFile rounds) were asked for.
  int FindCount() const { return findCount_; }
  // Runs inside every FindFiles: what a slow disk lets happen meanwhile (time passing).
  std::function<void()> whileFinding;

  bool Exists(const std::string& path) const { return Find(path) != nullptr; }
  // The entry's full path spelled as it was created, or nothing.
  std::optional<std::string> ActualPath(const std::string& path) const;
  // Calls of ReplaceFile so far, successful or not.
  int ReplaceCount() const { return replaceCount_; }

 private:
  struct Entry {
    std::string path;  // as created
    std::uint32_t attributes = 0;
    std::string contents;
    bool writeProtected = false;
    std::string linkTarget;  // the key of the folder a junction leads to
    std::optional<Holder> holder;
    bool accessDenied = false;
    bool deletePending = false;
  };
  // CreateFile's checks on an existing entry: access, then sharing with the holder.
  static platform::CreateFileResult Open(const Entry& entry, std::uint32_t access,
                                         std::uint32_t share);
  // The key with every junction on the way replaced by the folder it leads to.
  std::string Resolve(const std::string& key) const;

  // The lookup key of a path: backslashes, no trailing backslash but on a drive root, ASCII
  // letters lowered. Nothing for a path that is not a full path with a drive letter.
  static std::optional<std::string> Key(std::string_view path);
  static std::string Spelling(std::string_view path);
  static std::string ParentKey(const std::string& key);

  const Entry* Find(const std::string& path) const;
  Entry* Find(const std::string& path);
  Entry& MakeFolders(const std::string& key, const std::string& spelling);

  // ReplaceFile's steps, as the Win32 backend takes them.
  // A name for the step's files in the folder: the stem, with neither ".tmp" nor ".bak" taken.
  std::string NewStemIn(const std::string& folderKey);
  // MoveFileEx without replacing: fails when `to` is taken or held.
  bool Move(const std::string& fromKey, const std::string& toKey, const std::string& spelling);
  // MoveFile's copy to another drive, step by step.
  bool MoveAcrossDrives(const std::string& fromKey, const std::string& toKey,
                        const std::string& spelling);

  std::map<std::string, Entry> entries_;
  std::map<std::string, int> failingMoves_;  // by key
  bool diskFull_ = false;
  std::optional<CrossDriveStep> failingCrossDriveStep_;
  int replaceCount_ = 0;
  int moveCount_ = 0;
  mutable int findCount_ = 0;
  unsigned nextStem_ = 0x1000;
};

}  // namespace varnel::sim
