// The platform contract on the real system. Another process's window is Notepad's, started
// for the test and ended with it (a process left running would hold CTest's output open).

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/Resource.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "tests/contract/PlatformContract.h"

namespace varnel::contract {
namespace {

using win32::FromHwnd;
using win32::ToHwnd;

constexpr wchar_t kClassName[] = L"VarnelContractWindow";

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(window, message, wParam, lParam);
}

struct Started {
  DWORD processId;
  win32::unique_handle process;
};

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindTopLevelOf(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != search->processId || !::IsWindowVisible(window) ||
      ::GetWindow(window, GW_OWNER) != nullptr) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

class Win32ContractBackend final : public ContractBackend {
 public:
  Win32ContractBackend() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassW(&windowClass);  // a second test finds it registered; that is fine
  }

  ~Win32ContractBackend() override {
    held_.clear();
    for (HWND window : own_) {
      if (::IsWindow(window)) ::DestroyWindow(window);
    }
    for (Started& started : processes_) End(started);
    if (!folder_.empty()) RemoveFolder();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, win32::Widen(kContractRegistryKey).c_str());
  }

  platform::Platform& Get() override { return system_.Get(); }

  platform::Hwnd MakeWindow(Owner owner, const platform::Rect& rect) override {
    HWND window = owner == Owner::ThisProcess ? MakeOwnWindow() : StartNotepad();
    if (window == nullptr) return platform::kNoWindow;
    ::MoveWindow(window, rect.Left, rect.Top, rect.Width(), rect.Height(), TRUE);
    return FromHwnd(window);
  }

  void DestroyWindow(platform::Hwnd window) override {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(ToHwnd(window), &processId);
    if (processId == ::GetCurrentProcessId()) {
      ::DestroyWindow(ToHwnd(window));
      return;
    }
    for (Started& started : processes_) {
      if (started.processId == processId) End(started);
    }
    // The window goes with its process, a moment after the process has ended.
    for (int wait = 0; wait < 200 && ::IsWindow(ToHwnd(window)); ++wait) ::Sleep(10);
  }

  std::string Folder() override {
    if (folder_.empty()) {
      wchar_t temp[MAX_PATH];
      ::GetTempPathW(MAX_PATH, temp);
      folder_ = temp + std::wstring(L"varnel_contract_") +
                std::to_wstring(::GetCurrentProcessId()) + L"_" +
                std::to_wstring(::GetTickCount());
      ::CreateDirectoryW(folder_.c_str(), nullptr);
    }
    return win32::Narrow(folder_);
  }

  void MakeFile(const std::string& path, std::string_view contents,
                std::uint32_t attributes) override {
    const std::wstring wide = win32::Widen(path);
    {
      const win32::unique_hfile file(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr,
                                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      DWORD written = 0;
      if (file && !contents.empty()) {
        ::WriteFile(file.get(), contents.data(), static_cast<DWORD>(contents.size()), &written,
                    nullptr);
      }
    }
    if (attributes != 0) ::SetFileAttributesW(wide.c_str(), attributes);
  }

  void MakeFolder(const std::string& path) override {
    ::CreateDirectoryW(win32::Widen(path).c_str(), nullptr);
  }

  // Held by this process: sharing is checked between handles, whoever holds them.
  void HoldOpen(const std::string& path, bool held) override {
    if (!held) {
      held_.erase(path);
      return;
    }
    held_[path] = win32::unique_hfile(::CreateFileW(win32::Widen(path).c_str(), GENERIC_READ, 0,
                                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                    nullptr));
  }

  // Set from a window of the backend's own, as another program would: emptying the clipboard
  // makes the opener its owner, and only an owner with a window may set data.
  bool PutClipboardText(const std::string& utf8) override {
    if (!clipboardOwner_) {
      clipboardOwner_.reset(::CreateWindowExW(0, kClassName, L"clipboard owner", WS_POPUP, 0, 0,
                                              0, 0, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                              nullptr));
    }
    bool opened = ::OpenClipboard(clipboardOwner_.get());
    for (int attempt = 0; !opened && attempt < 100; ++attempt) {
      ::Sleep(10);  // another program is reading it
      opened = ::OpenClipboard(clipboardOwner_.get());
    }
    if (!opened) return false;
    const std::wstring wide = win32::Widen(utf8);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool set = false;
    if (memory && ::EmptyClipboard()) {
      if (void* locked = ::GlobalLock(memory)) {
        std::memcpy(locked, wide.c_str(), bytes);
        ::GlobalUnlock(memory);
        set = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
      }
    }
    if (!set && memory) ::GlobalFree(memory);  // the system owns it only once it is set
    ::CloseClipboard();
    return set;
  }

 private:
  HWND MakeOwnWindow() {
    HWND window = ::CreateWindowExW(0, kClassName, L"contract", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    300, 200, 400, 300, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (window) own_.push_back(window);
    return window;
  }

  HWND StartNotepad() {
    std::wstring command = L"notepad.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION information{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &information)) {
      return nullptr;
    }
    ::CloseHandle(information.hThread);
    processes_.push_back({information.dwProcessId, win32::unique_handle(information.hProcess)});
    ::WaitForInputIdle(information.hProcess, 10000);
    Search search{information.dwProcessId, nullptr};
    for (int wait = 0; wait < 1000 && search.found == nullptr; ++wait) {
      ::EnumWindows(FindTopLevelOf, reinterpret_cast<LPARAM>(&search));
      if (search.found == nullptr) ::Sleep(10);
    }
    return search.found;
  }

  static void End(Started& started) {
    if (!started.process) return;
    ::TerminateProcess(started.process.get(), 0);
    ::WaitForSingleObject(started.process.get(), 10000);
    started.process.reset();
  }

  void RemoveFolder() { RemoveTree(folder_); }

  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    const win32::unique_hfind find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (find) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
          RemoveTree(path);
        } else {
          ::DeleteFileW(path.c_str());
        }
      } while (::FindNextFileW(find.get(), &entry));
    }
    ::RemoveDirectoryW(folder.c_str());
  }

  win32::Win32Platform system_;
  std::vector<HWND> own_;
  std::vector<Started> processes_;
  std::wstring folder_;
  std::map<std::string, win32::unique_hfile> held_;
  win32::unique_hwnd clipboardOwner_;
};

}  // namespace

std::unique_ptr<ContractBackend> MakeContractBackend() {
  return std::make_unique<Win32ContractBackend>();
}

}  // namespace varnel::contract
