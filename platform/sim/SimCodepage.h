#pragma once
// The system's ANSI code page on the simulated desktop, converted with iconv. Code page 932
// unless a test picks another one ("CP1252", "CP936"...).

#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace varnel::sim {

class SimCodepage : public platform::Codepage {
 public:
  explicit SimCodepage(std::string codepage = "CP932");

  // Bytes that are no character of the code page come out as U+FFFD, as MultiByteToWideChar
  // puts a default character in their place.
  std::string AnsiToUtf8(std::string_view ansi) const override;
  std::optional<std::string> Utf8ToAnsi(std::string_view utf8) const override;
  // Bytes of no character become U+FFFD on the way through UTF-16, and a character with no
  // form in `to` its "?", as the system converts.
  std::string ConvertCodePage(unsigned from, unsigned to, std::string_view text) const override;

  const std::string& Name() const { return codepage_; }

 private:
  std::string codepage_;
};

}  // namespace varnel::sim
