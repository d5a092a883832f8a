#include "settings/IniDocument.h"

#include <algorithm>

#include "base/Ascii.h"

namespace varnel {

namespace {

// The profile functions count tab, line feed, vertical tab, form feed, carriage return, the
// DOS end-of-file mark ^Z and the space as blanks.
bool IsBlank(char c) {
  return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' ';
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

// The system functions work on C strings: whatever follows a NUL is invisible to them.
std::string_view UpToNul(std::string_view s) {
  const std::size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
}

// Shortens `s` to at most `limit` bytes without splitting a UTF-8 sequence.
std::string_view CutUtf8(std::string_view s, std::size_t limit) {
  if (s.size() <= limit) return s;
  std::size_t cut = limit;
  // Back up over continuation bytes; a well-formed sequence has at most three of them.
  for (int i = 0; i < 3 && cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80; ++i)
    --cut;
  if ((static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) cut = limit;  // not UTF-8 after all
  return s.substr(0, cut);
}

// A value as the profile functions hand it out: a value enclosed in a matching pair of single
// or double quotes loses them.
std::string ValueAsRead(std::string_view raw) {
  std::string_view value = UpToNul(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(CutUtf8(value, IniDocument::kMaxValueBytes));
}

// A value as it will be stored. The profile functions drop leading blanks; a line break
// would end the value early and turn the rest into lines of its own (a section header, other
// keys), so the value stops there, which is all that a reader could ever see of it.
std::string_view ValueAsWritten(std::string_view value) {
  value = UpToNul(TrimLeft(value));
  const std::size_t lineBreak = value.find_first_of("\r\n");
  return lineBreak == std::string_view::npos ? value : value.substr(0, lineBreak);
}

}  // namespace

IniDocument IniDocument::FromLines(std::vector<Line> lines) {
  IniDocument document;
  document.lines_ = std::move(lines);
  document.Reindex();
  return document;
}

IniDocument IniDocument::Parse(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", pos);
    Line line;
    if (end == std::string_view::npos) {
      line.text = std::string(text.substr(pos));
      pos = text.size();
    } else {
      line.text = std::string(text.substr(pos, end - pos));
      const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      line.eol = std::string(text.substr(end, crlf ? 2 : 1));
      pos = end + line.eol.size();
    }
    lines.push_back(std::move(line));
  }
  return FromLines(std::move(lines));
}

// Builds the section and key index from the lines, with the profile functions' rules: a line
// starting with '[' that has a ']' later is a section header (its name is what lies between
// the '[' and the last ']', trimmed); any other non-blank line is a key, named by what comes
// before its first '=' (or by the whole line when there is none, in which case it has no
// value). Comment lines are keys like any other, which no caller asks for.
void IniDocument::Reindex() {
  sections_.clear();
  sections_.push_back(Section{});
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view content = Trim(lines_[i].text);
    if (content.empty()) continue;
    if (content.front() == '[') {
      const std::size_t close = content.rfind(']');
      if (close != std::string_view::npos && close > 0) {
        Section section;
        section.name = std::string(UpToNul(Trim(content.substr(1, close - 1))));
        section.hasHeader = true;
        section.lastLine = i;
        sections_.push_back(std::move(section));
        continue;
      }
    }
    Section& section = sections_.back();
    Entry entry;
    entry.line = i;
    const std::size_t equals = content.find('=');
    std::string_view rawName = content;
    if (equals != std::string_view::npos) {
      rawName = TrimRight(content.substr(0, equals));
      entry.hasValue = true;
      entry.rawValue = std::string(TrimLeft(content.substr(equals + 1)));
    }
    // The system keeps only the first of consecutive nameless keys.
    if (rawName.empty() && !section.entries.empty() && section.entries.back().name.empty()) {
      section.lastLine = i;
      continue;
    }
    entry.name = std::string(UpToNul(rawName));
    section.entries.push_back(std::move(entry));
    section.lastLine = i;
  }
}

// The first section of that name; a later section of the same name is never looked at.
const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  name = UpToNul(Trim(name));
  for (const Section& section : sections_) {
    if (EqualNoCase(section.name, name)) return &section;
  }
  return nullptr;
}

std::optional<std::string> IniDocument::Get(std::string_view section,
                                            std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return std::nullopt;
  key = UpToNul(Trim(key));
  for (const Entry& entry : found->entries) {
    if (EqualNoCase(entry.name, key)) {
      // The first key of that name answers, even when it is a line without '='.
      if (!entry.hasValue) return std::nullopt;
      return ValueAsRead(entry.rawValue);
    }
  }
  return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view sectionName = UpToNul(Trim(section));
  const std::string_view keyName = UpToNul(Trim(key));
  const std::string_view stored = ValueAsWritten(value);

  auto keyLine = [&](std::string_view name) {
    std::string text(name);
    text += '=';
    text += stored;
    return text;
  };
  // A line we put after the current last line: that one needs a line break first.
  auto insertAfter = [&](std::size_t index, std::string text) {
    if (index < lines_.size() && lines_[index].eol.empty()) {
      lines_[index].eol = "\r\n";
      lines_[index].storedEol.reset();
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index + 1),
                  Line{std::move(text), "\r\n", std::nullopt, std::nullopt});
  };

  const Section* found = FindSection(sectionName);
  if (found != nullptr) {
    for (const Entry& entry : found->entries) {
      if (!EqualNoCase(entry.name, keyName)) continue;
      // What a reader would get from the new line is what it gets now: the line stays.
      if (entry.hasValue && ValueAsRead(entry.rawValue) == ValueAsRead(TrimRight(stored))) return;
      Line& line = lines_[entry.line];
      line.text = keyLine(entry.name);
      line.storedText.reset();
      Reindex();
      return;
    }
    if (!found->hasHeader && found->entries.empty()) {
      // Keys before the first header: the new key opens the text.
      lines_.insert(lines_.begin(), Line{keyLine(keyName), "\r\n", std::nullopt, std::nullopt});
    } else {
      insertAfter(found->lastLine, keyLine(keyName));
    }
    Reindex();
    return;
  }

  const std::size_t last = lines_.empty() ? 0 : lines_.size() - 1;
  std::string header = "[";
  header += sectionName;
  header += ']';
  if (lines_.empty()) {
    lines_.push_back(Line{std::move(header), "\r\n", std::nullopt, std::nullopt});
  } else {
    insertAfter(last, std::move(header));
  }
  lines_.push_back(Line{keyLine(keyName), "\r\n", std::nullopt, std::nullopt});
  Reindex();
}

std::string IniDocument::Serialize() const {
  std::size_t size = 0;
  for (const Line& line : lines_) size += line.text.size() + line.eol.size();
  std::string text;
  text.reserve(size);
  for (const Line& line : lines_) {
    text += line.text;
    text += line.eol;
  }
  return text;
}

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    i += 1;
  } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;

  // Hexadecimal covers the 32 bits as they stand ($FFFFFFFF is -1); decimal covers the
  // signed range.
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    magnitude = magnitude * (hex ? 16 : 10) + digit;
    if (magnitude > limit) return std::nullopt;
  }
  const std::uint32_t bits = static_cast<std::uint32_t>(negative ? (0 - magnitude) : magnitude);
  return static_cast<std::int32_t>(bits);
}

}  // namespace varnel
