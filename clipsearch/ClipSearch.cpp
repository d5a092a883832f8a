// The clipboard detector's handler: a copy made with Shift and Ctrl held opens a web search
// for the copied text.

#include "clipsearch/ClipSearch.h"

#include "app/Unit1.h"

namespace varnel {

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

constexpr bool Between(unsigned char c, unsigned char low, unsigned char high) {
  return c >= low && c <= high;
}

constexpr bool Unreserved(unsigned char c) {
  return Between(c, 'A', 'Z') || Between(c, 'a', 'z') || Between(c, '0', '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

// The code page the clipboard's ANSI text is read in when it offers no Unicode text.
constexpr unsigned kClipboardAnsiCodePage = 932;
constexpr unsigned kUtf8CodePage = 65001;

// Password managers and other programs that copy secrets mark the copy so that clipboard
// viewers leave it alone: either format below present, or the history format holding 0.
// A mark whose value cannot be read counts as a mark: a secret is better not searched.
bool IsPrivateCopy(platform::Clipboard& clipboard) {
  for (const char* marker : {"ExcludeClipboardContentFromMonitorProcessing",
                             "Clipboard Viewer Ignore"}) {
    const unsigned format = clipboard.RegisterClipboardFormat(marker);
    if (format != 0 && clipboard.IsClipboardFormatAvailable(format)) return true;
  }
  const unsigned history = clipboard.RegisterClipboardFormat("CanIncludeInClipboardHistory");
  if (history == 0 || !clipboard.IsClipboardFormatAvailable(history)) return false;
  return clipboard.GetClipboardDword(history).value_or(0) == 0;
}

}  // namespace

std::string EscapeSearchText(std::string_view bytes) {
  std::string escaped;
  escaped.reserve(bytes.size() * 3);
  for (std::size_t i = 0; i < bytes.size();) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    if ((Between(a, 0x81, 0x9F) || Between(a, 0xE0, 0xFC)) && Between(b, 0x40, 0xFC)) {
      AppendEscaped(escaped, a);
      AppendEscaped(escaped, b);
      i += 2;
    } else if (a >= 0x80 || !Unreserved(a)) {
      AppendEscaped(escaped, a);
      ++i;
    } else {
      escaped += static_cast<char>(a);
      ++i;
    }
  }
  return escaped;
}

void TForm1::NkClipDetector1ClipChange(TComponent& /*sender*/) {
  if (Settings.Watch.Browser == 0) return;
  platform::Clipboard& clipboard = System().clipboard;
  const bool unicode = clipboard.IsClipboardFormatAvailable(platform::CfUnicodeText);
  if (!unicode && !clipboard.IsClipboardFormatAvailable(platform::CfText)) return;
  // The keys as they are on the keyboard now: this program's own key state would follow only
  // the input it has read itself, and the copy was made in another program.
  platform::WindowManager& windows = System().windows;
  if ((windows.GetAsyncKeyState(platform::VkShift) & 0x8000) == 0 ||
      (windows.GetAsyncKeyState(platform::VkControl) & 0x8000) == 0) {
    return;
  }
  if (IsPrivateCopy(clipboard)) return;

  // Unicode where the clipboard offers it, so that any character reaches the search.
  std::optional<std::string> text =
      clipboard.GetClipboardData(unicode ? platform::CfUnicodeText : platform::CfText);
  // Another program holding the clipboard open is no empty text: nothing is searched.
  if (!text) return;
  const std::string utf8 =
      unicode ? *text
              : System().codepage.ConvertCodePage(kClipboardAnsiCodePage, kUtf8CodePage, *text);

  const std::string request = std::string(kSearchRequest) + EscapeSearchText(utf8);
  System().shell.ShellExecute(windows.GetDesktopWindow(), "open", request, "", "",
                              platform::SwShow);
}

}  // namespace varnel
