#pragma once
// The settings file's bytes and the lines of text that IniDocument works on.
//
// Reading. The file's first bytes tell its encoding, as they tell the profile functions: the
// UTF-16 little-endian mark (FF FE, Notepad's "Unicode"), the big-endian mark (FE FF) or the
// UTF-8 mark (EF BB BF); a file without a mark is in the system's ANSI code page. The bytes
// are split into lines at CR, LF and CR LF before anything is decoded, and each line is
// decoded on its own, so that a damaged line cannot swallow its neighbours.
//
// Writing. Every line keeps the bytes it was read from until its text changes: comments,
// other programs' keys and sections, the hand-set adjustment keys, values we wrote the same,
// and bytes that mean nothing in the file's encoding all come back as they were. Only the
// lines we changed or added are encoded, in the file's own encoding: an ANSI file stays ANSI,
// a UTF-8 file keeps its mark, a UTF-16 file stays UTF-16 of its byte order with its mark.
// The one exception is an ANSI file (or a new file) that receives text with no form in the
// ANSI code page: the whole file becomes UTF-8 with the mark, so that no character is lost;
// its other lines are converted as the profile functions read them (a byte that is no
// character there becomes U+FFFD). A new file is ANSI when everything fits, so that older
// readers of the file keep working.
//
// A UTF-16 file of an odd length ends in half a character, which no reader sees; it is not
// written back.

#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "settings/IniDocument.h"

namespace varnel {

enum class IniEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct IniFile {
  // Any bytes make a file: what cannot be decoded reads as U+FFFD.
  static IniFile Parse(std::string_view bytes, const platform::Codepage& codepage);

  // The bytes to store: the file's own encoding and mark, with unchanged lines as they were
  // read (see above for when an ANSI file becomes UTF-8).
  std::string Serialize(const platform::Codepage& codepage) const;

  IniEncoding encoding = IniEncoding::Ansi;
  IniDocument document;
};

}  // namespace varnel
