#include "platform/sim/SimFileSystem.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <utility>

namespace varnel::sim {

namespace {

bool IsDriveRoot(std::string_view key) { return key.size() == 3 && key[1] == ':'; }

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string SimFileSystem::Spelling(std::string_view path) {
  std::string spelled(path);
  for (char& c : spelled) {
    if (c == '/') c = '\\';
  }
  if (spelled.size() == 2) spelled += '\\';
  while (spelled.size() > 3 && spelled.back() == '\\') spelled.pop_back();
  return spelled;
}

std::optional<std::string> SimFileSystem::Key(std::string_view path) {
  if (path.size() < 2 || !IsLetter(path[0]) || path[1] != ':') return std::nullopt;
  if (path.size() > 2 && path[2] != '\\' && path[2] != '/') return std::nullopt;
  std::string key = Spelling(path);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (key.find("\\\\") != std::string::npos) return std::nullopt;
  return key;
}

std::string SimFileSystem::ParentKey(const std::string& key) {
  const std::size_t slash = key.rfind('\\');
  return slash <= 2 ? key.substr(0, 3) : key.substr(0, slash);
}

std::string SimFileSystem::Resolve(const std::string& key) const {
  // Walk the path a folder at a time; a junction on the way sends the rest to its target.
  std::string resolved = key.substr(0, 3);
  std::size_t start = 3;
  while (start < key.size()) {
    const std::size_t end = key.find('\\', start);
    const std::string part = key.substr(start, end == std::string::npos ? end : end - start);
    resolved += (resolved.size() > 3 ? "\\" : "") + part;
    const auto it = entries_.find(resolved);
    if (it != entries_.end() && !it->second.linkTarget.empty()) resolved = it->second.linkTarget;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return resolved;
}

const SimFileSystem::Entry* SimFileSystem::Find(const std::string& path) const {
  std::optional<std::string> key = Key(path);
  if (!key) return nullptr;
  // The junction itself is an entry; what lies below it is found through its target.
  const std::string parent = ParentKey(*key);
  if (*key != parent) {
    const std::string folder = Resolve(parent);
    key = folder + (folder.size() > 3 ? "\\" : "") + key->substr(key->rfind('\\') + 1);
  }
  const auto it = entries_.find(*key);
  if (it == entries_.end()) return nullptr;
  // "C:\file.txt\" names no file: a trailing backslash asks for a folder.
  const bool wantsFolder = path.size() > 3 && (path.back() == '\\' || path.back() == '/');
  if (wantsFolder && (it->second.attributes & platform::FileAttributeDirectory) == 0)
    return nullptr;
  return &it->second;
}

SimFileSystem::Entry* SimFileSystem::Find(const std::string& path) {
  return const_cast<Entry*>(static_cast<const SimFileSystem*>(this)->Find(path));
}

std::uint32_t SimFileSystem::GetFileAttributes(const std::string& path) const {
  const Entry* entry = Find(path);
  return entry && !entry->deletePending ? entry->attributes : platform::InvalidFileAttributes;
}

// Opened for reading and shared every way, as the Win32 backend reads.
std::optional<std::string> SimFileSystem::ReadFile(const std::string& path) const {
  const Entry* entry = Find(path);
  if (!entry || (entry->attributes & platform::FileAttributeDirectory) != 0 ||
      Open(*entry, platform::GenericRead,
           platform::FileShareRead | platform::FileShareWrite | platform::FileShareDelete) !=
          platform::CreateFileResult::Opened) {
    return std::nullopt;
  }
  return entry->contents;
}

std::optional<std::string> SimFileSystem::Contents(const std::string& path) const {
  const Entry* entry = Find(path);
  if (!entry || (entry->attributes & platform::FileAttributeDirectory) != 0) return std::nullopt;
  return entry->contents;
}

std::optional<platform::FileAttributeData> SimFileSystem::GetFileAttributesEx(
    const std::string& path) const {
  const Entry* entry = Find(path);
  if (!entry || entry->deletePending) return std::nullopt;
  platform::FileAttributeData data{entry->attributes, 0, 0};
  std::hash<std::string> hash;
  if ((entry->attributes & platform::FileAttributeDirectory) == 0) {
    data.size = entry->contents.size();
    data.lastWriteTime = hash(entry->contents);
    return data;
  }
  const std::optional<std::string> key = Key(path);
  const std::string folder = Resolve(*key);
  for (const auto& [child, each] : entries_) {
    if (child != folder && ParentKey(child) == folder) {
      data.lastWriteTime = data.lastWriteTime * 31 + hash(each.path);
    }
  }
  return data;
}

std::optional<std::uint64_t> SimFileSystem::GetFileSize(const std::string& path) const {
  const Entry* entry = Find(path);
  if (!entry || (entry->attributes & platform::FileAttributeDirectory) != 0) return std::nullopt;
  return entry->contents.size();
}

std::string SimFileSystem::NewStemIn(const std::string& folderKey) {
  const std::string prefix = folderKey + (IsDriveRoot(folderKey) ? "" : "\\") + "vnl";
  while (true) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04x", nextStem_++ & 0xFFFF);
    const std::string stem = prefix + digits;
    if (entries_.count(stem + ".tmp") == 0 && entries_.count(stem + ".bak") == 0) return stem;
  }
}

bool SimFileSystem::Move(const std::string& fromKey, const std::string& toKey,
                         const std::string& spelling) {
  const auto failing = failingMoves_.find(toKey);
  if (failing != failingMoves_.end()) {
    if (--failing->second == 0) failingMoves_.erase(failing);
    return false;
  }
  const auto from = entries_.find(fromKey);
  if (from == entries_.end() || entries_.count(toKey) != 0) return false;
  Entry moved = std::move(from->second);
  entries_.erase(from);
  moved.path = spelling;
  entries_[toKey] = std::move(moved);
  return true;
}

void SimFileSystem::FailMovesInto(const std::string& path, int count) {
  const std::optional<std::string> key = Key(path);
  if (!key) throw std::invalid_argument("not a full path: " + path);
  failingMoves_[*key] = count;
}

// The steps of the Win32 backend (see Win32FileSystem::ReplaceFile): the new contents to a
// file of their own, ReplaceFileW with a backup name (the old file aside, the new one in its
// place), and the repair when the second half of that fails.
bool SimFileSystem::ReplaceFile(const std::string& path, std::string_view contents) {
  ++replaceCount_;
  const std::optional<std::string> key = Key(path);
  if (!key || IsDriveRoot(*key)) return false;
  const std::string folderKey = ParentKey(*key);
  const auto folder = entries_.find(folderKey);
  if (folder == entries_.end() ||
      (folder->second.attributes & platform::FileAttributeDirectory) == 0 ||
      folder->second.writeProtected) {
    return false;
  }
  const auto existing = entries_.find(*key);
  if (existing != entries_.end() &&
      (existing->second.attributes &
       (platform::FileAttributeDirectory | platform::FileAttributeReadOnly)) != 0) {
    return false;
  }
  if (diskFull_) return false;

  const std::string folderSpelling = folder->second.path;
  const std::string stem = NewStemIn(folderKey);
  const auto spelled = [&](const std::string& stemKey, const char* extension) {
    return folderSpelling + (IsDriveRoot(folderKey) ? "" : "\\") +
           stemKey.substr(stemKey.rfind('\\') + 1) + extension;
  };
  const std::string temporary = stem + ".tmp";
  entries_[temporary] = Entry{spelled(stem, ".tmp"), 0, std::string(contents), false, {}};

  if (existing == entries_.end()) {
    if (Move(temporary, *key, Spelling(path))) return true;
    entries_.erase(temporary);
    return false;
  }

  // ReplaceFileW: the old file becomes the backup, and the new one takes its name, spelling
  // and attributes.
  const std::string backup = stem + ".bak";
  const std::string oldSpelling = existing->second.path;
  const std::uint32_t oldAttributes = existing->second.attributes;
  Move(*key, backup, spelled(stem, ".bak"));
  const bool replaced = Move(temporary, *key, oldSpelling);
  if (replaced) {
    entries_[*key].attributes = oldAttributes;
    entries_.erase(backup);
    return true;
  }
  // Old aside, new not in place: the new one once more, or else the old one back.
  if (Move(temporary, *key, Spelling(path))) {
    entries_[*key].attributes = oldAttributes;
    entries_.erase(backup);
    return true;
  }
  if (Move(backup, *key, oldSpelling)) entries_.erase(temporary);
  return false;
}

SimFileSystem::Entry& SimFileSystem::MakeFolders(const std::string& key,
                                                 const std::string& spelling) {
  const auto it = entries_.find(key);
  if (it != entries_.end()) {
    if ((it->second.attributes & platform::FileAttributeDirectory) == 0)
      throw std::logic_error("a file stands where a folder should be: " + spelling);
    return it->second;
  }
  if (!IsDriveRoot(key)) {
    const std::size_t slash = spelling.rfind('\\');
    MakeFolders(ParentKey(key), slash <= 2 ? spelling.substr(0, 3) : spelling.substr(0, slash));
  }
  return entries_[key] = Entry{spelling, platform::FileAttributeDirectory, {}, false};
}

void SimFileSystem::CreateFolder(const std::string& path) {
  const std::optional<std::string> key = Key(path);
  if (!key) throw std::invalid_argument("not a full path: " + path);
  MakeFolders(*key, Spelling(path));
}

void SimFileSystem::WriteFile(const std::string& path, std::string_view contents) {
  const std::optional<std::string> key = Key(path);
  if (!key || IsDriveRoot(*key)) throw std::invalid_argument("not a file path: " + path);
  const std::string spelling = Spelling(path);
  MakeFolders(ParentKey(*key), spelling.substr(0, std::max<std::size_t>(3, spelling.rfind('\\'))));
  Entry& entry = entries_[*key];
  if ((entry.attributes & platform::FileAttributeDirectory) != 0)
    throw std::logic_error("a folder stands where a file should be: " + path);
  if (entry.path.empty()) entry.path = spelling;
  entry.contents = std::string(contents);
}

void SimFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  Entry* entry = Find(path);
  if (!entry) throw std::invalid_argument("no such file or folder: " + path);
  entry->attributes = (entry->attributes & platform::FileAttributeDirectory) |
                      (attributes & ~platform::FileAttributeDirectory);
}

void SimFileSystem::Remove(const std::string& path) {
  const std::optional<std::string> key = Key(path);
  if (!key) return;
  const std::string prefix = IsDriveRoot(*key) ? *key : *key + "\\";
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->first == *key || it->first.starts_with(prefix)) {
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
}

void SimFileSystem::SetFolderWriteProtected(const std::string& path, bool writeProtected) {
  Entry* entry = Find(path);
  if (!entry || (entry->attributes & platform::FileAttributeDirectory) == 0)
    throw std::invalid_argument("no such folder: " + path);
  entry->writeProtected = writeProtected;
}

std::optional<std::string> SimFileSystem::ActualPath(const std::string& path) const {
  const Entry* entry = Find(path);
  if (!entry) return std::nullopt;
  return entry->path;
}

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Wildcards as FindFirstFile reads them: * any run, ? one character, case ignored; "*.*"
// matches names without a dot too.
bool Matches(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") pattern = "*";
  std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

void SimFileSystem::CreateFolderLink(const std::string& path, const std::string& target) {
  CreateFolder(path);
  Entry* link = Find(path);
  const std::optional<std::string> targetKey = Key(target);
  if (link != nullptr && targetKey) {
    link->linkTarget = Resolve(*targetKey);
    link->attributes |= platform::FileAttributeReparsePoint;
  }
}

std::vector<platform::FindData> SimFileSystem::FindFiles(const std::string& pattern) const {
  ++findCount_;
  if (whileFinding) whileFinding();
  std::vector<platform::FindData> found;
  const std::size_t slash = pattern.find_last_of("\\/");
  if (slash == std::string::npos) return found;
  const std::optional<std::string> folderKey = Key(pattern.substr(0, slash + 1));
  if (!folderKey) return found;
  const std::string folder = Resolve(*folderKey);
  const auto it = entries_.find(folder);
  if (it == entries_.end() || (it->second.attributes & platform::FileAttributeDirectory) == 0) {
    return found;
  }
  const std::string wildcard = pattern.substr(slash + 1);
  if (!IsDriveRoot(folder)) {
    for (const char* dots : {".", ".."}) {
      if (Matches(wildcard, dots)) found.push_back({dots, platform::FileAttributeDirectory});
    }
  }
  for (const auto& [key, entry] : entries_) {
    if (key == folder || ParentKey(key) != folder) continue;
    const std::string name = entry.path.substr(entry.path.rfind('\\') + 1);
    if (Matches(wildcard, name)) found.push_back({name, entry.attributes});
  }
  return found;
}

std::optional<std::string> SimFileSystem::FolderIdentity(const std::string& path) const {
  const Entry* entry = Find(path);
  if (entry == nullptr || (entry->attributes & platform::FileAttributeDirectory) == 0) {
    return std::nullopt;
  }
  const std::optional<std::string> key = Key(path);
  return Resolve(*key);
}

bool SimFileSystem::MoveFile(const std::string& from, const std::string& to) {
  ++moveCount_;
  const Entry* source = Find(from);
  const std::size_t slash = to.find_last_of("\\/");
  if (source == nullptr || slash == std::string::npos) return false;
  // The Win32 backend's one handle for the whole move: reading and deletion, sharing reading.
  if ((source->attributes & platform::FileAttributeDirectory) != 0 ||
      Open(*source, platform::GenericRead | platform::AccessDelete, platform::FileShareRead) !=
          platform::CreateFileResult::Opened) {
    return false;
  }
  const Entry* folder = Find(to.substr(0, slash + 1));
  if (folder == nullptr || (folder->attributes & platform::FileAttributeDirectory) == 0 ||
      folder->writeProtected) {
    return false;
  }
  const std::string fromKey = *Key(source->path);
  const std::string spelling = folder->path + (folder->path.size() > 3 ? "\\" : "") +
                               Spelling(to.substr(slash + 1));
  const std::string toKey = *Key(spelling);
  if (fromKey.substr(0, 2) != toKey.substr(0, 2)) return MoveAcrossDrives(fromKey, toKey, spelling);
  return Move(fromKey, toKey, spelling);
}

// The steps of Win32FileSystem's move across volumes: a hidden copy of a short name of its own
// in the target folder, its size checked, renamed to the target's name without replacing, and
// only then the source deleted. Whatever fails, the copy goes and the source stays.
bool SimFileSystem::MoveAcrossDrives(const std::string& fromKey, const std::string& toKey,
                                     const std::string& spelling) {
  using Step = CrossDriveStep;
  const std::optional<Step> failing = std::exchange(failingCrossDriveStep_, std::nullopt);
  const Entry source = entries_.at(fromKey);
  const std::string folderKey = ParentKey(toKey);
  // A read-only file cannot be deleted, so it is not copied at all.
  if (failing == Step::CreateCopy || (source.attributes & platform::FileAttributeReadOnly) != 0) {
    return false;
  }
  const std::string temporary = NewStemIn(folderKey) + ".tmp";
  const std::string& folderSpelling = entries_.at(folderKey).path;
  entries_[temporary] = Entry{folderSpelling + (IsDriveRoot(folderKey) ? "" : "\\") +
                                  temporary.substr(temporary.rfind('\\') + 1),
                              platform::FileAttributeHidden, {}, false};
  const auto discard = [this](const std::string& copy) {
    entries_.erase(copy);
    return false;
  };
  if (diskFull_ || failing == Step::WriteCopy) return discard(temporary);
  std::string& copied = entries_[temporary].contents = source.contents;
  if (failing == Step::ShortCopy) copied.resize(copied.size() / 2);
  if (copied.size() != source.contents.size()) return discard(temporary);
  if (failing == Step::RenameCopy || !Move(temporary, toKey, spelling)) return discard(temporary);
  entries_[toKey].attributes = source.attributes != 0 ? source.attributes
                                                      : platform::FileAttributeNormal;
  // The source refuses to go (its access list denies deletion): the copy is taken back.
  if (failing == Step::DeleteSource) return discard(toKey);
  entries_.erase(fromKey);
  return true;
}

platform::CreateFileResult SimFileSystem::Open(const Entry& entry, std::uint32_t access,
                                               std::uint32_t share) {
  using platform::CreateFileResult;
  if ((entry.attributes & platform::FileAttributeDirectory) != 0 || entry.accessDenied ||
      entry.deletePending) {
    return CreateFileResult::Failed;
  }
  if ((access & platform::GenericWrite) != 0 &&
      (entry.attributes & platform::FileAttributeReadOnly) != 0) {
    return CreateFileResult::Failed;
  }
  if (!entry.holder) return CreateFileResult::Opened;
  // The system's sharing check, both ways: what each handle does (read, write, delete) must be
  // allowed by the other's share mode.
  constexpr std::pair<std::uint32_t, std::uint32_t> kUses[] = {
      {platform::GenericRead, platform::FileShareRead},
      {platform::GenericWrite, platform::FileShareWrite},
      {platform::AccessDelete, platform::FileShareDelete}};
  for (const auto& [use, allowedBy] : kUses) {
    if (((access & use) != 0 && (entry.holder->share & allowedBy) == 0) ||
        ((entry.holder->access & use) != 0 && (share & allowedBy) == 0)) {
      return CreateFileResult::SharingViolation;
    }
  }
  return CreateFileResult::Opened;
}

platform::CreateFileResult SimFileSystem::CreateFile(const std::string& path,
                                                     std::uint32_t access,
                                                     std::uint32_t share) const {
  const Entry* entry = Find(path);
  if (entry == nullptr) return platform::CreateFileResult::Failed;
  return Open(*entry, access, share);
}

void SimFileSystem::SetHeldOpen(const std::string& path, bool held, Holder holder) {
  Entry* entry = Find(path);
  if (entry == nullptr) throw std::invalid_argument("no such file: " + path);
  entry->holder = held ? std::optional<Holder>(holder) : std::nullopt;
}

void SimFileSystem::SetAccessDenied(const std::string& path, bool denied) {
  Entry* entry = Find(path);
  if (entry == nullptr) throw std::invalid_argument("no such file: " + path);
  entry->accessDenied = denied;
}

void SimFileSystem::SetDeletePending(const std::string& path) {
  Entry* entry = Find(path);
  if (entry == nullptr) throw std::invalid_argument("no such file: " + path);
  entry->deletePending = true;
}

}  // namespace varnel::sim
