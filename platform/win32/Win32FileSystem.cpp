#include "platform/win32/Win32FileSystem.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <utility>

#include "base/Paths.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Text.h"

namespace varnel::win32 {

std::uint32_t Win32FileSystem::GetFileAttributes(const std::string& path) const {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return ::GetFileAttributesW(Widen(path).c_str());
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) const {
  if (path.empty()) return std::nullopt;
  // Share everything: another program (or an editor) may hold the settings file open.
  unique_hfile file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
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

// A path the file functions take at any length. Up to MAX_PATH - 1 characters a path goes as
// it is; a longer one only with the "\\?\" prefix, which also turns off the system's clean-up
// of the path ("." and "..", forward slashes), so the path is made full first.
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
unique_hfile CreateTemporaryBeside(const std::wstring& target, ReplaceNames& names) {
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
    unique_hfile file(::CreateFileW(names.temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
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
  if (!::GetFileAttributesExW(ExtendedIfLong(Widen(path)).c_str(), GetFileExInfoStandard,
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
  const std::wstring target = ExtendedIfLong(Widen(path));
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

// The volume and file index of whatever `path` names now; nothing when it cannot be opened.
// Opened for its attributes alone and shared every way, so another holder is not disturbed.
std::optional<std::pair<DWORD, ULONGLONG>> FileIdentityOf(const std::wstring& path) {
  const unique_hfile file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file || !::GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
  return std::pair{information.dwVolumeSerialNumber,
                   (static_cast<ULONGLONG>(information.nFileIndexHigh) << 32) |
                       information.nFileIndexLow};
}

}  // namespace

// Why no MOVEFILE_REPLACE_EXISTING: a file already at the target is somebody's, and a move
// must never cost it. Why the identity check: across volumes the system copies the file and
// then deletes the original, and when that delete fails (another program holds the file open
// without sharing its deletion) it still reports success, leaving the file in both places.
// The caller would take it as moved while it is still where it was; so the surplus copy,
// which the move itself made (the target did not exist, or the move would have failed), is
// removed, and the answer is "not moved".
bool Win32FileSystem::MoveFile(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  const std::wstring source = ExtendedIfLong(Widen(from));
  const std::wstring target = ExtendedIfLong(Widen(to));
  // Files only, as on the simulated desktop: a folder would move whole, and only on its own
  // volume.
  const DWORD attributes = ::GetFileAttributesW(source.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  const auto before = FileIdentityOf(source);
  if (!::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED)) return false;
  if (!before || FileIdentityOf(source) != before) return true;
  // A rename to another spelling of the same name leaves the file reachable by both.
  if (FileIdentityOf(target) == before) return true;
  ::DeleteFileW(target.c_str());
  return false;
}

// A folder is no file: without FILE_FLAG_BACKUP_SEMANTICS the system refuses to open it.
bool Win32FileSystem::OpenUnshared(const std::string& path) const {
  if (path.empty()) return false;
  const unique_hfile file(::CreateFileW(ExtendedIfLong(Widen(path)).c_str(), GENERIC_READ, 0,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

// --- Folder listings -----------------------------------------------------------------------

std::vector<platform::FindData> Win32FileSystem::FindFiles(const std::string& pattern) const {
  std::vector<platform::FindData> found;
  if (pattern.empty()) return found;
  WIN32_FIND_DATAW entry{};
  const unique_hfind find(::FindFirstFileW(Widen(pattern).c_str(), &entry));
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
  const unique_hfile folder(::CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES,
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
