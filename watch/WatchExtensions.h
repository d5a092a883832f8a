#pragma once
// Which extensions the watched folder's list may hold. Each entry becomes one pattern "*." + it
// of a mask whose patterns are separated by ";": a wildcard, a separator or a character no
// file name can hold would widen the mask (to every file at worst) or make it match nothing.

#include <cstddef>
#include <string_view>

namespace varnel {

// The extension slots of the settings file: a longer list would not survive the next start.
inline constexpr std::size_t kMostWatchedExtensions = 32;

// An extension as the list takes it: not empty, no blank inside, none of * ? ; \ / : < > | ".
constexpr bool IsWatchableExtension(std::string_view extension) {
  if (extension.empty()) return false;
  // The ideographic space is a blank as well; UTF-8 never repeats its bytes elsewhere.
  if (extension.find("\xE3\x80\x80") != std::string_view::npos) return false;
  for (const char c : extension) {
    if (static_cast<unsigned char>(c) <= ' ') return false;
    if (std::string_view("*?;\\/:<>|\"").find(c) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace varnel
