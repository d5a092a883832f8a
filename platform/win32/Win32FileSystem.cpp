#include "platform/win32/Win32FileSystem.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "base/Paths.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Text.h"

namespace varnel::win32 {

// A path the file functions take at any length. Up to MAX_PATH - 1 characters a path goes as
// it is; a longer one only with the "\\?\" prefix, which also turns off the system's clean-up
// of the path ("." and "..", forward slashes), so the path is made full first. (The manifest's
// longPathAware lifts the limit only where the system's policy allows it too.)
std::wstring ExtendedIfLong(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\")) return path;
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring LongPath(const std::string& path) { return ExtendedIfLong(Widen(path)); }

std::uint32_t Win32FileSystem::GetFileAttributes(const std::string& path) const {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return ::GetFileAttributesW(LongPath(path).c_str());
}

std::optional<platform::FileAttributeData> Win32FileSystem::GetFileAttributesEx(
    const std::string& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() ||
      !::GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  const auto wide = [](DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
  };
  return platform::FileAttributeData{
      data.dwFileAttributes,
      wide(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
          ? 0
          : wide(data.nFileSizeHigh, data.nFileSizeLow)};
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) const {
  if (path.empty()) return std::nullopt;
  // Share everything: another program (or an editor) may hold the settings file open.
  unique_hfile file(::CreateFileW(LongPath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > INT_MAX) {
    return std::nullopt;
  }
  std::string contents(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < contents.size()) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), contents.data() + done, static_cast<DWORD>(contents.size() - done),
                    &read, nullptr)) {
      return std::nullopt;
    }
    if (read == 0) break;  // the file shrank while we read it
    done += read;
  }
  contents.resize(done);
  return contents;
}

namespace {

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The files of a replace: the new contents, and the old file once it is moved aside.
struct ReplaceNames {
  std::wstring temporary;
  std::wstring backup;
};

// Creates a new, empty file beside `target` whose name no other file has, and returns it open
// for writing, with a backup name beside it that no file has either. The names are short
// ("vnl", four hexadecimal digits, ".tmp" or ".bak") rather than the target's name with
// something added: a settings file whose path is as long as a path may be must still save.
unique_hfile CreateTemporaryBeside(const std::wstring& target, ReplaceNames& names,
                                   DWORD access = GENERIC_WRITE,
                                   DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  static LONG counter = 0;
  const std::wstring folder(FolderPart(target));
  for (int attempt = 0; attempt < 64; ++attempt) {
    const unsigned long number =
        (static_cast<unsigned long>(::InterlockedIncrement(&counter)) + ::GetTickCount() +
         ::GetCurrentProcessId() * 2654435761ul) & 0xFFFF;
    wchar_t stem[16];
    ::wsprintfW(stem, L"vnl%04lx", number);
    names.temporary = ExtendedIfLong(folder + stem + L".tmp");
    names.backup = ExtendedIfLong(folder + stem + L".bak");
    if (Exists(names.backup)) continue;
    unique_hfile file(::CreateFileW(names.temporary.c_str(), access, 0, nullptr, CREATE_NEW,
                                    flags, nullptr));
    if (file) return file;
    if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  names = {};
  return {};
}

bool WriteAll(HANDLE file, std::string_view contents) {
  size_t done = 0;
  while (done < contents.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, contents.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// Why a repair: ReplaceFileW can fail halfway, after it has moved the old file aside and
// before the new one has taken its name (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2). Without a backup
// name the old file would then lie under a name nobody knows and the settings would be gone;
// with one, both files are known. Whatever the error says, the disk tells what is left to do:
// with nothing under the target's name, the new file goes there, or else the old one goes
// back. Only when neither can be moved do both stay, under their own names, for the user.
bool RepairFailedReplace(const std::wstring& target, const ReplaceNames& names) {
  if (Exists(target)) {
    // Nothing was moved (or it was moved back): the file in place stays as it is.
    ::DeleteFileW(names.temporary.c_str());
    ::DeleteFileW(names.backup.c_str());
    return false;
  }
  if (::MoveFileExW(names.temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(names.backup.c_str());
    return true;
  }
  if (::MoveFileExW(names.backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(names.temporary.c_str());
  }
  return false;
}

}  // namespace

std::optional<std::uint64_t> Win32FileSystem::GetFileSize(const std::string& path) const {
  if (path.empty()) return std::nullopt;
  // From the folder entry: the file is not opened, so another program's lock does not matter.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard,
                              &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Why a temporary and a replace instead of writing in place: a crash, a full disk or a power
// cut in the middle of the write must leave the old settings readable. The new contents are on
// disk (flushed) before the old file goes, and ReplaceFileW swaps them in one step while
// keeping the old file's attributes and security.
bool Win32FileSystem::ReplaceFile(const std::string& path, std::string_view contents) {
  if (path.empty()) return false;
  const std::wstring target = LongPath(path);
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  // ReplaceFileW would happily put a new file in place of a read-only one; the user marked it
  // so to keep it as it is.
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return false;
  }

  ReplaceNames names;
  unique_hfile file = CreateTemporaryBeside(target, names);
  if (!file) return false;
  const bool written = WriteAll(file.get(), contents) && ::FlushFileBuffers(file.get());
  file.reset();
  if (!written) {
    ::DeleteFileW(names.temporary.c_str());
    return false;
  }

  if (!exists) {
    if (::MoveFileExW(names.temporary.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    ::DeleteFileW(names.temporary.c_str());
    return false;
  }
  // With a backup name the system never hides the old file under a name of its own choosing
  // (nor builds one from a path that may be too long for it).
  if (::ReplaceFileW(target.c_str(), names.temporary.c_str(), names.backup.c_str(),
                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    ::DeleteFileW(names.backup.c_str());
    return true;
  }
  return RepairFailedReplace(target, names);
}

// --- Moving and probing files ---------------------------------------------------------------

namespace {

// SetFileInformationByHandle(FileRenameInfo): the open file takes the name `to`, which must not
// be taken. The system reads the name as a DOS path (a "\\?\" one too).
bool RenameOpenFile(HANDLE file, const std::wstring& to) {
  const size_t nameBytes = (to.size() + 1) * sizeof(wchar_t);
  std::vector<unsigned char> buffer(offsetof(FILE_RENAME_INFO, FileName) + nameBytes, 0);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = FALSE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(to.size() * sizeof(wchar_t));
  std::memcpy(rename->FileName, to.c_str(), nameBytes);
  return ::SetFileInformationByHandle(file, FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size()));
}

// The open file goes once its last handle is closed; a read-only one cannot be deleted.
bool DeleteOpenFile(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof(disposition));
}

std::optional<ULONGLONG> SizeOf(HANDLE file) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0) return std::nullopt;
  return static_cast<ULONGLONG>(size.QuadPart);
}

// Copies what `source` holds from its start to `copy`; the number of bytes copied.
std::optional<ULONGLONG> CopyContents(HANDLE source, HANDLE copy) {
  std::vector<char> chunk(1 << 20);
  ULONGLONG copied = 0;
  while (true) {
    DWORD read = 0;
    if (!::ReadFile(source, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr)) {
      return std::nullopt;
    }
    if (read == 0) return copied;
    if (!WriteAll(copy, std::string_view(chunk.data(), read))) return std::nullopt;
    copied += read;
  }
}

// Why a copy of our own instead of MoveFileEx(MOVEFILE_COPY_ALLOWED): that copy runs while
// other programs may still write to the file, can stop halfway and leave a truncated file
// under the target's name (which then blocks the whole file for good), and when it cannot
// delete the source (read-only, held open) it still reports success with the file in both
// places. Here the source is open, sharing only reading, for the whole move: nobody writes to
// it meanwhile. The copy is hidden under a name of its own until it is whole and on the disk,
// so no listing takes it for a finished file; only then does it take the target's name, and
// only after that does the source go. Every failure removes the copy, never the source.
bool MoveAcrossVolumes(HANDLE source, const std::wstring& target) {
  FILE_BASIC_INFO sourceInfo{};
  const std::optional<ULONGLONG> size = SizeOf(source);
  // A read-only file cannot be deleted: it would be copied only to be taken back, every step.
  if (!size ||
      !::GetFileInformationByHandleEx(source, FileBasicInfo, &sourceInfo, sizeof(sourceInfo)) ||
      (sourceInfo.FileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return false;
  }
  ReplaceNames names;
  unique_hfile copy = CreateTemporaryBeside(
      target, names, GENERIC_READ | GENERIC_WRITE | DELETE,
      FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN);
  if (!copy) return false;
  // The copy is ours, under a name we took: it goes through our own handle, or else by the
  // name it has now.
  const auto discard = [&copy](const std::wstring& name) {
    const bool deleted = DeleteOpenFile(copy.get());
    copy.reset();
    if (!deleted) ::DeleteFileW(name.c_str());
    return false;
  };
  const std::optional<ULONGLONG> copied = CopyContents(source, copy.get());
  if (!copied || *copied != *size || !::FlushFileBuffers(copy.get()) ||
      SizeOf(copy.get()) != size) {
    return discard(names.temporary);
  }
  if (!RenameOpenFile(copy.get(), target)) return discard(names.temporary);
  // In place: it shows now, with the source's dates and attributes, but not yet read-only, so
  // that it can still be taken back should the source refuse to go.
  FILE_BASIC_INFO placed = sourceInfo;
  placed.ChangeTime.QuadPart = 0;  // the system's own
  placed.FileAttributes &= FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (placed.FileAttributes == 0) placed.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  if (!::SetFileInformationByHandle(copy.get(), FileBasicInfo, &placed, sizeof(placed)) ||
      !DeleteOpenFile(source)) {
    return discard(target);
  }
  return true;
}

}  // namespace

// Why one handle for the whole move: opened for reading and deletion and sharing only reading,
// it keeps out every writer, whatever sharing the writer would grant, from the check to the
// end, so a file still being written (a download, a scan) is never taken half-done; and a
// rename through it never replaces an existing file.
bool Win32FileSystem::MoveFile(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  // A folder is not opened without FILE_FLAG_BACKUP_SEMANTICS: files only.
  const unique_hfile source(::CreateFileW(LongPath(from).c_str(), GENERIC_READ | DELETE,
                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!source) return false;
  const std::wstring target = LongPath(to);
  if (RenameOpenFile(source.get(), target)) return true;
  if (::GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
  return MoveAcrossVolumes(source.get(), target);
}

static_assert(platform::GenericRead == GENERIC_READ && platform::GenericWrite == GENERIC_WRITE &&
              platform::AccessDelete == DELETE);
static_assert(platform::FileShareRead == FILE_SHARE_READ &&
              platform::FileShareWrite == FILE_SHARE_WRITE &&
              platform::FileShareDelete == FILE_SHARE_DELETE);

// A folder is no file: without FILE_FLAG_BACKUP_SEMANTICS the system refuses to open it.
platform::CreateFileResult Win32FileSystem::CreateFile(const std::string& path,
                                                       std::uint32_t access,
                                                       std::uint32_t share) const {
  if (path.empty()) return platform::CreateFileResult::Failed;
  const unique_hfile file(::CreateFileW(LongPath(path).c_str(), access, share, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) return platform::CreateFileResult::Opened;
  return ::GetLastError() == ERROR_SHARING_VIOLATION ? platform::CreateFileResult::SharingViolation
                                                     : platform::CreateFileResult::Failed;
}

// --- Folder listings -----------------------------------------------------------------------

std::vector<platform::FindData> Win32FileSystem::FindFiles(const std::string& pattern) const {
  std::vector<platform::FindData> found;
  if (pattern.empty()) return found;
  WIN32_FIND_DATAW entry{};
  const unique_hfind find(::FindFirstFileW(LongPath(pattern).c_str(), &entry));
  if (!find) return found;
  do {
    entry.cFileName[MAX_PATH - 1] = L'\0';
    found.push_back({Narrow(entry.cFileName), entry.dwFileAttributes});
  } while (::FindNextFileW(find.get(), &entry));
  return found;
}

// Why the volume serial and the file index: together they name one file or folder on the
// machine, whichever path (junction, symbolic link, another spelling) was used to open it.
// Opening follows reparse points, so a junction yields the identity of its target.
std::optional<std::string> Win32FileSystem::FolderIdentity(const std::string& path) const {
  if (path.empty()) return std::nullopt;
  const unique_hfile folder(::CreateFileW(LongPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                          nullptr));
  if (!folder) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  if (!::GetFileInformationByHandle(folder.get(), &information)) return std::nullopt;
  char text[32];
  ::wsprintfA(text, "%08lx:%08lx%08lx", information.dwVolumeSerialNumber,
              information.nFileIndexHigh, information.nFileIndexLow);
  return std::string(text);
}

}  // namespace varnel::win32
