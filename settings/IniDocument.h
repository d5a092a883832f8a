#pragma once
// An INI file as lines of text, read and edited the way Windows' profile functions
// (GetPrivateProfileString / WritePrivateProfileString) read and edit it, but without touching
// anything we were not asked to change: each line remembers the bytes it was read from, and a
// line we leave alone is written back as those bytes (IniFile turns bytes into lines and back).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

class IniDocument {
 public:
  // GetPrivateProfileString is called with a 2048-byte buffer: one byte is the terminator.
  static constexpr std::size_t kMaxValueBytes = 2047;

  // One line: its UTF-8 text and its line break, and the bytes each was stored as in the file.
  // The stored bytes stay while the line is as it was read; a line we changed or added has
  // none, and is encoded afresh when the file is written.
  struct Line {
    std::string text;  // without its line break
    std::string eol;   // "\r\n", "\n", "\r" or empty for a last line without one
    std::optional<std::string> storedText;
    std::optional<std::string> storedEol;
  };

  // Lines already split and decoded; the one place where they come from a file is IniFile.
  static IniDocument FromLines(std::vector<Line> lines);
  // UTF-8 text, split at its line breaks; the lines carry no stored bytes.
  static IniDocument Parse(std::string_view text);

  // The value as GetPrivateProfileString returns it (surrounding quotes removed, at most
  // kMaxValueBytes, cut at a UTF-8 character boundary), or nothing when the key is absent.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Replaces the key's value where it stands, or appends the key at the end of its section,
  // or appends the section at the end of the text. Nothing is ever removed. A key whose line
  // already reads as the value is left as it is, spacing, quotes and bytes included.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  const std::vector<Line>& Lines() const { return lines_; }
  // The text of every line with its break, as UTF-8.
  std::string Serialize() const;

 private:
  struct Entry {
    std::size_t line = 0;
    std::string name;
    bool hasValue = false;
    std::string rawValue;  // as stored, before quote removal
  };
  struct Section {
    std::string name;
    std::size_t lastLine = 0;  // header or last entry line; where a new key goes after
    bool hasHeader = false;
    std::vector<Entry> entries;
  };

  void Reindex();
  const Section* FindSection(std::string_view name) const;

  std::vector<Line> lines_;
  std::vector<Section> sections_{1};  // [0] is the unnamed part before the first header
};

// The integer forms the settings accept: decimal with an optional sign, or hexadecimal after
// 0x, 0X, x, X or $; leading blanks are skipped. Nothing for anything else, including a value
// that does not fit in 32 bits.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

}  // namespace varnel
