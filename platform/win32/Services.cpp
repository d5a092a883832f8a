#include "platform/win32/Services.h"

#include <tlhelp32.h>

#include <algorithm>
#include <climits>

#include "base/Paths.h"
#include "platform/win32/Image.h"
#include "platform/win32/Text.h"

namespace varnel::win32 {

namespace {

platform::Rect FromRect(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void CloseDesktopHandle(HDESK desktop) { ::CloseDesktop(desktop); }
using unique_hdesk = UniqueAny<HDESK, CloseDesktopHandle>;

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<platform::Hwnd>*>(list)->push_back(FromHwnd(window));
  return TRUE;
}

// Null for an empty string: ShellExecuteW reads a null verb, parameter list or folder as
// "none", an empty one not always.
const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

// --- WindowManager -------------------------------------------------------------------------

int Win32WindowManager::GetSystemMetrics(int index) const {
  if (index != SM_CXSCREEN && index != SM_CYSCREEN) return 0;
  return ::GetSystemMetrics(index);
}

platform::Rect Win32WindowManager::GetWorkArea() const {
  RECT rect{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0)) {
    rect = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return FromRect(rect);
}

bool Win32WindowManager::IsWindow(platform::Hwnd window) const {
  return window != platform::kNoWindow && ::IsWindow(ToHwnd(window));
}

std::intptr_t Win32WindowManager::SendMessage(platform::Hwnd window, unsigned message,
                                              std::uintptr_t wParam, std::intptr_t lParam) {
  if (!IsWindow(window)) return 0;
  return ::SendMessageW(ToHwnd(window), message, wParam, lParam);
}

// The owner is a handle, which 64-bit Windows hands out only through GetWindowLongPtr; window
// handles keep 32 significant bits on every system, so the 32-bit value loses nothing.
std::int32_t Win32WindowManager::GetWindowLong(platform::Hwnd window, int index) const {
  if (!IsWindow(window)) return 0;
  if (index == GWLP_HWNDPARENT) {
    return static_cast<std::int32_t>(::GetWindowLongPtrW(ToHwnd(window), index));
  }
  return ::GetWindowLongW(ToHwnd(window), index);
}

std::int32_t Win32WindowManager::SetWindowLong(platform::Hwnd window, int index,
                                               std::int32_t value) {
  if (!IsWindow(window)) return 0;
  return ::SetWindowLongW(ToHwnd(window), index, value);
}

platform::Rect Win32WindowManager::GetWindowRect(platform::Hwnd window) const {
  RECT rect{};
  if (!IsWindow(window) || !::GetWindowRect(ToHwnd(window), &rect)) return {};
  return FromRect(rect);
}

std::string Win32WindowManager::GetClassName(platform::Hwnd window) const {
  if (!IsWindow(window)) return {};
  wchar_t name[256];  // class names are at most 256 characters with the terminator
  const int length = ::GetClassNameW(ToHwnd(window), name, 256);
  return length > 0 ? Narrow({name, static_cast<size_t>(length)}) : std::string();
}

std::string Win32WindowManager::GetWindowText(platform::Hwnd window) const {
  if (!IsWindow(window)) return {};
  const int length = ::GetWindowTextLengthW(ToHwnd(window));
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(ToHwnd(window), text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return Narrow(text);
}

bool Win32WindowManager::IsWindowVisible(platform::Hwnd window) const {
  return IsWindow(window) && ::IsWindowVisible(ToHwnd(window));
}

// In UTF-16 units; callers only ask whether a window has a caption at all.
int Win32WindowManager::GetWindowTextLength(platform::Hwnd window) const {
  if (!IsWindow(window)) return 0;
  return ::GetWindowTextLengthW(ToHwnd(window));
}

bool Win32WindowManager::MoveWindow(platform::Hwnd window, int x, int y, int width, int height,
                                    bool repaint) {
  if (!IsWindow(window)) return false;
  return ::MoveWindow(ToHwnd(window), x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
}

bool Win32WindowManager::ShowWindow(platform::Hwnd window, int command) {
  if (!IsWindow(window)) return false;
  return ::ShowWindow(ToHwnd(window), command) != FALSE;
}

bool Win32WindowManager::SetWindowPos(platform::Hwnd window, platform::Hwnd insertAfter, int x,
                                      int y, int width, int height, unsigned flags) {
  if (!IsWindow(window)) return false;
  // HwndTopmost and HwndNoTopmost carry the system's -1 and -2 through the opaque handle.
  return ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, width, height, flags) != FALSE;
}

bool Win32WindowManager::UpdateWindow(platform::Hwnd window) {
  if (!IsWindow(window)) return false;
  return ::UpdateWindow(ToHwnd(window)) != FALSE;
}

bool Win32WindowManager::IsIconic(platform::Hwnd window) const {
  return IsWindow(window) && ::IsIconic(ToHwnd(window));
}

bool Win32WindowManager::IsZoomed(platform::Hwnd window) const {
  return IsWindow(window) && ::IsZoomed(ToHwnd(window));
}

std::vector<platform::Hwnd> Win32WindowManager::EnumWindows() const {
  std::vector<platform::Hwnd> windows;
  windows.reserve(256);
  ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

platform::Hwnd Win32WindowManager::GetParent(platform::Hwnd window) const {
  if (!IsWindow(window)) return platform::kNoWindow;
  return FromHwnd(::GetParent(ToHwnd(window)));
}

platform::Hwnd Win32WindowManager::GetWindow(platform::Hwnd window, unsigned relation) const {
  if (!IsWindow(window)) return platform::kNoWindow;
  return FromHwnd(::GetWindow(ToHwnd(window), relation));
}

platform::Hwnd Win32WindowManager::GetLastActivePopup(platform::Hwnd window) const {
  if (!IsWindow(window)) return platform::kNoWindow;
  return FromHwnd(::GetLastActivePopup(ToHwnd(window)));
}

std::uint32_t Win32WindowManager::GetWindowThreadProcessId(platform::Hwnd window,
                                                           std::uint32_t* processId) const {
  DWORD process = 0;
  const DWORD thread = IsWindow(window) ? ::GetWindowThreadProcessId(ToHwnd(window), &process) : 0;
  if (processId) *processId = process;
  return thread;
}

platform::Hwnd Win32WindowManager::WindowFromPoint(platform::Point point) const {
  return FromHwnd(::WindowFromPoint(POINT{point.X, point.Y}));
}

// Why not (0, 0) on failure: GetCursorPos fails while another desktop takes the input (the
// lock screen, an elevation prompt), and (0, 0) is the top-left corner, where the edges fire.
// Until the pointer can be read again the program sees it where it was last, or at the
// screen's centre before the first reading.
platform::Point Win32WindowManager::GetCursorPos() const {
  POINT point{};
  if (::GetCursorPos(&point)) {
    lastCursor_ = platform::Point{point.x, point.y};
  } else if (!lastCursor_) {
    return {::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2};
  }
  return *lastCursor_;
}

std::int16_t Win32WindowManager::GetAsyncKeyState(int virtualKey) const {
  return ::GetAsyncKeyState(virtualKey);
}

// Windows NT runs a screen saver on a desktop of its own named "Screen-saver"; only while it
// exists can it be opened. Every system the program runs on is of the NT line.
bool Win32WindowManager::IsScreenSaverRunning() const {
  const unique_hdesk desktop(
      ::OpenDesktopW(L"Screen-saver", 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_WRITEOBJECTS));
  return static_cast<bool>(desktop);
}

// --- FileSystem ----------------------------------------------------------------------------

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

// --- Codepage ------------------------------------------------------------------------------

std::string Win32Codepage::AnsiToUtf8(std::string_view ansi) const {
  if (ansi.empty() || ansi.size() > INT_MAX) return {};
  const int length = static_cast<int>(ansi.size());
  const int needed = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), needed);
  return Narrow(wide);
}

std::optional<std::string> Win32Codepage::Utf8ToAnsi(std::string_view utf8) const {
  if (utf8.empty()) return std::string();
  if (utf8.size() > INT_MAX) return std::nullopt;
  // Broken UTF-8 has no faithful ANSI form either.
  const int length = static_cast<int>(utf8.size());
  const int wideLength =
      ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                        wideLength);
  // With the "UTF-8 for worldwide language support" option the ANSI code page is UTF-8 itself,
  // and WideCharToMultiByte refuses the default-character flag for it.
  if (::GetACP() == CP_UTF8) return std::string(utf8);
  BOOL usedDefault = FALSE;
  const int needed = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                           nullptr, 0, nullptr, &usedDefault);
  if (needed <= 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, ansi.data(), needed,
                        nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return ansi;
}

// --- Kernel --------------------------------------------------------------------------------

std::string Win32Kernel::GetModuleFileName() const {
  // The executable may live on a path longer than MAX_PATH; grow until the name fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return Narrow(buffer);
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::uint32_t Win32Kernel::GetTickCount() const { return ::GetTickCount(); }

void Win32Kernel::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

std::string Win32Kernel::GetWindowsDirectory() const {
  wchar_t buffer[MAX_PATH + 1];
  const UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return {};
  std::wstring folder(buffer, length);
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return Narrow(folder);
}

// Looked up at run time, as on systems where kernel32 has no tool-help functions the program
// must still start and fall back to captions.
std::optional<std::vector<platform::ProcessEntry>> Win32Kernel::CreateProcessSnapshot() const {
  using CreateSnapshot = HANDLE(WINAPI*)(DWORD, DWORD);
  using WalkProcesses = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32W*);
  const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  if (!kernel32) return std::nullopt;
  // Through a generic function pointer: GCC warns on a direct cast between unrelated
  // function types.
  const auto lookUp = [kernel32](const char* name) {
    return reinterpret_cast<void (*)()>(::GetProcAddress(kernel32, name));
  };
  const auto createSnapshot = reinterpret_cast<CreateSnapshot>(lookUp("CreateToolhelp32Snapshot"));
  const auto first = reinterpret_cast<WalkProcesses>(lookUp("Process32FirstW"));
  const auto next = reinterpret_cast<WalkProcesses>(lookUp("Process32NextW"));
  if (!createSnapshot || !first || !next) return std::nullopt;

  const unique_hfile snapshot(createSnapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return std::nullopt;
  std::vector<platform::ProcessEntry> processes;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = first(snapshot.get(), &entry); more; more = next(snapshot.get(), &entry)) {
    entry.szExeFile[MAX_PATH - 1] = L'\0';
    processes.push_back({entry.th32ProcessID, Narrow(entry.szExeFile)});
    entry.dwSize = sizeof(entry);
  }
  return processes;
}

// --- Shell ---------------------------------------------------------------------------------

std::unique_ptr<platform::ShellDispatch> Win32Shell::CreateShellApplication() {
  // Shell.Application and its IShellDispatch, by value so no automation header is needed.
  static constexpr CLSID kClsidShell = {
      0x13709620, 0xC279, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
  static constexpr IID kIidShellDispatch = {
      0xD8F015C0, 0xC278, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
  unique_com<IDispatch> dispatch;
  const HRESULT result = ::CoCreateInstance(kClsidShell, nullptr, CLSCTX_INPROC_SERVER,
                                            kIidShellDispatch, dispatch.put_void());
  if (FAILED(result) || !dispatch) return nullptr;
  return std::make_unique<Win32ShellDispatch>(std::move(dispatch));
}

std::intptr_t Win32Shell::ShellExecute(platform::Hwnd owner, const std::string& verb,
                                       const std::string& file, const std::string& parameters,
                                       const std::string& directory, int showCommand) {
  const std::wstring wideVerb = Widen(verb);
  const std::wstring wideFile = Widen(file);
  const std::wstring wideParameters = Widen(parameters);
  const std::wstring wideDirectory = Widen(directory);
  const HINSTANCE result =
      ::ShellExecuteW(ToHwnd(owner), OrNull(wideVerb), OrNull(wideFile), OrNull(wideParameters),
                      OrNull(wideDirectory), showCommand);
  return reinterpret_cast<std::intptr_t>(result);
}

// --- Activation ----------------------------------------------------------------------------

bool Win32WindowManager::SetForegroundWindow(platform::Hwnd window) {
  if (!IsWindow(window)) return false;
  return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

platform::Hwnd Win32WindowManager::SetActiveWindow(platform::Hwnd window) {
  if (!IsWindow(window)) return platform::kNoWindow;
  return FromHwnd(::SetActiveWindow(ToHwnd(window)));
}

bool Win32WindowManager::ShowOwnedPopups(platform::Hwnd owner, bool show) {
  if (!IsWindow(owner)) return false;
  return ::ShowOwnedPopups(ToHwnd(owner), show ? TRUE : FALSE) != FALSE;
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

// --- Process and clock ---------------------------------------------------------------------

std::uint32_t Win32Kernel::GetCurrentProcessId() const { return ::GetCurrentProcessId(); }

platform::Kernel::LocalTime Win32Kernel::GetLocalTime() const {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute};
}

// The locale numbers its day names from Monday (LOCALE_SDAYNAME1) to Sunday (SDAYNAME7);
// the clock numbers them from Sunday (0).
std::string Win32Kernel::GetDayName(int dayOfWeek) const {
  if (dayOfWeek < 0 || dayOfWeek > 6) return {};
  const LCTYPE item = LOCALE_SDAYNAME1 + static_cast<LCTYPE>((dayOfWeek + 6) % 7);
  wchar_t name[80];
  const int length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, item, name, 80);
  if (length <= 1) return {};
  return Narrow({name, static_cast<size_t>(length - 1)});
}

unsigned Win32Kernel::GetDoubleClickTime() const { return ::GetDoubleClickTime(); }

int Win32Kernel::CompareText(const std::string& a, const std::string& b) const {
  const std::wstring wideA = Widen(a);
  const std::wstring wideB = Widen(b);
  if (wideA.size() > INT_MAX || wideB.size() > INT_MAX) return a.compare(b);
  const int order =
      ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wideA.data(),
                       static_cast<int>(wideA.size()), wideB.data(), static_cast<int>(wideB.size()));
  // 0 means the comparison failed; the byte order keeps the sort total all the same.
  if (order == 0) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  return order - CSTR_EQUAL;
}

// --- Shell icons and the notification area -----------------------------------------------

platform::ImageRef Win32Shell::GetFileIcon(const std::string& path) {
  if (path.empty()) return nullptr;
  SHFILEINFOW information{};
  const DWORD_PTR found = ::SHGetFileInfoW(
      Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL, &information, sizeof(information),
      SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
  if (!found) return nullptr;
  return MakeImage(information.hIcon);
}

namespace {

// Copies `text` into a fixed field, always terminated, never ending in half a surrogate pair.
template <size_t N>
void CopyField(wchar_t (&field)[N], const std::string& text) {
  const std::wstring wide = Widen(text);
  size_t length = std::min(wide.size(), N - 1);
  if (length > 0 && length < wide.size() && IS_HIGH_SURROGATE(wide[length - 1])) --length;
  std::copy_n(wide.data(), length, field);
  field[length] = L'\0';
}

}  // namespace

bool Win32Shell::ShellNotifyIcon(unsigned action, const platform::NotifyIconData& data) {
  static_assert(platform::NimAdd == NIM_ADD && platform::NimModify == NIM_MODIFY &&
                platform::NimDelete == NIM_DELETE);
  static_assert(platform::NifMessage == NIF_MESSAGE && platform::NifIcon == NIF_ICON &&
                platform::NifTip == NIF_TIP);
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof(record);
  record.hWnd = ToHwnd(data.window);
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callbackMessage;
  record.hIcon = IconOf(data.icon);
  CopyField(record.szTip, data.tip);
  return ::Shell_NotifyIconW(action, &record) != FALSE;
}

}  // namespace varnel::win32
