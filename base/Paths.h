#pragma once
// Splitting Windows paths into their folder, file name and extension. A path separates its
// parts where the system does: at a backslash, at a slash, and at the colon after a drive
// letter ("C:name" is "name" in drive C's current folder). Narrow paths are UTF-8, where no
// byte of a multi-byte character is one of these.

#include <cstddef>
#include <string>
#include <string_view>

namespace varnel {

namespace detail {

template <class Char>
inline constexpr Char kPathSeparators[] = {Char('\\'), Char('/'), Char(':'), Char(0)};

template <class Char>
constexpr std::size_t FileNameStart(std::basic_string_view<Char> path) {
  const std::size_t separator = path.find_last_of(kPathSeparators<Char>);
  return separator == std::basic_string_view<Char>::npos ? 0 : separator + 1;
}

// Where the file name's last extension begins (its dot); npos when the name has none.
template <class Char>
constexpr std::size_t ExtensionDot(std::basic_string_view<Char> path) {
  const std::size_t dot = path.rfind(Char('.'));
  if (dot == std::basic_string_view<Char>::npos || dot < FileNameStart(path)) {
    return std::basic_string_view<Char>::npos;
  }
  return dot;
}

}  // namespace detail

// "C:\Tools\" of "C:\Tools\varnel.exe", with its separator; empty for a bare name.
constexpr std::string_view FolderPart(std::string_view path) {
  return path.substr(0, detail::FileNameStart(path));
}
constexpr std::wstring_view FolderPart(std::wstring_view path) {
  return path.substr(0, detail::FileNameStart(path));
}

// "varnel.exe" of "C:\Tools\varnel.exe".
constexpr std::string_view FileNamePart(std::string_view path) {
  return path.substr(detail::FileNameStart(path));
}

// "exe" of "C:\Tools\varnel.exe", without its dot; empty when the file name has no dot.
constexpr std::string_view ExtensionPart(std::string_view path) {
  const std::size_t dot = detail::ExtensionDot(path);
  return dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
}

// "C:\Tools\varnel" of "C:\Tools\varnel.exe": the path less its file name's last extension.
// A dot in a folder's name is no extension.
constexpr std::string_view WithoutExtension(std::string_view path) {
  return path.substr(0, detail::ExtensionDot(path));
}

// `name` in `folder`, with one separator between them whether or not the folder was written
// with its own: "C:\Target" and "C:\Target\" both give "C:\Target\a.txt". An empty folder
// leaves the name as it is.
inline std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (!joined.empty() && joined.back() != '\\' && joined.back() != '/') joined += '\\';
  joined += name;
  return joined;
}

}  // namespace varnel
