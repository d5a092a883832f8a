#pragma once
// The settings file's bytes and the UTF-8 text that IniDocument works on. A file that starts
// with the UTF-8 byte-order mark is UTF-8; any other file is in the system's ANSI code page,
// as the profile functions read it. We write the ANSI code page when all of the text has a
// form there, so that older readers of the file keep working, and UTF-8 with the mark
// otherwise, so that no character is lost.

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace varnel {

std::string IniBytesToText(std::string_view bytes, const platform::Codepage& codepage);
std::string IniTextToBytes(std::string_view text, const platform::Codepage& codepage);

}  // namespace varnel
