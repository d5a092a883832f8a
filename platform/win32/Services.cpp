#include "platform/win32/Services.h"

#include <algorithm>
#include <climits>

#include "platform/win32/Text.h"

namespace varnel::win32 {

namespace {

platform::Rect FromRect(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

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

std::int32_t Win32WindowManager::GetWindowLong(platform::Hwnd window, int index) const {
  if (!IsWindow(window)) return 0;
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

// Creates a new, empty file beside `target` whose name no other file has, and returns it open
// for writing. The name starts with the target's so that a left-over is easy to recognise.
unique_hfile CreateTemporaryBeside(const std::wstring& target, std::wstring& temporaryPath) {
  static LONG counter = 0;
  for (int attempt = 0; attempt < 16; ++attempt) {
    wchar_t suffix[64];
    ::wsprintfW(suffix, L".%lx-%lx.tmp", ::GetCurrentProcessId(),
                static_cast<unsigned long>(::InterlockedIncrement(&counter) ^ ::GetTickCount()));
    temporaryPath = target + suffix;
    unique_hfile file(::CreateFileW(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return file;
    if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  temporaryPath.clear();
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

}  // namespace

// Why a temporary and a replace instead of writing in place: a crash, a full disk or a power
// cut in the middle of the write must leave the old settings readable. The new contents are on
// disk (flushed) before the old file goes, and ReplaceFileW swaps them in one step while
// keeping the old file's attributes and security.
bool Win32FileSystem::ReplaceFile(const std::string& path, std::string_view contents) {
  if (path.empty()) return false;
  const std::wstring target = Widen(path);
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  // ReplaceFileW would happily put a new file in place of a read-only one; the user marked it
  // so to keep it as it is.
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return false;
  }

  std::wstring temporary;
  unique_hfile file = CreateTemporaryBeside(target, temporary);
  if (!file) return false;
  const bool written = WriteAll(file.get(), contents) && ::FlushFileBuffers(file.get());
  file.reset();

  bool replaced = false;
  if (written) {
    if (exists) {
      replaced = ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE;
    } else {
      replaced = ::MoveFileExW(temporary.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
  }
  if (!replaced) ::DeleteFileW(temporary.c_str());
  return replaced;
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

}  // namespace varnel::win32
