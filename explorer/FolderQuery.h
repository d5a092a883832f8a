#pragma once
// Byte rules of the folder query: they work on UTF-8 and on the ANSI code pages alike, where
// no slash is ever part of a multi-byte character.

#include <string>

namespace varnel {

// A copy of `S` with every byte `From` replaced by `To`.
std::string ReplaceChar(std::string S, char From, char To);
std::string SlashToBackslash(const std::string& S);

}  // namespace varnel
