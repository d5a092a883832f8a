#pragma once
// The seam between the program's UTF-8 strings and handles and the system's wide strings and
// HWNDs.

#include "platform/win32/WindowsApi.h"

#include <string>
#include <string_view>

#include "platform/Types.h"

namespace varnel::win32 {

// Invalid UTF-8 turns into U+FFFD rather than failing: a caption must never vanish.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

inline HWND ToHwnd(platform::Hwnd window) { return reinterpret_cast<HWND>(window); }
inline platform::Hwnd FromHwnd(HWND window) {
  return static_cast<platform::Hwnd>(reinterpret_cast<std::uintptr_t>(window));
}

// Shows what went wrong at a callback boundary (window procedure, timer, posted task), where
// an exception must stop.
void ReportCallbackFailure(const char* what) noexcept;

}  // namespace varnel::win32
