#include "platform/win32/Text.h"

#include <climits>

namespace varnel::win32 {

// The program speaks in the system's numbers; make sure the copies agree.
static_assert(platform::WmClose == WM_CLOSE);
static_assert(platform::WmSysCommand == WM_SYSCOMMAND);
static_assert(platform::ScClose == SC_CLOSE);
static_assert(platform::GwlStyle == GWL_STYLE);
static_assert(platform::GwlExStyle == GWL_EXSTYLE);
static_assert(platform::WsExToolWindow == WS_EX_TOOLWINDOW);
static_assert(platform::WsExAppWindow == WS_EX_APPWINDOW);
static_assert(platform::WsVisible == WS_VISIBLE);
static_assert(platform::SmCxScreen == SM_CXSCREEN);
static_assert(platform::SmCyScreen == SM_CYSCREEN);
static_assert(platform::FileAttributeReadOnly == FILE_ATTRIBUTE_READONLY);
static_assert(platform::FileAttributeHidden == FILE_ATTRIBUTE_HIDDEN);
static_assert(platform::FileAttributeSystem == FILE_ATTRIBUTE_SYSTEM);
static_assert(platform::FileAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(platform::InvalidFileAttributes == INVALID_FILE_ATTRIBUTES);
static_assert(platform::MbOk == MB_OK);
static_assert(platform::MbIconError == MB_ICONERROR);
static_assert(platform::MbIconWarning == MB_ICONWARNING);
static_assert(platform::MbIconInformation == MB_ICONINFORMATION);
static_assert(platform::SeErrNoAssoc == SE_ERR_NOASSOC);
static_assert(sizeof(platform::Hwnd) == sizeof(HWND));
static_assert(platform::WmSetText == WM_SETTEXT);
static_assert(platform::ScRestore == SC_RESTORE);
static_assert(platform::GwlHwndParent == GWLP_HWNDPARENT);
static_assert(platform::WsPopup == WS_POPUP);
static_assert(platform::WsDisabled == WS_DISABLED);
static_assert(platform::WsSysMenu == WS_SYSMENU);
static_assert(platform::WsMinimizeBox == WS_MINIMIZEBOX);
static_assert(platform::WsExTopmost == WS_EX_TOPMOST);
static_assert(platform::SwHide == SW_HIDE);
static_assert(platform::SwShowNormal == SW_SHOWNORMAL);
static_assert(platform::SwShowMinimized == SW_SHOWMINIMIZED);
static_assert(platform::SwShowMaximized == SW_SHOWMAXIMIZED);
static_assert(platform::SwShowNoActivate == SW_SHOWNOACTIVATE);
static_assert(platform::SwShow == SW_SHOW);
static_assert(platform::SwRestore == SW_RESTORE);
static_assert(platform::SwpNoSize == SWP_NOSIZE);
static_assert(platform::SwpNoMove == SWP_NOMOVE);
static_assert(platform::SwpNoZOrder == SWP_NOZORDER);
static_assert(platform::SwpNoActivate == SWP_NOACTIVATE);
static_assert(platform::SwpFrameChanged == SWP_FRAMECHANGED);
static_assert(platform::GwOwner == GW_OWNER);
static_assert(platform::VkLButton == VK_LBUTTON);
static_assert(platform::VkRButton == VK_RBUTTON);
// HWND_TOPMOST and HWND_NOTOPMOST are pointer casts, which a constant expression cannot hold;
// the backend's tests compare them at run time.
static_assert(static_cast<std::intptr_t>(static_cast<std::uintptr_t>(platform::HwndTopmost)) == -1);
static_assert(static_cast<std::intptr_t>(static_cast<std::uintptr_t>(platform::HwndNoTopmost)) == -2);

std::wstring ToWide(UINT codepage, std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int needed = ::MultiByteToWideChar(codepage, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  if (::MultiByteToWideChar(codepage, 0, text.data(), length, wide.data(), needed) <= 0) return {};
  return wide;
}

std::string FromWide(UINT codepage, std::wstring_view wide) {
  if (wide.empty() || wide.size() > INT_MAX) return {};
  const int length = static_cast<int>(wide.size());
  const int needed =
      ::WideCharToMultiByte(codepage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string text(static_cast<size_t>(needed), '\0');
  if (::WideCharToMultiByte(codepage, 0, wide.data(), length, text.data(), needed, nullptr,
                            nullptr) <= 0) {
    return {};
  }
  return text;
}

void ReportCallbackFailure(const char* what) noexcept {
  try {
    const std::wstring text = Widen(what ? what : "");
    ::MessageBoxW(nullptr, text.empty() ? L"Unknown error" : text.c_str(), L"Varnel",
                  MB_OK | MB_ICONERROR | MB_TASKMODAL);
  } catch (...) {
    ::MessageBoxW(nullptr, L"Unknown error", L"Varnel", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  }
}

}  // namespace varnel::win32
