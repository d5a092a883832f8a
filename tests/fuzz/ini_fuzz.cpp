// Arbitrary bytes as a settings file, in any of its encodings: parsing never fails, an
// untouched file comes back byte for byte, values we set read back after a trip through the
// file's bytes, and keys we did not set keep their values.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/SimCodepage.h"
#include "settings/IniDocument.h"
#include "settings/IniFile.h"

namespace {

using varnel::IniDocument;
using Name = std::pair<std::string, std::string>;

void Fail(int line) {
  std::fprintf(stderr, "ini_fuzz: invariant at line %d broken\n", line);
  std::abort();
}
#define CHECK(condition) ((condition) ? (void)0 : Fail(__LINE__))

// A name as the profile functions compare it: a C string, trimmed, without case.
std::string Canonical(std::string s) {
  s = s.substr(0, s.find('\0'));
  const char* blanks = "\t\n\v\f\r\x1a ";
  const std::size_t first = s.find_first_not_of(blanks);
  s = first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(blanks) - first + 1);
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

// Section and key names worth asking for: the program's own, and whatever the text itself
// seems to name. A crude scan is enough; the document decides what they mean.
std::vector<Name> NamesToRead(const std::string& text) {
  std::vector<Name> names = {{"Pos", "Speed"},      {"pos", "TOP"},    {"Exp", "Path"},
                             {"Exp", "VT_ADJ"},     {"Watch", "Ext0"}, {"Watch", "Ext31"},
                             {"Launch", "Path"},    {"ini", "inh"},    {"", "x"},
                             {"Popup", "LR"}};
  std::string section;
  std::size_t pos = 0;
  while (pos < text.size() && names.size() < 200) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    const std::size_t open = line.find('[');
    const std::size_t close = line.rfind(']');
    if (open != std::string::npos && close != std::string::npos && open < close) {
      section = line.substr(open + 1, close - open - 1);
    }
    const std::size_t equals = line.find('=');
    names.emplace_back(section, line.substr(0, equals));
  }
  return names;
}

// The program hands the file only well-formed UTF-8: random bytes are taken as Latin-1, which
// gives characters both inside and outside the ANSI code page.
std::string AsUtf8(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

const std::vector<Name> kWritable = {
    {"Pos", "Top"},  {"Pos", "Speed"},  {"Exp", "Width"},    {"Exp", "Path"},
    {"Watch", "Ext0"}, {"Watch", "Ext7"}, {"Launch", "Idle"}, {"New", "Key"},
    {"", "loose"},   {"ini", "inh"}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const varnel::sim::SimCodepage codepage;
  FuzzedDataProvider provider(data, size);

  // A few writes, then the file.
  struct Write {
    Name name;
    std::string value;
    bool plain;  // a value the file keeps exactly as given
  };
  std::vector<Write> writes;
  const int writeCount = provider.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < writeCount; ++i) {
    Write write;
    write.name = kWritable[provider.ConsumeIntegralInRange<std::size_t>(0, kWritable.size() - 1)];
    write.plain = provider.ConsumeBool();
    if (write.plain) {
      const std::size_t length = provider.ConsumeIntegralInRange<std::size_t>(0, 40);
      for (std::size_t j = 0; j < length; ++j) {
        static const char kAlphabet[] = "abcXYZ019_\\:.-$";
        write.value += kAlphabet[provider.ConsumeIntegralInRange<std::size_t>(
            0, sizeof kAlphabet - 2)];
      }
    } else {
      write.value = AsUtf8(provider.ConsumeRandomLengthString(64));
    }
    writes.push_back(std::move(write));
  }
  // Now and then the bytes get a byte-order mark, so that every encoding is reached.
  static const char* const kMarks[] = {"", "", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  const std::string bytes = kMarks[provider.ConsumeIntegralInRange<std::size_t>(0, 4)] +
                            provider.ConsumeRemainingBytesAsString();

  varnel::IniFile file = varnel::IniFile::Parse(bytes, codepage);
  // Untouched, the file is written back as it was (but for half a UTF-16 character at its end,
  // which no reader sees).
  const bool utf16 = file.encoding == varnel::IniEncoding::Utf16Le ||
                     file.encoding == varnel::IniEncoding::Utf16Be;
  CHECK(file.Serialize(codepage) ==
        (utf16 && bytes.size() % 2 != 0 ? bytes.substr(0, bytes.size() - 1) : bytes));
  IniDocument& document = file.document;
  const std::string text = document.Serialize();

  const std::vector<Name> names = NamesToRead(text);
  std::map<Name, std::optional<std::string>> before;
  for (const Name& name : names) {
    const std::optional<std::string> value = document.Get(name.first, name.second);
    if (value) CHECK(value->size() <= IniDocument::kMaxValueBytes);
    before[name] = value;
  }

  std::map<Name, std::optional<std::string>> expected;  // by canonical name
  for (const Write& write : writes) {
    document.Set(write.name.first, write.name.second, write.value);
    // Whatever Set stores must read the way the same value reads from a file.
    const std::optional<std::string> asRead = document.Get(write.name.first, write.name.second);
    // (The system sees a C string, and drops its leading blanks, line breaks included.)
    const std::string cString = write.value.substr(0, write.value.find('\0'));
    const std::size_t start = cString.find_first_not_of("\t\n\v\f\r\x1a ");
    const std::string stored = start == std::string::npos ? "" : cString.substr(start);
    CHECK(asRead == IniDocument::Parse("[s]\r\nk=" + stored).Get("s", "k").value_or(""));
    if (write.plain) CHECK(asRead == write.value);
    expected[{Canonical(write.name.first), Canonical(write.name.second)}] = asRead;
  }

  const std::string written = file.Serialize(codepage);
  const IniDocument again = varnel::IniFile::Parse(written, codepage).document;
  CHECK(again.Serialize() == document.Serialize());

  for (const auto& [name, value] : expected) CHECK(again.Get(name.first, name.second) == value);
  for (const auto& [name, value] : before) {
    if (expected.count({Canonical(name.first), Canonical(name.second)}) != 0) continue;
    CHECK(again.Get(name.first, name.second) == value);
  }
  return 0;
}
