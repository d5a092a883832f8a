// recorder: a stand-in for the programs Varnel hands things to (the watched folder's
// application, the browser behind a search request). Each start appends one line to the file
// beside it with the same name and ".log" for ".exe": its working folder, then each argument,
// separated by tabs, in UTF-8. It shows nothing and exits at once.

#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <string>

namespace {

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wchar_t buffer[MAX_PATH * 4];
  DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
  std::wstring log(buffer, length);
  const size_t dot = log.find_last_of(L'.');
  if (dot != std::wstring::npos && log.find(L'\\', dot) == std::wstring::npos) log.erase(dot);
  log += L".log";

  length = GetCurrentDirectoryW(MAX_PATH * 4, buffer);
  std::string line = ToUtf8(std::wstring(buffer, length));
  for (int i = 1; i < argc; ++i) {
    line += '\t';
    line += ToUtf8(argv[i]);
  }
  line += '\n';

  // Appends are atomic per write, and a reader of the log may have it open at the same time.
  HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == line.size() ? 0 : 1;
}
