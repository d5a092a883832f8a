#include "settings/IniFile.h"

#include <optional>
#include <utility>
#include <vector>

namespace varnel {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

bool IsUtf16(IniEncoding encoding) {
  return encoding == IniEncoding::Utf16Le || encoding == IniEncoding::Utf16Be;
}

std::string_view MarkOf(IniEncoding encoding) {
  switch (encoding) {
    case IniEncoding::Utf8:
      return kUtf8Mark;
    case IniEncoding::Utf16Le:
      return kUtf16LeMark;
    case IniEncoding::Utf16Be:
      return kUtf16BeMark;
    case IniEncoding::Ansi:
      break;
  }
  return {};
}

bool IsAscii(std::string_view s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character that starts at s[i], and i moved past it. A sequence that is not well-formed
// UTF-8 (overlong, a surrogate, beyond U+10FFFF, cut short) gives U+FFFD for its longest
// well-formed start, or for one byte, as MultiByteToWideChar replaces it.
char32_t NextUtf8(std::string_view s, std::size_t& i) {
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(s[at]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int length = 0;
  char32_t c = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    ++i;
    return kReplacement;
  }
  std::size_t at = i + 1;
  for (int n = 1; n < length; ++n, ++at) {
    const bool inRange = at < s.size() && byte(at) >= (n == 1 ? low : 0x80) &&
                         byte(at) <= (n == 1 ? high : 0xBF);
    if (!inRange) {
      i = at;
      return kReplacement;
    }
    c = (c << 6) | (byte(at) & 0x3F);
  }
  i = at;
  return c;
}

// Text as it may be stored in a UTF-8 file: well-formed, whatever it was given as.
std::string WellFormedUtf8(std::string_view s) {
  if (IsAscii(s)) return std::string(s);
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) AppendUtf8(out, NextUtf8(s, i));
  return out;
}

char16_t UnitAt(std::string_view bytes, std::size_t at, bool bigEndian) {
  const auto first = static_cast<unsigned char>(bytes[at]);
  const auto second = static_cast<unsigned char>(bytes[at + 1]);
  return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const char16_t unit = UnitAt(bytes, at, bigEndian);
    if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 < bytes.size()) {
      const char16_t next = UnitAt(bytes, at + 2, bigEndian);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (next - 0xDC00));
        at += 2;
        continue;
      }
    }
    // A lone half of a surrogate pair is no character.
    AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : char32_t{unit});
  }
  return out;
}

std::string Utf8ToUtf16(std::string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  const auto put = [&](char32_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = NextUtf8(text, i);
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

std::string Decode(std::string_view bytes, IniEncoding encoding,
                   const platform::Codepage& codepage) {
  switch (encoding) {
    case IniEncoding::Utf8:
      return WellFormedUtf8(bytes);
    case IniEncoding::Utf16Le:
    case IniEncoding::Utf16Be:
      return Utf16ToUtf8(bytes, encoding == IniEncoding::Utf16Be);
    case IniEncoding::Ansi:
      break;
  }
  // Every ANSI code page Windows uses keeps ASCII as it is; most lines need no conversion.
  return IsAscii(bytes) ? std::string(bytes) : codepage.AnsiToUtf8(bytes);
}

// Nothing when the text has no form in the encoding (only ANSI can lack one).
std::optional<std::string> Encode(std::string_view text, IniEncoding encoding,
                                  const platform::Codepage& codepage) {
  switch (encoding) {
    case IniEncoding::Utf8:
      return WellFormedUtf8(text);
    case IniEncoding::Utf16Le:
    case IniEncoding::Utf16Be:
      return Utf8ToUtf16(text, encoding == IniEncoding::Utf16Be);
    case IniEncoding::Ansi:
      break;
  }
  if (IsAscii(text)) return std::string(text);
  // A conversion that reads back as other text (a "best fit", such as ¥ written as the
  // backslash) is no form of the text: only the characters themselves will do.
  std::optional<std::string> ansi = codepage.Utf8ToAnsi(text);
  if (ansi && codepage.AnsiToUtf8(*ansi) != text) return std::nullopt;
  return ansi;
}

// The bytes of the file in `encoding`; the lines keep their stored bytes when that is the
// encoding they were read in. Nothing when some text has no form in it.
std::optional<std::string> Write(const IniDocument& document, IniEncoding read,
                                 IniEncoding encoding, const platform::Codepage& codepage) {
  const bool keepStored = read == encoding;
  std::string out(MarkOf(encoding));
  for (const IniDocument::Line& line : document.Lines()) {
    for (const auto& [text, stored] : {std::pair(&line.text, &line.storedText),
                                       std::pair(&line.eol, &line.storedEol)}) {
      if (keepStored && stored->has_value()) {
        out += **stored;
      } else if (std::optional<std::string> bytes = Encode(*text, encoding, codepage)) {
        out += *bytes;
      } else {
        return std::nullopt;
      }
    }
  }
  return out;
}

}  // namespace

IniFile IniFile::Parse(std::string_view bytes, const platform::Codepage& codepage) {
  IniFile file;
  if (bytes.starts_with(kUtf8Mark)) {
    file.encoding = IniEncoding::Utf8;
  } else if (bytes.starts_with(kUtf16LeMark)) {
    file.encoding = IniEncoding::Utf16Le;
  } else if (bytes.starts_with(kUtf16BeMark)) {
    file.encoding = IniEncoding::Utf16Be;
  }
  bytes.remove_prefix(MarkOf(file.encoding).size());

  const std::size_t unit = IsUtf16(file.encoding) ? 2 : 1;
  if (bytes.size() % unit != 0) bytes.remove_suffix(1);  // half a UTF-16 character
  const bool bigEndian = file.encoding == IniEncoding::Utf16Be;
  const auto at = [&](std::size_t pos) -> char32_t {
    return unit == 1 ? static_cast<unsigned char>(bytes[pos]) : UnitAt(bytes, pos, bigEndian);
  };

  std::vector<IniDocument::Line> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = pos;
    while (end < bytes.size() && at(end) != '\r' && at(end) != '\n') end += unit;
    std::size_t next = end;
    std::string_view eol;
    if (end < bytes.size()) {
      const bool cr = at(end) == '\r';
      const bool crlf = cr && end + unit < bytes.size() && at(end + unit) == '\n';
      eol = crlf ? "\r\n" : cr ? "\r" : "\n";
      next += crlf ? 2 * unit : unit;
    }
    const std::string_view text = bytes.substr(pos, end - pos);
    lines.push_back(IniDocument::Line{Decode(text, file.encoding, codepage), std::string(eol),
                                      std::string(text),
                                      std::string(bytes.substr(end, next - end))});
    pos = next;
  }
  file.document = IniDocument::FromLines(std::move(lines));
  return file;
}

std::string IniFile::Serialize(const platform::Codepage& codepage) const {
  if (encoding != IniEncoding::Ansi) return *Write(document, encoding, encoding, codepage);
  // Text that would itself begin with a byte-order mark would be read back as another
  // encoding; only UTF-8 with its mark can carry it.
  if (std::optional<std::string> ansi = Write(document, encoding, IniEncoding::Ansi, codepage)) {
    if (!ansi->starts_with(kUtf8Mark) && !ansi->starts_with(kUtf16LeMark) &&
        !ansi->starts_with(kUtf16BeMark)) {
      return std::move(*ansi);
    }
  }
  return *Write(document, encoding, IniEncoding::Utf8, codepage);
}

}  // namespace varnel
