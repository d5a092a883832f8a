#pragma once
// The seam between the program's UTF-8 strings and handles and the system's wide strings and
// HWNDs.

#include "platform/win32/WindowsApi.h"

#include <string>
#include <string_view>

#include "platform/Types.h"

namespace varnel::win32 {

// Text of code page `codepage` as UTF-16 and back (MultiByteToWideChar, WideCharToMultiByte,
// each asking for the length it needs first). A sequence of no character turns into U+FFFD,
// and a character with no form into the code page's default; empty for empty text or a code
// page the system does not know.
std::wstring ToWide(UINT codepage, std::string_view text);
std::string FromWide(UINT codepage, std::wstring_view wide);

// Invalid UTF-8 turns into U+FFFD rather than failing: a caption must never vanish.
inline std::wstring Widen(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
inline std::string Narrow(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }

inline HWND ToHwnd(platform::Hwnd window) { return reinterpret_cast<HWND>(window); }
inline platform::Hwnd FromHwnd(HWND window) {
  return static_cast<platform::Hwnd>(reinterpret_cast<std::uintptr_t>(window));
}

// Shows what went wrong at a callback boundary (window procedure, timer, posted task), where
// an exception must stop.
void ReportCallbackFailure(const char* what) noexcept;

}  // namespace varnel::win32
