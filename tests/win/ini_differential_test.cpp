// Our INI reader and writer against the system's own profile functions, on the same files.
// Reading: for every key of generated and hand-made files (in the ANSI code page, UTF-8 with
// its mark, UTF-16 little-endian with its mark), IniDocument::Get must return what
// GetPrivateProfileStringW returns. Writing: the same writes through IniDocument::Set and
// through WritePrivateProfileStringW, on two copies of a file, must read back through the
// system functions with the same values, and our copy must keep its encoding.
//
// Known, deliberate differences, kept out of the generated cases:
// - a value with a line break: the system writes it raw, which plants new lines in the file;
//   we keep only its first line;
// - a quoted value whose text is exactly 2047 characters: the system drops one character too
//   many when it cuts such a value to the buffer;
// - a value that has no form in the ANSI code page, in an ANSI file: the system writes '?',
//   we switch the file to UTF-8 with a byte-order mark;
// - non-ASCII letters in names: we compare names without regard to ASCII case only;
// - in an ANSI file, the first byte of a double-byte character right before a line break:
//   Wine's conversion takes the break for the character's second byte and joins the two
//   lines; we split the lines before decoding them, so that a damaged line keeps its
//   neighbours.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "settings/IniDocument.h"
#include "settings/IniFile.h"

namespace varnel {
namespace {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                       nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string Narrow(std::wstring_view wide, UINT codepage = CP_UTF8) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(codepage, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codepage, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(),
                      size, nullptr, nullptr);
  return narrow;
}

// The system's ANSI code page, as the Windows build's own Codepage will convert.
class SystemCodepage : public platform::Codepage {
 public:
  std::string AnsiToUtf8(std::string_view ansi) const override {
    if (ansi.empty()) return {};
    const int size =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                        size);
    return Narrow(wide);
  }
  std::optional<std::string> Utf8ToAnsi(std::string_view utf8) const override {
    const std::wstring wide = Wide(utf8);
    if (wide.empty()) return std::string();
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                         static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                         &usedDefault);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                        ansi.data(), size, nullptr, &usedDefault);
    return ansi;
  }
  // The settings file never converts between other code pages; given for completeness.
  std::string ConvertCodePage(unsigned from, unsigned to, std::string_view text) const override {
    text = text.substr(0, text.find('\0'));
    if (text.empty()) return {};
    const int size =
        MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return Narrow(wide, to);
  }
};

const SystemCodepage& Codepage() {
  static const SystemCodepage codepage;
  return codepage;
}

using Name = std::pair<std::string, std::string>;

class IniDifferential : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"varnel-ini-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::wstring& file : created_) DeleteFileW(file.c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  // A new file name each time: the system caches the files it has read.
  std::wstring NewFile(const std::string& bytes) {
    const std::wstring path =
        folder_ + L"\\case" + std::to_wstring(created_.size()) + L".ini";
    created_.push_back(path);
    FILE* file = _wfopen(path.c_str(), L"wb");
    EXPECT_NE(file, nullptr);
    if (file != nullptr) {
      fwrite(bytes.data(), 1, bytes.size(), file);
      fclose(file);
    }
    return path;
  }

  static std::string Bytes(const std::wstring& path) {
    std::string bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) return bytes;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    fclose(file);
    return bytes;
  }

  static std::optional<std::string> SystemGet(const std::wstring& path, const Name& name) {
    static const wchar_t kAbsent[] = L"\x7f<absent>\x7f";
    wchar_t buffer[2048];
    GetPrivateProfileStringW(Wide(name.first).c_str(), Wide(name.second).c_str(), kAbsent,
                             buffer, 2048, path.c_str());
    if (std::wstring_view(buffer) == kAbsent) return std::nullopt;
    return Narrow(buffer);
  }

  // Every name must read the same from the file's bytes through IniDocument as through the
  // system.
  void ExpectSameReads(const std::string& bytes, const std::vector<Name>& names,
                       const std::string& label) {
    const std::wstring path = NewFile(bytes);
    const IniDocument document = IniFile::Parse(bytes, Codepage()).document;
    for (const Name& name : names) {
      EXPECT_EQ(document.Get(name.first, name.second), SystemGet(path, name))
          << label << ": [" << name.first << "] " << name.second << "\n--- file ---\n"
          << bytes.substr(0, 600);
    }
  }

  std::wstring folder_;
  std::vector<std::wstring> created_;
};

std::string Ansi(const std::string& utf8) {
  return Codepage().Utf8ToAnsi(utf8).value_or("\xEF\xBB\xBF" + utf8);
}

// Notepad's "Unicode": UTF-16 little-endian after its mark.
std::string Utf16Le(const std::string& utf8) {
  const std::wstring wide = Wide(utf8);
  std::string bytes = "\xFF\xFE";
  for (const wchar_t unit : wide) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>((unit >> 8) & 0xFF);
  }
  return bytes;
}

bool IsUtf16Le(const std::string& bytes) { return bytes.starts_with("\xFF\xFE"); }

TEST_F(IniDifferential, HandMadeFiles) {
  struct Case {
    const char* label;
    std::string text;  // UTF-8; stored in the ANSI code page unless it has a byte-order mark
    std::vector<Name> names;
  };
  const std::string longValue(2100, 'v');
  const std::vector<Case> cases = {
      {"blanks", "  [ Pos ]  \r\n  Speed   =   12   \r\n\tSense\t=\t4\t\r\nOffset=\r\n",
       {{"Pos", "Speed"}, {"pos", " SENSE "}, {" POS ", "Offset"}, {"Pos", "Missing"}}},
      {"quotes",
       "[s]\na=\"C:\\Program Files\\\"\nb='x'\nc=\"open\nd=\"\ne=\"\"\nf=\"mixed'\n"
       "g=  \"padded\"  \nh=in\"side\"\ni='\n",
       {{"s", "a"}, {"s", "b"}, {"s", "c"}, {"s", "d"}, {"s", "e"}, {"s", "f"}, {"s", "g"},
        {"s", "h"}, {"s", "i"}}},
      {"duplicates", "[A]\nx=1\nx=2\n[B]\ny=3\n[a]\nx=4\nz=5\n",
       {{"A", "x"}, {"A", "z"}, {"a", "X"}, {"B", "y"}}},
      {"no equals and comments",
       "top=0\n[s]\nnovalue\nnovalue=1\n;comment=2\n[broken\n[t] trailing\nk=v=w\n[u]x]\nm=1\n",
       {{"", "top"}, {"s", "novalue"}, {"s", ";comment"}, {"s", "[broken"}, {"t", "k"},
        {"u]x", "m"}, {"u", "m"}}},
      {"line breaks", "[s]\ra=1\r\n\r\n\nb=2\n\rc=3\x1a",
       {{"s", "a"}, {"s", "b"}, {"s", "c"}}},
      {"long values",
       "[s]\nlong=" + longValue + "\nq2045=\"" + std::string(2045, 'q') + "\"\nq2046=\"" +
           std::string(2046, 'q') + "\"\nq2049=\"" + std::string(2049, 'q') + "\"\n",
       {{"s", "long"}, {"s", "q2045"}, {"s", "q2046"}, {"s", "q2049"}}},
      {"empty sections", "[]\nk=1\n[ ]\nj=2\n[e]\n",
       {{"", "k"}, {"", "j"}, {"e", "k"}}},
      {"japanese", "[Exp]\r\nPath=C:\\日本語\\表\\\r\n[日本]\r\n鍵=値\r\n",
       {{"Exp", "Path"}, {"日本", "鍵"}}},
      {"utf-8 with mark", "\xEF\xBB\xBF[Exp]\r\nPath=C:\\한국어\\\r\n",
       {{"Exp", "Path"}}},
      {"beyond the BMP", "\xEF\xBB\xBF[Exp]\r\nPath=C:\\📁\\日本\\\r\n[📁]\r\n鍵=値📁\r\n",
       {{"Exp", "Path"}, {"📁", "鍵"}}},
  };
  for (const Case& c : cases) {
    const bool marked = c.text.starts_with("\xEF\xBB\xBF");
    ExpectSameReads(marked ? c.text : Ansi(c.text), c.names, c.label);
    // The same text saved by Notepad as "Unicode".
    ExpectSameReads(Utf16Le(marked ? c.text.substr(3) : c.text), c.names,
                    std::string(c.label) + " (UTF-16 LE)");
  }
}

// Files built from the pieces the profile functions treat specially.
class Generator {
 public:
  explicit Generator(unsigned seed) : random_(seed) {}

  static const std::vector<std::string>& Sections() {
    static const std::vector<std::string> sections = {"Pos", "Exp", "Watch", "a b", "日本"};
    return sections;
  }
  static const std::vector<std::string>& Keys() {
    static const std::vector<std::string> keys = {"Top", "Path", "x", "Ext0", "k k", ";c"};
    return keys;
  }

  std::string File() {
    std::string text;
    const int lines = Pick(0, 25);
    for (int i = 0; i < lines; ++i) {
      switch (Pick(0, 9)) {
        case 0:
        case 1:
          text += Blanks() + "[" + Blanks() + Cased(Choose(Sections())) + Blanks() + "]" +
                  (Pick(0, 4) == 0 ? " junk" : "") + Blanks();
          break;
        case 2:
          text += Blanks() + Cased(Choose(Keys())) + Blanks();  // no '='
          break;
        case 3:
          text += Blanks();  // blank line
          break;
        case 4:
          text += "[" + Choose(Keys());  // a header without ']'
          break;
        default:
          text += Blanks() + Cased(Choose(Keys())) + Blanks() + "=" + Blanks() + Value() +
                  Blanks();
      }
      static const char* const kBreaks[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
      text += kBreaks[Pick(0, 3)];
    }
    return text;
  }

  // Printable values without line breaks, sometimes quoted, sometimes long.
  std::string Value(bool forWriting = false) {
    static const std::vector<std::string> kPieces = {
        "a", "Z", "0", "9", " ", "\t", "=", ";", "[", "]", "\"", "'", "\\", "C:\\", "日", "表"};
    std::string value;
    if (!forWriting && Pick(0, 20) == 0) return std::string(static_cast<std::size_t>(Pick(2040, 2060)), 'L');
    const int length = Pick(0, 12);
    for (int i = 0; i < length; ++i) value += Choose(kPieces);
    if (Pick(0, 3) == 0) {
      const char* quote = Pick(0, 1) == 0 ? "\"" : "'";
      value = quote + value + quote;
    }
    return value;
  }

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  const std::string& Choose(const std::vector<std::string>& from) {
    return from[static_cast<std::size_t>(Pick(0, static_cast<int>(from.size()) - 1))];
  }
  std::string Cased(std::string name) {
    for (char& c : name) {
      if (c >= 'a' && c <= 'z' && Pick(0, 3) == 0) c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
  }
  std::string Blanks() {
    static const char* const kBlanks[] = {"", "", "", " ", "\t", "  ", " \t "};
    return kBlanks[Pick(0, 6)];
  }

  std::vector<Name> AllNames() {
    std::vector<Name> names;
    for (const std::string& section : Sections()) {
      for (const std::string& key : Keys()) names.emplace_back(Cased(section), Cased(key));
    }
    names.emplace_back("", "x");
    names.emplace_back(" exp ", " path ");
    names.emplace_back("[broken", "x");
    names.emplace_back("Exp", "[Top");
    return names;
  }

 private:
  std::mt19937 random_;
};

TEST_F(IniDifferential, GeneratedFiles) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    Generator generator(seed);
    const std::string text = generator.File();
    const int encoding = generator.Pick(0, 5);
    const std::string bytes = encoding == 0   ? "\xEF\xBB\xBF" + text
                              : encoding == 1 ? Utf16Le(text)
                                              : Ansi(text);
    ExpectSameReads(bytes, generator.AllNames(), "seed " + std::to_string(seed));
    if (HasFailure()) return;
  }
}

TEST_F(IniDifferential, SameWritesReadTheSame) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    Generator generator(seed * 7919);
    const std::string text = generator.File();
    const bool utf16 = seed % 3 == 0;
    const std::string bytes = utf16 ? Utf16Le(text) : Ansi(text);
    const std::wstring ours = NewFile(bytes);
    const std::wstring theirs = NewFile(bytes);

    IniFile file = IniFile::Parse(bytes, Codepage());
    IniDocument& document = file.document;
    const int writes = generator.Pick(1, 8);
    for (int i = 0; i < writes; ++i) {
      // The system would write '?' for a character the ANSI code page lacks; UTF-16 has them
      // all.
      std::string section, key, value;
      do {
        section = generator.Cased(generator.Choose(Generator::Sections()));
        key = generator.Cased(generator.Choose(Generator::Keys()));
        value = generator.Value(true);
        if (utf16 && generator.Pick(0, 3) == 0) value += "한📁";
      } while (!utf16 && !Codepage().Utf8ToAnsi(section + key + value));
      document.Set(section, key, value);
      ASSERT_TRUE(WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                             Wide(value).c_str(), theirs.c_str()));
    }
    const std::string written = file.Serialize(Codepage());
    EXPECT_EQ(IsUtf16Le(written), utf16) << "seed " << seed;
    DeleteFileW(ours.c_str());
    const std::wstring oursWritten = NewFile(written);

    for (const Name& name : generator.AllNames()) {
      EXPECT_EQ(SystemGet(oursWritten, name), SystemGet(theirs, name))
          << "seed " << seed << ": [" << name.first << "] " << name.second
          << "\n--- ours ---\n" << written.substr(0, 600) << "\n--- system's ---\n"
          << Bytes(theirs).substr(0, 600);
      EXPECT_EQ(document.Get(name.first, name.second), SystemGet(oursWritten, name))
          << "seed " << seed << ": [" << name.first << "] " << name.second;
    }
    if (HasFailure()) return;
  }
}

TEST_F(IniDifferential, CreatedFileIsTheSystemsByteForByte) {
  const std::wstring theirs = folder_ + L"\\created.ini";
  created_.push_back(theirs);
  // The system writes a new file in the ANSI code page; so do we, when the text fits it.
  const std::string folder = Codepage().Utf8ToAnsi("日本") ? "C:\\日本\\" : "C:\\Data\\";
  IniDocument document;
  const std::vector<std::pair<Name, std::string>> writes = {
      {{"Pos", "Top"}, "360"},     {{"Pos", "Left"}, "780"},    {{"Exp", "Left"}, "1"},
      {{"Exp", "Path"}, folder},   {{"Watch", "Ext0"}, "doc"}, {{"Watch", "Ext1"}, ""},
      {{"ini", "inh"}, "0"},       {{"Pos", "Speed"}, "10"}};
  for (const auto& [name, value] : writes) {
    document.Set(name.first, name.second, value);
    ASSERT_TRUE(WritePrivateProfileStringW(Wide(name.first).c_str(), Wide(name.second).c_str(),
                                           Wide(value).c_str(), theirs.c_str()));
  }
  IniFile file;
  file.document = document;
  EXPECT_EQ(file.Serialize(Codepage()), Bytes(theirs));
}

TEST_F(IniDifferential, CharactersOutsideTheAnsiCodePageSurvive) {
  const std::string korean = "C:\\한국어\\";
  IniFile file = IniFile::Parse(Ansi("[Exp]\r\nPath=x\r\n"), Codepage());
  file.document.Set("Exp", "Path", korean);
  const std::wstring path = NewFile(file.Serialize(Codepage()));
  EXPECT_EQ(SystemGet(path, {"Exp", "Path"}), korean);
}

// Notepad's "Unicode" file, as the program writes it back: still UTF-16 LE with its mark, and
// the system reads what we changed and what we did not as we read them.
TEST_F(IniDifferential, AUtf16FileWrittenBackIsReadByTheSystem) {
  IniFile file = IniFile::Parse(
      Utf16Le("; 設定\r\n[Pos]\r\nSpeed=55\r\n[Exp]\r\nPath=C:\\日本語\\\r\nVT_ADJ=12\r\n"),
      Codepage());
  file.document.Set("Pos", "Speed", "56");
  file.document.Set("Exp", "PathEx", "C:\\설정\\📁\\");
  const std::string written = file.Serialize(Codepage());
  EXPECT_TRUE(IsUtf16Le(written));
  const std::wstring path = NewFile(written);
  for (const Name& name : std::vector<Name>{
           {"Pos", "Speed"}, {"Exp", "Path"}, {"Exp", "VT_ADJ"}, {"Exp", "PathEx"}}) {
    EXPECT_EQ(SystemGet(path, name), file.document.Get(name.first, name.second))
        << "[" << name.first << "] " << name.second;
  }
  EXPECT_EQ(SystemGet(path, {"Pos", "Speed"}), "56");
}

}  // namespace
}  // namespace varnel
