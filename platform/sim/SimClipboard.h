#pragma once
// The clipboard on the simulated desktop: what it holds by format, and the head of the viewer
// chain. As on Windows, the system knows only the head; each viewer keeps its own next one.

#include <map>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/sim/SimDesktop.h"

namespace varnel::sim {

class SimClipboard : public platform::Clipboard {
 public:
  explicit SimClipboard(SimDesktop& desktop) : desktop_(desktop) {}

  platform::Hwnd SetClipboardViewer(platform::Hwnd viewer) override;
  bool ChangeClipboardChain(platform::Hwnd remove, platform::Hwnd next) override;
  bool IsClipboardFormatAvailable(unsigned format) const override;
  std::optional<std::string> GetClipboardData(unsigned format) const override;
  unsigned RegisterClipboardFormat(const std::string& name) override;
  std::optional<std::uint32_t> GetClipboardDword(unsigned format) const override;

  // Another program puts `formats` on the clipboard (CfUnicodeText in UTF-8, CfText in its
  // bytes, any other format its raw bytes; an empty map empties it), and the head of the chain
  // hears of it.
  void SetContents(std::map<unsigned, std::string> formats);
  // Another program joins the chain without the system telling it anything: `viewer`
  // becomes the head, the previous head being its next.
  void JoinWithoutNotice(platform::Hwnd viewer) { head_ = viewer; }
  platform::Hwnd Head() const { return head_; }
  // While set, the clipboard cannot be opened (another program has it open).
  void SetLocked(bool locked) { locked_ = locked; }

 private:
  SimDesktop& desktop_;
  platform::Hwnd head_{};
  std::map<unsigned, std::string> contents_;
  static constexpr unsigned kFirstRegisteredFormat = 0xC000;
  std::map<std::string, unsigned> registered_;  // by the name in lower case
  bool locked_ = false;
};

}  // namespace varnel::sim
