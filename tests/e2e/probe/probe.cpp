// probe: reads the desktop the way the end-to-end scenarios need it.
//
// A console program of the test harness, not of Varnel. It writes its report to the file named
// by --out (UTF-8, one record a line): reading wine's standard output through a pipe can hang
// when that wine call is the one that started the server, so the scripts never pipe it.
//
//   probe list --out F                        every top-level window, TSV with a header line
//   probe close --class C [--exe E] --out F   WM_CLOSE to each matching window, synchronously
//   probe wait-idle --out F -- EXE ARGS...    start EXE, wait for its idle message loop
//   probe memory --pid P --out F              private bytes and working set of a process
//
// Exit status: 0 done, 1 nothing matched or the operation failed, 2 bad command line.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef PSAPI_VERSION
#define PSAPI_VERSION 2  // GetProcessMemoryInfo from kernel32, no psapi.dll import
#endif

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

// Captions may hold anything; a tab or line break would break the TSV record.
std::string Field(const std::wstring& text) {
  std::string out = ToUtf8(text);
  for (char& c : out) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

std::string Hex(unsigned long long value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llx", value);
  return buffer;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

class Report {
 public:
  explicit Report(const std::wstring& path) {
    file_ = path.empty() ? stdout : _wfopen(path.c_str(), L"wb");
  }
  ~Report() {
    if (file_ && file_ != stdout) std::fclose(file_);
  }
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;
  bool Ok() const { return file_ != nullptr; }
  void Line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
  }

 private:
  FILE* file_ = nullptr;
};

// Bare executable names by process id, as toolhelp reports them ("explorer.exe", "varnel.exe").
std::map<DWORD, std::wstring> ProcessNames() {
  std::map<DWORD, std::wstring> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    std::wstring name = entry.szExeFile;
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    names[entry.th32ProcessID] = name;
  }
  CloseHandle(snapshot);
  return names;
}

struct WindowInfo {
  HWND handle;
  std::wstring className;
  std::wstring caption;
  HWND owner;
  DWORD processId;
  std::wstring exe;
  RECT rect;
  LONG_PTR style;
  LONG_PTR exStyle;
  bool visible;
};

BOOL CALLBACK CollectWindow(HWND handle, LPARAM param) {
  auto* windows = reinterpret_cast<std::vector<HWND>*>(param);
  windows->push_back(handle);
  return TRUE;
}

std::vector<WindowInfo> TopLevelWindows() {
  std::vector<HWND> handles;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&handles));
  std::map<DWORD, std::wstring> names = ProcessNames();
  std::vector<WindowInfo> windows;
  for (HWND handle : handles) {
    WindowInfo info{};
    info.handle = handle;
    wchar_t buffer[1024];
    int length = GetClassNameW(handle, buffer, 1024);
    info.className.assign(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    // InternalGetWindowText sends no message, so a hung program cannot hang the probe.
    length = InternalGetWindowText(handle, buffer, 1024);
    info.caption.assign(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    info.owner = GetWindow(handle, GW_OWNER);
    GetWindowThreadProcessId(handle, &info.processId);
    auto name = names.find(info.processId);
    if (name != names.end()) info.exe = name->second;
    GetWindowRect(handle, &info.rect);
    info.style = GetWindowLongPtrW(handle, GWL_STYLE);
    info.exStyle = GetWindowLongPtrW(handle, GWL_EXSTYLE);
    info.visible = IsWindowVisible(handle) != FALSE;
    windows.push_back(info);
  }
  return windows;
}

int List(Report& report) {
  report.Line("hwnd\tclass\tcaption\towner\tpid\texe\tleft\ttop\tright\tbottom\tstyle\texstyle\tvisible");
  for (const WindowInfo& w : TopLevelWindows()) {
    report.Line(Hex(reinterpret_cast<uintptr_t>(w.handle)) + "\t" + Field(w.className) + "\t" +
                Field(w.caption) + "\t" + Hex(reinterpret_cast<uintptr_t>(w.owner)) + "\t" +
                std::to_string(w.processId) + "\t" + Field(w.exe) + "\t" +
                std::to_string(w.rect.left) + "\t" + std::to_string(w.rect.top) + "\t" +
                std::to_string(w.rect.right) + "\t" + std::to_string(w.rect.bottom) + "\t" +
                Hex(static_cast<unsigned long>(w.style)) + "\t" +
                Hex(static_cast<unsigned long>(w.exStyle)) + "\t" + (w.visible ? "1" : "0"));
  }
  return 0;
}

// Sent, not posted: when the call returns, the program's close handlers have run, so the
// caller knows its request was taken, and a hung program is reported instead of waited for.
int Close(Report& report, const std::wstring& className, const std::wstring& exe, UINT timeoutMs) {
  int matched = 0;
  int failed = 0;
  for (const WindowInfo& w : TopLevelWindows()) {
    if (!SameText(w.className, className)) continue;
    if (!exe.empty() && !SameText(w.exe, exe)) continue;
    ++matched;
    DWORD_PTR result = 0;
    LRESULT sent = SendMessageTimeoutW(w.handle, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result);
    if (!sent) ++failed;
    report.Line(std::string(sent ? "closed" : "timeout") + "\t" +
                Hex(reinterpret_cast<uintptr_t>(w.handle)) + "\t" + std::to_string(w.processId) +
                "\t" + Field(w.exe));
  }
  if (matched == 0) report.Line("nomatch");
  return matched > 0 && failed == 0 ? 0 : 1;
}

// Quoting by the rules CommandLineToArgvW undoes.
std::wstring Quote(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
    } else if (c == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
      backslashes = 0;
    } else {
      backslashes = 0;
    }
    out += c;
  }
  out.append(backslashes, L'\\');
  out += L'"';
  return out;
}

int WaitIdle(Report& report, const std::vector<std::wstring>& command, DWORD timeoutMs) {
  std::wstring commandLine;
  for (const std::wstring& arg : command) {
    if (!commandLine.empty()) commandLine += L' ';
    commandLine += Quote(arg);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency, started, idle;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&started);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    report.Line("error=CreateProcess failed " + std::to_string(GetLastError()));
    return 1;
  }
  DWORD wait = WaitForInputIdle(process.hProcess, timeoutMs);
  QueryPerformanceCounter(&idle);
  double ms = 1000.0 * static_cast<double>(idle.QuadPart - started.QuadPart) /
              static_cast<double>(frequency.QuadPart);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "idle_ms=%.1f", ms);
  report.Line(buffer);
  report.Line("pid=" + std::to_string(process.dwProcessId));
  report.Line(std::string("result=") + (wait == 0 ? "idle" : wait == WAIT_TIMEOUT ? "timeout" : "failed"));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return wait == 0 ? 0 : 1;
}

int Memory(Report& report, DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) {
    report.Line("error=OpenProcess failed " + std::to_string(GetLastError()));
    return 1;
  }
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  BOOL ok = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof counters);
  CloseHandle(process);
  if (!ok) {
    report.Line("error=GetProcessMemoryInfo failed " + std::to_string(GetLastError()));
    return 1;
  }
  // Windows reports the commit charge in both fields; Wine 8 fills only PagefileUsage.
  SIZE_T privateBytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
  report.Line("private_bytes=" + std::to_string(privateBytes));
  report.Line("working_set=" + std::to_string(counters.WorkingSetSize));
  report.Line("peak_working_set=" + std::to_string(counters.PeakWorkingSetSize));
  return 0;
}

int Usage() {
  std::fputs(
      "usage: probe list --out F\n"
      "       probe close --class C [--exe E] [--timeout MS] --out F\n"
      "       probe wait-idle [--timeout MS] --out F -- EXE [ARGS...]\n"
      "       probe memory --pid P --out F\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  std::wstring command = argv[1];
  std::wstring out, className, exe;
  DWORD timeoutMs = 10000;
  DWORD pid = 0;
  std::vector<std::wstring> rest;
  for (int i = 2; i < argc; ++i) {
    std::wstring arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == L"--") {
      rest.assign(argv + i + 1, argv + argc);
      break;
    } else if (arg == L"--out" && hasValue) {
      out = argv[++i];
    } else if (arg == L"--class" && hasValue) {
      className = argv[++i];
    } else if (arg == L"--exe" && hasValue) {
      exe = argv[++i];
    } else if (arg == L"--timeout" && hasValue) {
      timeoutMs = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else if (arg == L"--pid" && hasValue) {
      pid = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else {
      return Usage();
    }
  }
  Report report(out);
  if (!report.Ok()) return 1;
  if (command == L"list") return List(report);
  if (command == L"close" && !className.empty()) return Close(report, className, exe, timeoutMs);
  if (command == L"wait-idle" && !rest.empty()) return WaitIdle(report, rest, timeoutMs);
  if (command == L"memory" && pid != 0) return Memory(report, pid);
  return Usage();
}
