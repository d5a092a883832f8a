#include "platform/win32/Win32Platform.h"

#include "platform/win32/WindowsApi.h"

#include <exdisp.h>
#include <shldisp.h>
#include <tlhelp32.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "platform/win32/Image.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32Codepage.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Ui.h"

namespace varnel::win32 {

namespace {

// COM for this thread, apartment-threaded as the shell's objects want; undone only when it was
// this object that did it.
class ComApartment {
 public:
  ComApartment()
      : initialized_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED |
                                                             COINIT_DISABLE_OLE1DDE))) {}
  ~ComApartment() {
    if (initialized_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

bool InitCommonControlsOnce() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                   ICC_WIN95_CLASSES;
  return ::InitCommonControlsEx(&controls) != FALSE;
}

}  // namespace

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

std::uint32_t Win32Kernel::GetCurrentProcessId() const { return ::GetCurrentProcessId(); }

std::optional<std::string> Win32Kernel::QueryFullProcessImageName(std::uint32_t processId) const {
  // The limited right is the one a process of higher rights still grants.
  const unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return std::nullopt;
  std::wstring path(32768, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return std::nullopt;
  path.resize(length);
  return Narrow(path);
}

platform::Kernel::LocalTime Win32Kernel::GetLocalTime() const {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute,
          now.wSecond};
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

namespace {

// A kernel handle the program holds for as long as it needs the object.
class KernelHandle final : public platform::KernelObject {
 public:
  explicit KernelHandle(unique_handle handle) : handle_(std::move(handle)) {}

 private:
  unique_handle handle_;
};

}  // namespace

// Why the error is read at once: the system tells "opened, not created" only through the last
// error of this very call, and any call in between may overwrite it.
platform::CreatedMutex Win32Kernel::CreateMutex(const std::string& name) {
  const std::wstring wide = Widen(name);
  ::SetLastError(ERROR_SUCCESS);
  const HANDLE handle = ::CreateMutexW(nullptr, FALSE, wide.empty() ? nullptr : wide.c_str());
  const DWORD error = ::GetLastError();
  platform::CreatedMutex created;
  // A mutex of that name exists but its holder's rights keep us out: another instance runs
  // (elevated, say), and the name is taken all the same.
  created.alreadyExisted = error == ERROR_ACCESS_DENIED;
  if (!handle) return created;
  created.handle = std::make_unique<KernelHandle>(unique_handle(handle));
  created.alreadyExisted = error == ERROR_ALREADY_EXISTS;
  return created;
}

// --- Shell ---------------------------------------------------------------------------------

void Win32ShellDispatch::Release::operator()(IShellDispatch* dispatch) const {
  if (dispatch) dispatch->Release();
}

namespace {

using unique_bstr = UniqueAny<BSTR, ::SysFreeString>;

// Names the call and the system's answer, for a developer reading what().
[[noreturn]] void ThrowShellCallFailed(const char* call, HRESULT result) {
  char text[96];
  std::snprintf(text, sizeof(text), "%s failed (0x%08lX)", call,
                static_cast<unsigned long>(result));
  throw platform::ShellCallFailed(text);
}

// A failed answer, or a success that hands back no object, is a failure of the call.
void Check(HRESULT result, const void* object, const char* call) {
  if (FAILED(result)) ThrowShellCallFailed(call, result);
  if (!object) ThrowShellCallFailed(call, E_POINTER);
}

class Win32WebBrowser final : public platform::WebBrowser {
 public:
  explicit Win32WebBrowser(unique_com<IWebBrowser2> browser) : browser_(std::move(browser)) {}

  platform::Hwnd get_HWND() const override {
    SHANDLE_PTR handle = 0;
    const HRESULT result = browser_->get_HWND(&handle);
    if (FAILED(result)) ThrowShellCallFailed("IWebBrowser2::get_HWND", result);
    return FromHwnd(reinterpret_cast<HWND>(handle));
  }

  std::string get_LocationURL() const override {
    unique_bstr url;
    const HRESULT result = browser_->get_LocationURL(url.put());
    if (FAILED(result)) ThrowShellCallFailed("IWebBrowser2::get_LocationURL", result);
    if (!url) return {};
    return Narrow({url.get(), ::SysStringLen(url.get())});
  }

 private:
  unique_com<IWebBrowser2> browser_;
};

class Win32ShellWindows final : public platform::ShellWindows {
 public:
  explicit Win32ShellWindows(unique_com<IShellWindows> windows) : windows_(std::move(windows)) {}

  int get_Count() const override {
    LONG count = 0;
    const HRESULT result = windows_->get_Count(&count);
    if (FAILED(result)) ThrowShellCallFailed("IShellWindows::get_Count", result);
    return static_cast<int>(count);
  }

  // Past the last window the collection answers S_FALSE with no object: a failure here too.
  std::unique_ptr<platform::WebBrowser> Item(int index) const override {
    VARIANT position;
    ::VariantInit(&position);
    position.vt = VT_I4;
    position.lVal = index;
    unique_com<IDispatch> item;
    Check(windows_->Item(position, item.put()), item.get(), "IShellWindows::Item");
    unique_com<IWebBrowser2> browser;
    Check(item->QueryInterface(IID_IWebBrowser2, browser.put_void()), browser.get(),
          "QueryInterface(IWebBrowser2)");
    return std::make_unique<Win32WebBrowser>(std::move(browser));
  }

 private:
  unique_com<IShellWindows> windows_;
};

}  // namespace

std::unique_ptr<platform::ShellWindows> Win32ShellDispatch::Windows() {
  if (!dispatch_) ThrowShellCallFailed("IShellDispatch::Windows", E_POINTER);
  unique_com<IDispatch> collection;
  Check(dispatch_->Windows(collection.put()), collection.get(), "IShellDispatch::Windows");
  unique_com<IShellWindows> windows;
  Check(collection->QueryInterface(IID_IShellWindows, windows.put_void()), windows.get(),
        "QueryInterface(IShellWindows)");
  return std::make_unique<Win32ShellWindows>(std::move(windows));
}

namespace {

// Null for an empty string: ShellExecuteW reads a null verb, parameter list or folder as
// "none", an empty one not always.
const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

std::unique_ptr<platform::ShellDispatch> Win32Shell::CreateShellApplication() {
  unique_com<IShellDispatch> dispatch;
  const HRESULT result = ::CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IShellDispatch, dispatch.put_void());
  if (FAILED(result) || !dispatch) return nullptr;
  return std::make_unique<Win32ShellDispatch>(dispatch.release());
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

int Win32Shell::SHQueryUserNotificationState() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(::SHQueryUserNotificationState(&state))) return platform::QunsAcceptsNotifications;
  return static_cast<int>(state);
}

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

// --- The platform --------------------------------------------------------------------------

struct Win32Platform::Impl {
  ComApartment com;  // first in, last out: the shell object below lives inside it
  bool commonControls = InitCommonControlsOnce();
  Win32WindowManager windows;
  Win32FileSystem files;
  Win32Codepage codepage;
  Win32Clipboard clipboard;
  Win32Kernel kernel;
  Win32Shell shell;
  Win32Ui ui;
  Win32Registry registry;
  platform::Platform platform{windows, files, codepage, clipboard, kernel, shell, ui, registry};
};

Win32Platform::Win32Platform() : impl_(std::make_unique<Impl>()) {}

Win32Platform::~Win32Platform() = default;

platform::Platform& Win32Platform::Get() { return impl_->platform; }

}  // namespace varnel::win32
