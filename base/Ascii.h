#pragma once
// Case rules for the names the system compares without case (file names, INI sections and
// keys, window classes): only the ASCII letters have a case here. Bytes of UTF-8 sequences and
// of the ANSI code page's double-byte characters stay as they are, whatever the C locale says.

#include <algorithm>
#include <string>
#include <string_view>

namespace varnel {

constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLowered(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(), AsciiLower);
  return lowered;
}

// Blanks and control characters off both ends, as typed text is taken.
constexpr std::string_view TrimmedBlanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

constexpr bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace varnel
