#pragma once
// The system's ANSI code page on the real platform, through MultiByteToWideChar and
// WideCharToMultiByte. Its counterpart on the simulated desktop is SimCodepage.

#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace varnel::win32 {

class Win32Codepage final : public platform::Codepage {
 public:
  std::string AnsiToUtf8(std::string_view ansi) const override;
  std::optional<std::string> Utf8ToAnsi(std::string_view utf8) const override;
  std::string ConvertCodePage(unsigned from, unsigned to, std::string_view text) const override;
};

}  // namespace varnel::win32
