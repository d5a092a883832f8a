#include "platform/win32/Win32Codepage.h"

#include <climits>

#include "platform/win32/Text.h"

namespace varnel::win32 {

std::string Win32Codepage::AnsiToUtf8(std::string_view ansi) const {
  return Narrow(ToWide(CP_ACP, ansi));
}

std::optional<std::string> Win32Codepage::Utf8ToAnsi(std::string_view utf8) const {
  if (utf8.empty()) return std::string();
  if (utf8.size() > INT_MAX) return std::nullopt;
  // Broken UTF-8 has no faithful ANSI form either.
  const int length = static_cast<int>(utf8.size());
  const int wideLength =
      ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                        wideLength);
  // With the "UTF-8 for worldwide language support" option the ANSI code page is UTF-8 itself,
  // and WideCharToMultiByte refuses the default-character flag for it.
  if (::GetACP() == CP_UTF8) return std::string(utf8);
  BOOL usedDefault = FALSE;
  const int needed = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                           nullptr, 0, nullptr, &usedDefault);
  if (needed <= 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, ansi.data(), needed,
                        nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return ansi;
}

// Both steps read the text as the system does, up to its first zero; a code page the system
// does not know gives nothing.
std::string Win32Codepage::ConvertCodePage(unsigned from, unsigned to,
                                           std::string_view text) const {
  return FromWide(to, ToWide(from, text.substr(0, text.find('\0'))));
}

}  // namespace varnel::win32
