#pragma once
// Byte rules of the folder query: they work on UTF-8 and on the ANSI code pages alike, where
// no slash is ever part of a multi-byte character.

#include <string>
#include <string_view>

namespace varnel {

// A copy of `S` with every byte `From` replaced by `To`.
std::string ReplaceChar(std::string S, char From, char To);
std::string SlashToBackslash(const std::string& S);

// The path a file address names, decoded as the shell encodes it: "file:///C:/My%20Files" is
// C:\My Files, "file://server/share" is \\server\share, escapes that make no UTF-8 text stay
// as they are. Empty for an address that is no file address.
std::string PathFromFileUrl(std::string_view url);

}  // namespace varnel
