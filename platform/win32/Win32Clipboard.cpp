#include "platform/win32/Win32Clipboard.h"

#include <algorithm>
#include <cwchar>

#include "base/ScopeExit.h"
#include "platform/win32/Text.h"

namespace varnel::win32 {

static_assert(platform::WmDrawClipboard == WM_DRAWCLIPBOARD);
static_assert(platform::WmChangeCbChain == WM_CHANGECBCHAIN);
static_assert(platform::CfText == CF_TEXT);
static_assert(platform::CfUnicodeText == CF_UNICODETEXT);

platform::Hwnd Win32Clipboard::SetClipboardViewer(platform::Hwnd viewer) {
  return FromHwnd(::SetClipboardViewer(ToHwnd(viewer)));
}

// The system's answer is whatever the chain's windows returned for WM_CHANGECBCHAIN.
bool Win32Clipboard::ChangeClipboardChain(platform::Hwnd remove, platform::Hwnd next) {
  return ::ChangeClipboardChain(ToHwnd(remove), ToHwnd(next)) != FALSE;
}

bool Win32Clipboard::IsClipboardFormatAvailable(unsigned format) const {
  return ::IsClipboardFormatAvailable(format) != FALSE;
}

// Opened without a window: reading needs no owner (only emptying and setting do), and so the
// clipboard can be read from anywhere on the UI thread. Whatever another program put there is
// not trusted to be terminated: the text ends at its first zero or at the end of the memory
// block, whichever comes first.
std::optional<std::string> Win32Clipboard::GetClipboardData(unsigned format) const {
  if (format != CF_TEXT && format != CF_UNICODETEXT) return std::nullopt;
  if (!::OpenClipboard(nullptr)) return std::nullopt;
  const ScopeExit close([] { ::CloseClipboard(); });

  const HANDLE data = ::GetClipboardData(format);
  if (!data) return std::nullopt;
  const void* locked = ::GlobalLock(data);
  if (!locked) return std::nullopt;
  const ScopeExit unlock([data] { ::GlobalUnlock(data); });
  const SIZE_T size = ::GlobalSize(data);

  if (format == CF_TEXT) {
    const auto* bytes = static_cast<const char*>(locked);
    return std::string(bytes, std::find(bytes, bytes + size, '\0'));
  }
  const auto* units = static_cast<const wchar_t*>(locked);
  const SIZE_T count = size / sizeof(wchar_t);
  return Narrow(std::wstring_view(units, std::find(units, units + count, L'\0') - units));
}

}  // namespace varnel::win32
