#include "settings/IniFile.h"

#include <optional>

namespace varnel {

namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
}  // namespace

std::string IniBytesToText(std::string_view bytes, const platform::Codepage& codepage) {
  if (bytes.starts_with(kUtf8Bom)) return std::string(bytes.substr(kUtf8Bom.size()));
  return codepage.AnsiToUtf8(bytes);
}

std::string IniTextToBytes(std::string_view text, const platform::Codepage& codepage) {
  if (std::optional<std::string> ansi = codepage.Utf8ToAnsi(text)) {
    // Text that would itself begin with the mark could not be told from UTF-8 when read
    // back; only UTF-8 can carry it.
    if (!ansi->starts_with(kUtf8Bom)) return std::move(*ansi);
  }
  std::string bytes(kUtf8Bom);
  bytes += text;
  return bytes;
}

}  // namespace varnel
