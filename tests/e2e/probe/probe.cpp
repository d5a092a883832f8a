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
//   probe metrics --out F                     screen size and work area (screen_w=..., work=L T R B)
//   probe move --hwnd H --out F -- X Y W H    MoveWindow on any window (as a user's resize)
//   probe kill --hwnd H --out F               ends the process that owns the window
//   probe sysclose --hwnd H --out F           WM_SYSCOMMAND SC_CLOSE to the window
//   probe watch --hwnd H [--pointer X Y] [--left L] [--top T] [--width W] [--height H]
//         [--timeout MS] --out F              polls the window's rectangle (every ~1 ms)
//         until it has every given value; with --pointer the probe first puts the pointer
//         there itself, so the time it reports runs from that move. Under Wine the server's
//         idea of the pointer lags behind X after a warp from a short-lived process, and a
//         second SetCursorPos to the place it still believes in is dropped: scripts move the
//         pointer with xdotool and use the wall-clock times of the report (*_unix).
//   probe client --hwnd H --out F              the client area: "client=X Y W H" (X Y on screen)
//   probe controls --hwnd H --out F            every control inside the window, TSV with a
//         header line: hwnd class text left top right bottom visible extra (rectangles on
//         screen). A list box's text is its items joined by "|", its extra "sel=N item_h=H";
//         a tab control's extra "sel=N tabs=L,T,R,B;..." (each tab's rectangle on screen).
//   probe mklink --target T --out L           a shell link (.lnk) at L that opens T
//   probe watch-class --class C [--exe E] [--gone] [--timeout MS] --out F
//         polls (every ~1 ms) until a visible top-level window of class C (of process E)
//         exists, or with --gone until none does; reports the wall-clock time (found_unix)
//         and the window's rectangle.
//   probe profile --file F --section S --key K --out O
//         GetPrivateProfileStringW of the key, as the system reads the settings file:
//         "value=..." (UTF-8), or "absent"
//   probe hold --file F [--until FLAG] [--timeout MS] --out O
//         a writer at work: creates F with no sharing at all, writes to it, reports "held",
//         and keeps it open until the file FLAG exists (or the time is up), then writes the
//         rest and closes it: "closed bytes=N"
//   probe grow --file F [--until FLAG] [--timeout MS] --out O
//         the same, but sharing every way, as many writers do, and adding a line every 20 ms
//   probe hungviewer [--until FLAG] [--timeout MS] --out O   a clipboard viewer that joins the
//         chain, reports "joined", then takes no message until FLAG exists (or the time is up)
//   probe clip --text T --out O                sets the clipboard to T (CF_UNICODETEXT)
//   probe foreground --out O                   the foreground window: "hwnd=H", "class=C",
//         "pid=P", "exe=E"
//   probe fullscreen [--until FLAG] [--timeout MS] --out O
//         full-screen work of another program (a borderless game, a browser in F11): a
//         WS_POPUP window exactly as large as the primary monitor, brought to the foreground
//         and kept until FLAG exists (or the time is up). Reports "monitor=L T R B",
//         "work=L T R B", "rect=L T R B" (the window as granted), "hwnd=H", "foreground=0|1",
//         "shown", and at the end "closed"
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
#include <commctrl.h>
#include <objidl.h>
#include <psapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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


int Metrics(Report& report) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  report.Line("screen_w=" + std::to_string(GetSystemMetrics(SM_CXSCREEN)));
  report.Line("screen_h=" + std::to_string(GetSystemMetrics(SM_CYSCREEN)));
  report.Line("work=" + std::to_string(work.left) + " " + std::to_string(work.top) + " " +
              std::to_string(work.right) + " " + std::to_string(work.bottom));
  return 0;
}

int Profile(Report& report, const std::wstring& file, const std::wstring& section,
            const std::wstring& key) {
  static const wchar_t kAbsent[] = L"\x7f<absent>\x7f";
  wchar_t value[2048];
  GetPrivateProfileStringW(section.c_str(), key.c_str(), kAbsent, value, 2048, file.c_str());
  if (std::wstring(value) == kAbsent) {
    report.Line("absent");
    return 1;
  }
  report.Line("value=" + ToUtf8(value));
  return 0;
}

HWND ParseHandle(const std::wstring& text) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(text.c_str(), nullptr, 0)));
}

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "\t" + std::to_string(r.top) + "\t" + std::to_string(r.right) +
         "\t" + std::to_string(r.bottom);
}

int Move(Report& report, HWND window, const std::vector<std::wstring>& numbers) {
  if (!IsWindow(window) || numbers.size() != 4) return 2;
  int v[4];
  for (int i = 0; i < 4; ++i) v[i] = static_cast<int>(std::wcstol(numbers[i].c_str(), nullptr, 10));
  BOOL ok = MoveWindow(window, v[0], v[1], v[2], v[3], TRUE);
  RECT rect{};
  GetWindowRect(window, &rect);
  report.Line(std::string(ok ? "moved" : "failed") + "\t" + RectText(rect));
  return ok ? 0 : 1;
}

// Never the process of the desktop window: in a virtual desktop that is Wine's own
// explorer.exe, and ending it would end the desktop every other program draws on.
int Kill(Report& report, HWND window) {
  DWORD pid = 0;
  if (!IsWindow(window) || !GetWindowThreadProcessId(window, &pid) || pid == 0) {
    report.Line("error=no such window");
    return 1;
  }
  DWORD desktopPid = 0;
  GetWindowThreadProcessId(GetDesktopWindow(), &desktopPid);
  if (pid == desktopPid || pid == GetCurrentProcessId()) {
    report.Line("error=refused: the window belongs to the desktop's process");
    return 1;
  }
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!process) {
    report.Line("error=OpenProcess failed " + std::to_string(GetLastError()));
    return 1;
  }
  BOOL ok = TerminateProcess(process, 1);
  DWORD wait = ok ? WaitForSingleObject(process, 10000) : WAIT_FAILED;
  CloseHandle(process);
  report.Line(std::string(ok && wait == WAIT_OBJECT_0 ? "killed" : "failed") + "\tpid=" +
              std::to_string(pid));
  return ok && wait == WAIT_OBJECT_0 ? 0 : 1;
}

int SysClose(Report& report, HWND window) {
  if (!IsWindow(window)) {
    report.Line("error=no such window");
    return 1;
  }
  DWORD_PTR result = 0;
  LRESULT sent = SendMessageTimeoutW(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG, 10000, &result);
  report.Line(sent ? "sent" : "timeout");
  return sent ? 0 : 1;
}

// A logoff as Windows runs it: the query, timed, and, when the answer is yes, the end.
int EndSession(Report& report, HWND window, UINT timeoutMs) {
  if (!IsWindow(window)) {
    report.Line("error=no such window");
    return 1;
  }
  const ULONGLONG started = GetTickCount64();
  DWORD_PTR answer = 0;
  const LRESULT asked = SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                            SMTO_ABORTIFHUNG, timeoutMs, &answer);
  report.Line("answer=" + std::string(!asked ? "timeout" : answer ? "1" : "0") +
              "\tms=" + std::to_string(GetTickCount64() - started));
  if (!asked || !answer) return 1;
  DWORD_PTR ignored = 0;
  const LRESULT ended = SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                            SMTO_ABORTIFHUNG, timeoutMs, &ignored);
  report.Line(std::string("ended=") + (ended ? "sent" : "timeout"));
  return ended ? 0 : 1;
}

// Another program looking at the window now and then: how often it sees the tool-window style.
int SampleStyle(Report& report, HWND window, int count, DWORD everyMs) {
  int tool = 0;
  int seen = 0;
  for (int i = 0; i < count; ++i) {
    if (i > 0) Sleep(everyMs);
    if (!IsWindow(window)) break;
    ++seen;
    if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) ++tool;
  }
  report.Line("tool=" + std::to_string(tool) + "\tof=" + std::to_string(seen));
  return seen == count ? 0 : 1;
}

struct RectGoal {
  bool hasLeft = false, hasTop = false, hasWidth = false, hasHeight = false;
  long left = 0, top = 0, width = 0, height = 0;
  bool Met(const RECT& r) const {
    return (!hasLeft || r.left == left) && (!hasTop || r.top == top) &&
           (!hasWidth || r.right - r.left == width) && (!hasHeight || r.bottom - r.top == height);
  }
};

double UnixNow() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<double>(ticks - 116444736000000000ULL) / 1e7;  // from 1601 to 1970
}

// A tight poll: one GetWindowRect a millisecond or so, so that the time of a movement that
// lasts a fraction of a second can be read to a few milliseconds.
int Watch(Report& report, HWND window, const RectGoal& goal, bool movePointer, POINT pointer,
          DWORD timeoutMs) {
  if (!IsWindow(window)) {
    report.Line("error=no such window");
    return 1;
  }
  LARGE_INTEGER frequency, started, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&started);
  auto elapsed = [&] {
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - started.QuadPart) /
           static_cast<double>(frequency.QuadPart);
  };
  // Under Wine the warp itself takes a while (it goes through the X server and the desktop
  // process); it is reported apart.
  const double startUnix = UnixNow();
  const BOOL pointerSet = movePointer ? SetCursorPos(pointer.x, pointer.y) : TRUE;
  const double pointerMs = elapsed();
  POINT pointerRead{};
  GetCursorPos(&pointerRead);
  RECT rect{};
  RECT last{};
  double firstChange = -1;
  bool met = false;
  bool gone = false;
  GetWindowRect(window, &last);
  while (elapsed() < timeoutMs) {
    if (!GetWindowRect(window, &rect)) {
      gone = true;
      break;
    }
    if (firstChange < 0 && !EqualRect(&rect, &last)) firstChange = elapsed();
    if (goal.Met(rect)) {
      met = true;
      break;
    }
    Sleep(1);
  }
  double ms = elapsed();
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "ms=%.1f", ms);
  report.Line(buffer);
  // Wall-clock times (Unix seconds) let a script time the movement from its own xdotool call.
  std::snprintf(buffer, sizeof buffer, "start_unix=%.6f", startUnix);
  report.Line(buffer);
  std::snprintf(buffer, sizeof buffer, "first_change_unix=%.6f",
                firstChange < 0 ? -1.0 : startUnix + firstChange / 1000.0);
  report.Line(buffer);
  std::snprintf(buffer, sizeof buffer, "end_unix=%.6f", startUnix + ms / 1000.0);
  report.Line(buffer);
  std::snprintf(buffer, sizeof buffer, "pointer_ms=%.1f", pointerMs);
  report.Line(buffer);
  report.Line(std::string("pointer_set=") + (pointerSet ? "1" : "0") + "\tread=" +
              std::to_string(pointerRead.x) + "," + std::to_string(pointerRead.y));
  std::snprintf(buffer, sizeof buffer, "first_change_ms=%.1f", firstChange);
  report.Line(buffer);
  report.Line("rect=" + RectText(rect));
  report.Line(std::string("result=") + (met ? "met" : gone ? "gone" : "timeout"));
  return met ? 0 : 1;
}

// COM through ole32 loaded at run time: the probe links nothing beyond the default libraries.
int MakeLink(const std::wstring& target, const std::wstring& linkPath) {
  HMODULE ole = LoadLibraryW(L"ole32.dll");
  if (!ole) return 1;
  using InitFn = HRESULT(WINAPI*)(LPVOID, DWORD);
  using CreateFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  using UninitFn = void(WINAPI*)();
  auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoInitializeEx")));
  auto create =
      reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoCreateInstance")));
  auto uninit = reinterpret_cast<UninitFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoUninitialize")));
  if (!init || !create || !uninit) return 1;
  if (FAILED(init(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  static const CLSID kShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  IShellLinkW* link = nullptr;
  HRESULT result = create(kShellLink, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW),
                          reinterpret_cast<void**>(&link));
  if (SUCCEEDED(result)) {
    link->SetPath(target.c_str());
    const size_t slash = target.find_last_of(L'\\');
    if (slash != std::wstring::npos) link->SetWorkingDirectory(target.substr(0, slash).c_str());
    IPersistFile* file = nullptr;
    result = link->QueryInterface(__uuidof(IPersistFile), reinterpret_cast<void**>(&file));
    if (SUCCEEDED(result)) {
      result = file->Save(linkPath.c_str(), TRUE);
      file->Release();
    }
    link->Release();
  }
  uninit();
  return SUCCEEDED(result) && GetFileAttributesW(linkPath.c_str()) != INVALID_FILE_ATTRIBUTES ? 0 : 1;
}

struct ClassQuery {
  std::wstring className;
  std::wstring exe;
  std::map<DWORD, std::wstring> names;  // refreshed only when an unknown process shows up
};

BOOL CALLBACK FindVisibleOfClass(HWND handle, LPARAM param) {
  auto* query = reinterpret_cast<std::pair<ClassQuery*, HWND>*>(param);
  if (!IsWindowVisible(handle)) return TRUE;
  wchar_t buffer[256];
  int length = GetClassNameW(handle, buffer, 256);
  if (length <= 0 || !SameText(std::wstring(buffer, static_cast<size_t>(length)), query->first->className)) {
    return TRUE;
  }
  if (!query->first->exe.empty()) {
    DWORD pid = 0;
    GetWindowThreadProcessId(handle, &pid);
    auto name = query->first->names.find(pid);
    if (name == query->first->names.end()) {
      query->first->names = ProcessNames();
      name = query->first->names.find(pid);
    }
    if (name == query->first->names.end() || !SameText(name->second, query->first->exe)) return TRUE;
  }
  query->second = handle;
  return FALSE;
}

// A tight poll for a window of a class (a menu, #32768) coming or going, so that the time it
// takes a program to show or dismiss it can be read to a few milliseconds.
int WatchClass(Report& report, const std::wstring& className, const std::wstring& exe, bool gone,
               DWORD timeoutMs) {
  ClassQuery query{className, exe, ProcessNames()};
  const double startUnix = UnixNow();
  LARGE_INTEGER frequency, started, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&started);
  auto elapsed = [&] {
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - started.QuadPart) /
           static_cast<double>(frequency.QuadPart);
  };
  std::pair<ClassQuery*, HWND> found{&query, nullptr};
  bool met = false;
  while (true) {
    found.second = nullptr;
    EnumWindows(FindVisibleOfClass, reinterpret_cast<LPARAM>(&found));
    if ((found.second != nullptr) != gone) {
      met = true;
      break;
    }
    if (elapsed() >= timeoutMs) break;
    Sleep(1);
  }
  const double ms = elapsed();
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "found_unix=%.6f", met ? startUnix + ms / 1000.0 : -1.0);
  report.Line(buffer);
  std::snprintf(buffer, sizeof buffer, "start_unix=%.6f", startUnix);
  report.Line(buffer);
  std::snprintf(buffer, sizeof buffer, "ms=%.1f", ms);
  report.Line(buffer);
  if (found.second != nullptr) {
    RECT rect{};
    GetWindowRect(found.second, &rect);
    report.Line("hwnd=" + Hex(reinterpret_cast<uintptr_t>(found.second)));
    report.Line("rect=" + RectText(rect));
  }
  report.Line(std::string("result=") + (met ? "met" : "timeout"));
  return met ? 0 : 1;
}

int Client(Report& report, HWND window) {
  RECT client{};
  POINT origin{};
  if (!IsWindow(window) || !GetClientRect(window, &client) || !ClientToScreen(window, &origin)) {
    report.Line("error=no such window");
    return 1;
  }
  report.Line("client=" + std::to_string(origin.x) + " " + std::to_string(origin.y) + " " +
              std::to_string(client.right) + " " + std::to_string(client.bottom));
  return 0;
}

// Sent with a time-out: a hung program must not hang the probe.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

// WM_GETTEXT and LB_GETTEXT are carried across processes by the system, buffer and all.
std::wstring ControlText(HWND window) {
  const LRESULT length = Ask(window, WM_GETTEXTLENGTH);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

std::wstring ListItems(HWND list) {
  std::wstring items;
  const LRESULT count = Ask(list, LB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = Ask(list, LB_GETTEXTLEN, static_cast<WPARAM>(i));
    std::wstring item(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
    const LRESULT copied = Ask(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    if (i > 0) items += L'|';
    items += item;
  }
  return items;
}

// A tab control writes a tab's rectangle through a pointer that must be valid in its own
// process, which the system does not carry across: the probe lends it memory there.
std::string TabRects(HWND tabs) {
  DWORD pid = 0;
  GetWindowThreadProcessId(tabs, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return {};
  void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  std::string rects;
  const LRESULT count = remote ? Ask(tabs, TCM_GETITEMCOUNT) : 0;
  for (LRESULT i = 0; i < count; ++i) {
    RECT rect{};
    SIZE_T read = 0;
    if (Ask(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote)) <= 0 ||
        !ReadProcessMemory(process, remote, &rect, sizeof rect, &read)) {
      break;
    }
    MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    if (i > 0) rects += ';';
    rects += std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
             std::to_string(rect.right) + "," + std::to_string(rect.bottom);
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return rects;
}

BOOL CALLBACK CollectChild(HWND handle, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(handle);
  return TRUE;
}

int Controls(Report& report, HWND window) {
  if (!IsWindow(window)) {
    report.Line("error=no such window");
    return 1;
  }
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  report.Line("hwnd\tclass\ttext\tleft\ttop\tright\tbottom\tvisible\textra");
  for (HWND child : children) {
    wchar_t name[256] = L"";
    GetClassNameW(child, name, 256);
    std::wstring text = ControlText(child);
    std::string extra;
    if (SameText(name, WC_LISTBOXW)) {
      text = ListItems(child);
      extra = "sel=" + std::to_string(Ask(child, LB_GETCURSEL)) +
              " item_h=" + std::to_string(Ask(child, LB_GETITEMHEIGHT));
    } else if (SameText(name, WC_TABCONTROLW)) {
      extra = "sel=" + std::to_string(Ask(child, TCM_GETCURSEL)) + " tabs=" + TabRects(child);
    }
    RECT rect{};
    GetWindowRect(child, &rect);
    report.Line(Hex(reinterpret_cast<uintptr_t>(child)) + "\t" + Field(name) + "\t" + Field(text) +
                "\t" + RectText(rect) + "\t" + (IsWindowVisible(child) ? "1" : "0") + "\t" + extra);
  }
  return 0;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteText(HANDLE file, const std::string& text) {
  DWORD written = 0;
  return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

// Share mode 0: until the close nobody else may open the file in any way, which is how a
// program still writing a download or a scan keeps others out.
int Hold(Report& report, const std::wstring& path, const std::wstring& flag, DWORD timeoutMs,
         bool grow = false) {
  const DWORD share = grow ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    report.Line("error=CreateFile failed " + std::to_string(GetLastError()));
    return 1;
  }
  const std::string head = "first half of the file\r\n";
  const std::string tail = "second half, written just before the close\r\n";
  bool ok = WriteText(file, head);
  report.Line("held");
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while ((flag.empty() || !Exists(flag)) && GetTickCount64() < deadline) {
    Sleep(20);
    if (grow) ok = WriteText(file, "one line more of a file still growing\r\n") && ok;
  }
  ok = WriteText(file, tail) && ok;
  const DWORD bytes = GetFileSize(file, nullptr);
  ok = CloseHandle(file) && ok;
  report.Line(std::string(ok ? "closed" : "failed") + " bytes=" + std::to_string(bytes));
  return ok ? 0 : 1;
}

// Message-only: in the chain, yet no broadcast to the desktop's windows waits on it.
int HungViewer(Report& report, const std::wstring& flag, DWORD timeoutMs) {
  HWND window = CreateWindowExW(0, L"STATIC", L"hung viewer", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, nullptr, nullptr);
  if (!window) return 1;
  SetClipboardViewer(window);
  report.Line("joined");
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while ((flag.empty() || !Exists(flag)) && GetTickCount64() < deadline) Sleep(20);
  return 0;
}

// The clipboard's owner is a window of ours, as when a user copies in any program: with no
// owner (OpenClipboard(NULL)), SetClipboardData may be refused after EmptyClipboard.
int Clip(Report& report, const std::wstring& text) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"probe clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE,
                               nullptr, nullptr, nullptr);
  bool opened = false;
  for (int attempt = 0; attempt < 50 && !(opened = OpenClipboard(owner) != FALSE); ++attempt) Sleep(20);
  if (!opened) {
    report.Line("error=OpenClipboard failed " + std::to_string(GetLastError()));
    if (owner) DestroyWindow(owner);
    return 1;
  }
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = false;
  if (memory) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!ok) GlobalFree(memory);
  }
  CloseClipboard();
  report.Line(ok ? "set" : "error=SetClipboardData failed " + std::to_string(GetLastError()));
  if (owner) DestroyWindow(owner);
  return ok ? 0 : 1;
}

int Foreground(Report& report) {
  HWND window = GetForegroundWindow();
  DWORD pid = 0;
  wchar_t name[256] = L"";
  if (window) {
    GetWindowThreadProcessId(window, &pid);
    GetClassNameW(window, name, 256);
  }
  const std::map<DWORD, std::wstring> names = ProcessNames();
  const auto exe = names.find(pid);
  report.Line("hwnd=" + Hex(reinterpret_cast<uintptr_t>(window)));
  report.Line("class=" + Field(name));
  report.Line("pid=" + std::to_string(pid));
  report.Line("exe=" + (exe == names.end() ? std::string() : Field(exe->second)));
  return window ? 0 : 1;
}

LRESULT CALLBACK FullScreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Shown as a program's own full-screen picture would be: no taskbar, no frame to draw.
  if (message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 96));
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::string Rect4(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
         " " + std::to_string(r.bottom);
}

int FullScreen(Report& report, const std::wstring& flag, DWORD timeoutMs) {
  const POINT origin{0, 0};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &info)) {
    report.Line("error=GetMonitorInfo failed " + std::to_string(GetLastError()));
    return 1;
  }
  report.Line("monitor=" + Rect4(info.rcMonitor));
  report.Line("work=" + Rect4(info.rcWork));
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = FullScreenProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"ProbeFullScreen";
  RegisterClassW(&windowClass);
  const RECT& m = info.rcMonitor;
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"probe full screen", WS_POPUP,
                                m.left, m.top, m.right - m.left, m.bottom - m.top, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
  if (!window) {
    report.Line("error=CreateWindow failed " + std::to_string(GetLastError()));
    return 1;
  }
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetForegroundWindow(window);
  RECT rect{};
  GetWindowRect(window, &rect);
  report.Line("rect=" + Rect4(rect));
  report.Line("hwnd=" + Hex(reinterpret_cast<uintptr_t>(window)));
  report.Line(std::string("foreground=") + (GetForegroundWindow() == window ? "1" : "0"));
  report.Line("shown");
  // Messages are pumped all along: a window that stops answering is one the system may treat
  // as hung and replace with a ghost.
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while ((flag.empty() || !Exists(flag)) && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  DestroyWindow(window);
  report.Line("closed");
  return 0;
}

int Usage() {
  std::fputs(
      "usage: probe list --out F\n"
      "       probe close --class C [--exe E] [--timeout MS] --out F\n"
      "       probe wait-idle [--timeout MS] --out F -- EXE [ARGS...]\n"
      "       probe memory --pid P --out F\n"
      "       probe metrics --out F\n"
      "       probe move --hwnd H --out F -- X Y W H\n"
      "       probe kill --hwnd H --out F\n"
      "       probe sysclose --hwnd H --out F\n"
      "       probe endsession --hwnd H [--timeout MS] --out F\n"
      "       probe sample-style --hwnd H [--count N] [--every MS] --out F\n"
      "       probe watch --hwnd H [--pointer X Y] [--left L] [--top T] [--width W] [--height H]\n"
      "             [--timeout MS] --out F\n"
      "       probe client --hwnd H --out F\n"
      "       probe controls --hwnd H --out F\n"
      "       probe mklink --target T --out L\n"
      "       probe watch-class --class C [--exe E] [--gone] [--timeout MS] --out F\n"
      "       probe profile --file F --section S --key K --out O\n"
      "       probe hold --file F [--until FLAG] [--timeout MS] --out O\n"
      "       probe grow --file F [--until FLAG] [--timeout MS] --out O\n"
      "       probe hungviewer [--until FLAG] [--timeout MS] --out O\n"
      "       probe clip --text T --out O\n"
      "       probe foreground --out O\n"
      "       probe fullscreen [--until FLAG] [--timeout MS] --out O\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  std::wstring command = argv[1];
  std::wstring out, className, exe, target, file, section, key, until, text;
  bool gone = false;
  DWORD timeoutMs = 10000;
  int count = 30;
  DWORD every = 100;
  DWORD pid = 0;
  HWND window = nullptr;
  RectGoal goal;
  bool movePointer = false;
  POINT pointer{};
  std::vector<std::wstring> rest;
  auto number = [](const wchar_t* text) { return std::wcstol(text, nullptr, 10); };
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
    } else if (arg == L"--target" && hasValue) {
      target = argv[++i];
    } else if (arg == L"--file" && hasValue) {
      file = argv[++i];
    } else if (arg == L"--section" && hasValue) {
      section = argv[++i];
    } else if (arg == L"--key" && hasValue) {
      key = argv[++i];
    } else if (arg == L"--until" && hasValue) {
      until = argv[++i];
    } else if (arg == L"--text" && hasValue) {
      text = argv[++i];
    } else if (arg == L"--gone") {
      gone = true;
    } else if (arg == L"--exe" && hasValue) {
      exe = argv[++i];
    } else if (arg == L"--count" && hasValue) {
      count = static_cast<int>(std::wcstol(argv[++i], nullptr, 10));
    } else if (arg == L"--every" && hasValue) {
      every = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else if (arg == L"--timeout" && hasValue) {
      timeoutMs = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else if (arg == L"--pid" && hasValue) {
      pid = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else if (arg == L"--hwnd" && hasValue) {
      window = ParseHandle(argv[++i]);
    } else if (arg == L"--pointer" && i + 2 < argc) {
      movePointer = true;
      pointer.x = number(argv[++i]);
      pointer.y = number(argv[++i]);
    } else if (arg == L"--left" && hasValue) {
      goal.hasLeft = true;
      goal.left = number(argv[++i]);
    } else if (arg == L"--top" && hasValue) {
      goal.hasTop = true;
      goal.top = number(argv[++i]);
    } else if (arg == L"--width" && hasValue) {
      goal.hasWidth = true;
      goal.width = number(argv[++i]);
    } else if (arg == L"--height" && hasValue) {
      goal.hasHeight = true;
      goal.height = number(argv[++i]);
    } else {
      return Usage();
    }
  }
  // The link is the output itself: no report file.
  if (command == L"mklink") return !target.empty() && !out.empty() ? MakeLink(target, out) : Usage();
  Report report(out);
  if (!report.Ok()) return 1;
  if (command == L"list") return List(report);
  if (command == L"close" && !className.empty()) return Close(report, className, exe, timeoutMs);
  if (command == L"wait-idle" && !rest.empty()) return WaitIdle(report, rest, timeoutMs);
  if (command == L"memory" && pid != 0) return Memory(report, pid);
  if (command == L"metrics") return Metrics(report);
  if (command == L"profile" && !file.empty()) return Profile(report, file, section, key);
  if (command == L"move" && window) return Move(report, window, rest);
  if (command == L"kill" && window) return Kill(report, window);
  if (command == L"sysclose" && window) return SysClose(report, window);
  if (command == L"endsession" && window) return EndSession(report, window, timeoutMs);
  if (command == L"sample-style" && window) return SampleStyle(report, window, count, every);
  if (command == L"client" && window) return Client(report, window);
  if (command == L"controls" && window) return Controls(report, window);
  if (command == L"watch-class" && !className.empty()) {
    return WatchClass(report, className, exe, gone, timeoutMs);
  }
  if (command == L"hold" && !file.empty()) return Hold(report, file, until, timeoutMs);
  if (command == L"grow" && !file.empty()) return Hold(report, file, until, timeoutMs, true);
  if (command == L"hungviewer") return HungViewer(report, until, timeoutMs);
  if (command == L"clip") return Clip(report, text);
  if (command == L"foreground") return Foreground(report);
  if (command == L"fullscreen") return FullScreen(report, until, timeoutMs);
  if (command == L"watch" && window) return Watch(report, window, goal, movePointer, pointer, timeoutMs);
  return Usage();
}
