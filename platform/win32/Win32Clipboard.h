#pragma once
// The system's clipboard and its viewer chain on the real platform (user32). Its counterpart
// on the simulated desktop is SimClipboard.

#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace varnel::win32 {

class Win32Clipboard final : public platform::Clipboard {
 public:
  platform::Hwnd SetClipboardViewer(platform::Hwnd viewer) override;
  bool ChangeClipboardChain(platform::Hwnd remove, platform::Hwnd next) override;
  bool IsClipboardFormatAvailable(unsigned format) const override;
  std::optional<std::string> GetClipboardData(unsigned format) const override;
  unsigned RegisterClipboardFormat(const std::string& name) override;
  std::optional<std::uint32_t> GetClipboardDword(unsigned format) const override;
};

}  // namespace varnel::win32
