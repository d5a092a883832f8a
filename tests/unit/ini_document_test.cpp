// The INI reader and writer: the profile functions' reading rules, in-place editing that leaves
// every other byte alone, the integer forms, and the file encodings.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/sim/SimCodepage.h"
#include "settings/IniDocument.h"
#include "settings/IniFile.h"

namespace varnel {
namespace {

std::optional<std::string> Read(std::string_view text, std::string_view section,
                                std::string_view key) {
  return IniDocument::Parse(text).Get(section, key);
}

TEST(IniDocumentRead, NamesAndValuesAreTrimmedAndMatchedWithoutCase) {
  const std::string text =
      "  [ Pos ]  \r\n"
      "  Speed   =   12   \r\n"
      "\tSENSE\t=\t4\t\n"
      "Offset=\r\n";
  EXPECT_EQ(Read(text, "pos", "speed"), "12");
  EXPECT_EQ(Read(text, "POS", " Sense "), "4");
  EXPECT_EQ(Read(text, "Pos", "Offset"), "");
  EXPECT_EQ(Read(text, "Pos", "Missing"), std::nullopt);
  EXPECT_EQ(Read(text, "Exp", "Speed"), std::nullopt);
}

TEST(IniDocumentRead, MatchingQuotesAroundAValueAreRemoved) {
  const std::string text =
      "[s]\n"
      "a=\"C:\\Program Files\\\"\n"
      "b='single'\n"
      "c=\"unbalanced\n"
      "d=\"\n"
      "e=\"\"\n"
      "f=\"mixed'\n"
      "g=  \"x\"  \n"
      "h=in\"side\"\n";
  EXPECT_EQ(Read(text, "s", "a"), "C:\\Program Files\\");
  EXPECT_EQ(Read(text, "s", "b"), "single");
  EXPECT_EQ(Read(text, "s", "c"), "\"unbalanced");
  EXPECT_EQ(Read(text, "s", "d"), "\"");
  EXPECT_EQ(Read(text, "s", "e"), "");
  EXPECT_EQ(Read(text, "s", "f"), "\"mixed'");
  EXPECT_EQ(Read(text, "s", "g"), "x");
  EXPECT_EQ(Read(text, "s", "h"), "in\"side\"");
}

TEST(IniDocumentRead, FirstSectionAndFirstKeyWin) {
  const std::string text =
      "[A]\nx=1\nx=2\n"
      "[B]\ny=3\n"
      "[a]\nx=4\nz=5\n";
  EXPECT_EQ(Read(text, "A", "x"), "1");
  // A repeated section is never searched: its keys are invisible.
  EXPECT_EQ(Read(text, "A", "z"), std::nullopt);
  EXPECT_EQ(Read(text, "B", "y"), "3");
}

TEST(IniDocumentRead, LinesWithoutEqualsCommentsAndOddHeaders) {
  const std::string text =
      "top=0\n"
      "[s]\n"
      "novalue\n"
      "novalue=1\n"
      ";comment=2\n"
      "[broken\n"
      "[t] trailing text\n"
      "k=v=w\n"
      "[u]x]\n"
      "m=1\n";
  // A line without '=' is a key without a value, and it hides a later key of its name.
  EXPECT_EQ(Read(text, "s", "novalue"), std::nullopt);
  EXPECT_EQ(Read(text, "s", ";comment"), "2");
  // "[broken" has no ']' and is a key line of section s.
  EXPECT_EQ(Read(text, "s", "[broken"), std::nullopt);
  EXPECT_EQ(Read(text, "t", "k"), "v=w");
  EXPECT_EQ(Read(text, "u]x", "m"), "1");
  // Keys before the first header belong to the nameless section.
  EXPECT_EQ(Read(text, "", "top"), "0");
}

TEST(IniDocumentRead, LineBreaksOfEveryKind) {
  const std::string text = "[s]\ra=1\r\n\r\n\nb=2\n\rc=3";
  EXPECT_EQ(Read(text, "s", "a"), "1");
  EXPECT_EQ(Read(text, "s", "b"), "2");
  EXPECT_EQ(Read(text, "s", "c"), "3");
}

TEST(IniDocumentRead, LongValuesStopAtACharacterBoundary) {
  const std::string ascii(3000, 'a');
  EXPECT_EQ(Read("[s]\nk=" + ascii, "s", "k")->size(), 2047u);
  // 682 three-byte characters are 2046 bytes; the 683rd would end at byte 2049.
  std::string kana;
  for (int i = 0; i < 700; ++i) kana += "\xE3\x81\x82";  // あ
  const std::string value = *Read("[s]\nk=" + kana, "s", "k");
  EXPECT_EQ(value.size(), 2046u);
  EXPECT_EQ(value, kana.substr(0, 2046));
  const std::string quoted = "\"" + ascii + "\"";
  EXPECT_EQ(*Read("[s]\nk=" + quoted, "s", "k"), ascii.substr(0, 2047));
}

TEST(IniDocumentWrite, UntouchedTextComesBackByteForByte) {
  const std::string text =
      "; settings\r\n\r\n[Pos]\r\n  Speed = 7  \n\tjunk line\r\n[Exp]\rWidth=5\n\n\x1a";
  IniDocument document = IniDocument::Parse(text);
  EXPECT_EQ(document.Serialize(), text);
  document.Set("Exp", "Width", "5");  // the same value: nothing changes
  EXPECT_EQ(document.Serialize(), text);
  document.Set("Pos", "Speed", "9");
  EXPECT_EQ(document.Serialize(),
            "; settings\r\n\r\n[Pos]\r\nSpeed=9\n\tjunk line\r\n[Exp]\rWidth=5\n\n\x1a");
}

TEST(IniDocumentWrite, AValueThatReadsTheSameKeepsItsLine) {
  const std::string text =
      "[s]\r\na = \"quoted\"  \r\nb='x'\r\nc=" + std::string(3000, 'c') + "\r\n";
  IniDocument document = IniDocument::Parse(text);
  document.Set("s", "a", "quoted");
  document.Set("s", "b", "\"x\"");
  document.Set("s", "c", std::string(2047, 'c'));  // all that a reader ever got of it
  EXPECT_EQ(document.Serialize(), text);
  document.Set("s", "a", "\"quoted");  // reads with its quote: a change
  EXPECT_EQ(document.Serialize().substr(0, 21), "[s]\r\na=\"quoted\r\nb='x'");
}

TEST(IniDocumentWrite, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd) {
  IniDocument document = IniDocument::Parse("[A]\nx=1\n\n[B]\ny=2\n[a]\nz=3");
  document.Set("a", "w", "4");
  document.Set("B", "Y", "5");
  document.Set("C", "v", "6");
  document.Set("c", "u", "7");
  EXPECT_EQ(document.Serialize(),
            "[A]\nx=1\nw=4\r\n\n[B]\ny=5\n[a]\nz=3\r\n[C]\r\nv=6\r\nu=7\r\n");
  EXPECT_EQ(document.Get("A", "w"), "4");
  EXPECT_EQ(document.Get("C", "U"), "7");
}

TEST(IniDocumentWrite, EmptyTextAndKeysBeforeTheFirstSection) {
  IniDocument empty;
  empty.Set("Pos", "Top", "1");
  EXPECT_EQ(empty.Serialize(), "[Pos]\r\nTop=1\r\n");

  IniDocument noKeys = IniDocument::Parse("[Pos]\r\n");
  noKeys.Set("", "loose", "1");
  EXPECT_EQ(noKeys.Serialize(), "loose=1\r\n[Pos]\r\n");
}

TEST(IniDocumentWrite, KeyWithoutValueGetsOne) {
  IniDocument document = IniDocument::Parse("[s]\r\nflag\r\n");
  document.Set("s", "FLAG", "1");
  EXPECT_EQ(document.Serialize(), "[s]\r\nflag=1\r\n");
}

TEST(IniDocumentWrite, ValuesCannotBreakTheLine) {
  // A line break in a value would otherwise plant a section and keys of its own.
  IniDocument document = IniDocument::Parse("[Watch]\r\n");
  document.Set("Watch", "Ext0", "doc\r\n[Exp]\r\nPath=C:\\evil");
  document.Set("Watch", "Ext1", "  txt");
  EXPECT_EQ(document.Serialize(), "[Watch]\r\nExt0=doc\r\nExt1=txt\r\n");
  EXPECT_EQ(document.Get("Exp", "Path"), std::nullopt);
}

TEST(ParseIniInteger, AcceptedForms) {
  EXPECT_EQ(ParseIniInteger("500"), 500);
  EXPECT_EQ(ParseIniInteger("0"), 0);
  EXPECT_EQ(ParseIniInteger("-12"), -12);
  EXPECT_EQ(ParseIniInteger("+12"), 12);
  EXPECT_EQ(ParseIniInteger("  42"), 42);
  EXPECT_EQ(ParseIniInteger("0x14"), 20);
  EXPECT_EQ(ParseIniInteger("0X1f"), 31);
  EXPECT_EQ(ParseIniInteger("x10"), 16);
  EXPECT_EQ(ParseIniInteger("X10"), 16);
  EXPECT_EQ(ParseIniInteger("$ff"), 255);
  EXPECT_EQ(ParseIniInteger("-$10"), -16);
  EXPECT_EQ(ParseIniInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseIniInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseIniInteger("$FFFFFFFF"), -1);
}

TEST(ParseIniInteger, RejectedForms) {
  for (const char* text : {"", " ", "abc", "12abc", "12 ", "1.5", "-", "+", "0x", "$", "x",
                           "0x1g", "2147483648", "-2147483649", "99999999999999999999",
                           "$100000000", "0x", "--1", "1e3"}) {
    EXPECT_EQ(ParseIniInteger(text), std::nullopt) << '"' << text << '"';
  }
}

// The bytes of a file: what each encoding reads as, and what a write leaves of it.

const sim::SimCodepage& Cp932() {
  static const sim::SimCodepage codepage;
  return codepage;
}

// UTF-8 text in another encoding, through iconv.
std::string Encoded(std::string_view utf8, const char* encoding) {
  return *sim::SimCodepage(encoding).Utf8ToAnsi(utf8);
}

std::string Written(std::string_view bytes, std::string_view section, std::string_view key,
                    std::string_view value) {
  IniFile file = IniFile::Parse(bytes, Cp932());
  file.document.Set(section, key, value);
  return file.Serialize(Cp932());
}

TEST(IniFileEncoding, ANewFileIsAnsiWhenEverythingFitsUtf8WithMarkOtherwise) {
  // 日本 fits code page 932; the Korean 한 does not.
  const std::string japanese = "C:\\\xE6\x97\xA5\xE6\x9C\xAC\\";
  EXPECT_EQ(Written("", "Exp", "Path", japanese), "[Exp]\r\nPath=C:\\\x93\xfa\x96\x7b\\\r\n");
  const std::string korean = "C:\\\xED\x95\x9C\\";
  EXPECT_EQ(Written("", "Exp", "Path", korean), "\xEF\xBB\xBF[Exp]\r\nPath=" + korean + "\r\n");
}

TEST(IniFileEncoding, ShiftJisTrailBytesThatLookLikeBackslashes) {
  // 表 is 0x95 0x5C in code page 932: its second byte is the backslash.
  const std::string bytes = "[Exp]\r\nPath=C:\\\x95\x5C\\\r\n";
  const IniFile file = IniFile::Parse(bytes, Cp932());
  EXPECT_EQ(file.document.Get("Exp", "Path"), "C:\\\xE8\xA1\xA8\\");
  EXPECT_EQ(file.Serialize(Cp932()), bytes);
  EXPECT_EQ(Written(bytes, "Exp", "Path", "C:\\\xE8\xA1\xA8\\x\\"),
            "[Exp]\r\nPath=C:\\\x95\x5C\\x\\\r\n");
}

TEST(IniFileEncoding, Utf16FilesReadByTheirMark) {
  // CRLF, LF and CR breaks, Japanese names and values, a character beyond the BMP.
  const std::string text =
      "[Pos]\r\nSpeed=55\r\n[\xE7\x9B\xA3\xE8\xA6\x96]\n\xE5\xA0\xB4 = C:\\\xE8\xA1\xA8\\"
      "\xF0\x9F\x93\x81\\\rlast=1";
  for (const auto& [mark, encoding] : {std::pair("\xFF\xFE", "UTF-16LE"),
                                       std::pair("\xFE\xFF", "UTF-16BE")}) {
    const IniDocument document = IniFile::Parse(mark + Encoded(text, encoding), Cp932()).document;
    EXPECT_EQ(document.Get("Pos", "Speed"), "55") << encoding;
    EXPECT_EQ(document.Get("\xE7\x9B\xA3\xE8\xA6\x96", "\xE5\xA0\xB4"),
              "C:\\\xE8\xA1\xA8\\\xF0\x9F\x93\x81\\")
        << encoding;
    EXPECT_EQ(document.Get("\xE7\x9B\xA3\xE8\xA6\x96", "last"), "1") << encoding;
  }
}

TEST(IniFileEncoding, Utf16WrittenBackInItsOwnByteOrderWithItsMark) {
  const std::string le = "\xFF\xFE" + Encoded("[Pos]\r\nSpeed=10\r\n", "UTF-16LE");
  EXPECT_EQ(Written(le, "Pos", "Speed", "55"),
            "\xFF\xFE" + Encoded("[Pos]\r\nSpeed=55\r\n", "UTF-16LE"));
  // Text with no form in code page 932, beyond the BMP too, needs nothing else.
  const std::string korean = "C:\\\xED\x95\x9C\xF0\x9F\x93\x81\\";
  EXPECT_EQ(Written(le, "Exp", "Path", korean),
            "\xFF\xFE" + Encoded("[Pos]\r\nSpeed=10\r\n[Exp]\r\nPath=" + korean + "\r\n",
                                 "UTF-16LE"));
  // Half a character at the end was never read; it is not written either.
  EXPECT_EQ(Written(le + "x", "Pos", "Speed", "55"),
            "\xFF\xFE" + Encoded("[Pos]\r\nSpeed=55\r\n", "UTF-16LE"));
  const std::string be = "\xFE\xFF" + Encoded("[Pos]\r\nSpeed=10", "UTF-16BE");
  EXPECT_EQ(Written(be, "Pos", "Top", "1"),
            "\xFE\xFF" + Encoded("[Pos]\r\nSpeed=10\r\nTop=1\r\n", "UTF-16BE"));
}

TEST(IniFileEncoding, AnAnsiFileTurnsUtf8ForTextWithNoFormInIt) {
  // ¥ has no form in code page 932: a converter's "best fit", the backslash, is not one.
  EXPECT_EQ(Written("[Exp]\r\n", "Exp", "Path", "C:\\\xC2\xA5\\"),
            "\xEF\xBB\xBF[Exp]\r\nPath=C:\\\xC2\xA5\\\r\n");
  // ANSI text that would begin with a byte-order mark would be read back as UTF-8: "ï»¿" in
  // code page 1252 is the mark's bytes.
  IniFile marked;
  marked.document.Set("", "\xC3\xAF\xC2\xBB\xC2\xBF", "1");
  EXPECT_EQ(marked.Serialize(sim::SimCodepage("CP1252")),
            "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBF=1\r\n");
}

}  // namespace
}  // namespace varnel
