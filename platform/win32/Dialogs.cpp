// The system's folder and file-open dialogs.

#include <shlobj.h>
#include <commdlg.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/win32/Text.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Ui.h"

namespace varnel::win32 {

namespace {

// What the folder dialog's callback needs: the folder to select at the start.
struct BrowseState {
  std::wstring folder;
};

// Selects the starting folder once the dialog is up, and shows the selected folder's path as
// the status line (empty for an item with no path in the file system).
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
  const auto* state = reinterpret_cast<const BrowseState*>(data);
  // A folder deep enough to pass MAX_PATH has its path shown too.
  std::wstring status(32768, L'\0');
  if (message == BFFM_INITIALIZED && !state->folder.empty()) {
    const DWORD attributes = ::GetFileAttributesW(ExtendedIfLong(state->folder).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                     reinterpret_cast<LPARAM>(state->folder.c_str()));
    }
  } else if (message == BFFM_SELCHANGED) {
    if (!::SHGetPathFromIDListEx(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), status.data(),
                                 static_cast<DWORD>(status.size()), GPFIDL_DEFAULT)) {
      status[0] = L'\0';
    }
  }
  ::SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(status.c_str()));
  return 0;
}

struct FreeItemList {
  void operator()(ITEMIDLIST* list) const { ::CoTaskMemFree(list); }
};

}  // namespace

std::optional<std::string> Win32Ui::BrowseForFolder(platform::Hwnd owner,
                                                    const std::string& title,
                                                    const std::string& folder) {
  BrowseState state{Widen(folder)};
  const std::wstring instruction = Widen(title);
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = ToHwnd(owner);
  info.pszDisplayName = displayName;
  info.lpszTitle = instruction.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&state);
  const std::unique_ptr<ITEMIDLIST, FreeItemList> chosen(::SHBrowseForFolderW(&info));
  if (!chosen) return std::nullopt;
  // Room for a long path: the dialog can reach folders beyond MAX_PATH.
  std::wstring path(32768, L'\0');
  if (!::SHGetPathFromIDListEx(chosen.get(), path.data(), static_cast<DWORD>(path.size()),
                               GPFIDL_DEFAULT)) {
    return std::string();
  }
  path.resize(std::wcslen(path.c_str()));
  return Narrow(path);
}

std::optional<std::string> Win32Ui::GetOpenFileName(platform::Hwnd owner,
                                                    const std::string& filter,
                                                    const std::string& defaultExtension) {
  // The dialog reads its filter as zero-separated pairs ending with two zeros.
  std::wstring filters = Widen(filter);
  for (wchar_t& c : filters) {
    if (c == L'|') c = L'\0';
  }
  filters.append(2, L'\0');
  std::wstring extension = Widen(defaultExtension);
  if (!extension.empty() && extension.front() == L'.') extension.erase(0, 1);
  std::wstring file(32768, L'\0');
  OPENFILENAMEW info{};
  info.lStructSize = sizeof info;
  info.hwndOwner = ToHwnd(owner);
  info.lpstrFilter = filters.c_str();
  info.nFilterIndex = 1;
  info.lpstrFile = file.data();
  info.nMaxFile = static_cast<DWORD>(file.size());
  info.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  // The current folder stays where it was: the program finds its files beside the exe, and a
  // dialog should not move the ground under anything else.
  info.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
               OFN_EXPLORER;
  if (!::GetOpenFileNameW(&info)) return std::nullopt;
  file.resize(std::wcslen(file.c_str()));
  return Narrow(file);
}

}  // namespace varnel::win32
