// Which folder an Explorer window shows, as the shell's automation objects report it, and the
// tick's following of the managed window's folder.

#include "explorer/FolderQuery.h"

#include <optional>

#include "app/Unit1.h"
#include "base/Ascii.h"

namespace varnel {

std::string ReplaceChar(std::string S, char From, char To) {
  for (char& c : S) {
    if (c == From) c = To;
  }
  return S;
}

std::string SlashToBackslash(const std::string& S) { return ReplaceChar(S, '/', '\\'); }

namespace {

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool escape = text[i] == '%' && i + 2 < text.size();
    const std::optional<int> high = escape ? HexDigit(text[i + 1]) : std::nullopt;
    const std::optional<int> low = high ? HexDigit(text[i + 2]) : std::nullopt;
    if (high && low) {
      decoded += static_cast<char>(*high * 16 + *low);
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no surrogates.
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const int length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3
                                     : (byte >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t code = length == 1 ? byte : byte & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

// Why decode: the shell writes a blank as %20, "%" as %25 and "#" as %23, so an undecoded
// address names no folder and following would stop at the first folder with such a name.
std::string PathFromFileUrl(std::string_view url) {
  constexpr std::string_view kScheme = "file:";
  if (url.size() < kScheme.size() || !EqualNoCase(url.substr(0, kScheme.size()), kScheme)) {
    return {};
  }
  std::string_view rest = url.substr(kScheme.size());
  std::string prefix;
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const std::size_t end = rest.find('/');
    const std::string_view host = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    // A named host is a share of that machine; none, or this machine, a local path.
    if (!host.empty() && !EqualNoCase(host, "localhost")) prefix = "\\\\" + std::string(host);
  }
  if (prefix.empty()) {
    while (rest.starts_with("/")) rest.remove_prefix(1);
  }
  std::string path(rest);
  // The old form of a drive, "C|".
  if (prefix.empty() && path.size() >= 2 && path[1] == '|') path[1] = ':';
  std::string decoded = PercentDecoded(path);
  if (IsUtf8(decoded)) path = std::move(decoded);
  return prefix + SlashToBackslash(path);
}

void TForm1::GetExplorerFolder(platform::Hwnd Wnd, std::string& Folder) {
  Folder.clear();
  if (!ShellApp) throw platform::ShellCallFailed("the shell application object");
  const std::unique_ptr<platform::ShellWindows> windows = ShellApp->Windows();
  // The newest windows are last: the scan starts there.
  for (int i = windows->get_Count() - 1; i >= 0; --i) {
    // A window that is closing, or no browser at all, cannot answer: the next one is asked.
    try {
      const std::unique_ptr<platform::WebBrowser> browser = windows->Item(i);
      if (browser->get_HWND() != Wnd) continue;
      std::string path = PathFromFileUrl(browser->get_LocationURL());
      if (path.empty()) continue;
      Folder = std::move(path);
      return;
    } catch (const std::exception&) {
    }
  }
}

void TForm1::FollowExplorerFolder() {
  try {
    std::string folder;
    GetExplorerFolder(Engine.ExplorerWnd, folder);
    // An address that is no folder here (a virtual folder's empty one, a folder gone by now)
    // keeps the last folder seen.
    if (System().files.FolderExists(folder)) Engine.HiddenFolder = folder;
  } catch (const std::exception&) {
    Engine.HiddenFolder = Settings.Exp.Path;
  }
}

}  // namespace varnel
