#include "platform/sim/SimClipboard.h"

namespace varnel::sim {

platform::Hwnd SimClipboard::SetClipboardViewer(platform::Hwnd viewer) {
  const platform::Hwnd next = head_;
  head_ = viewer;
  desktop_.SendMessage(viewer, platform::WmDrawClipboard, 0, 0);
  return next;
}

bool SimClipboard::ChangeClipboardChain(platform::Hwnd remove, platform::Hwnd next) {
  if (head_ == remove) {
    head_ = next;
    return true;
  }
  desktop_.SendMessage(head_, platform::WmChangeCbChain, static_cast<std::uintptr_t>(remove),
                       static_cast<std::intptr_t>(next));
  return true;
}

bool SimClipboard::IsClipboardFormatAvailable(unsigned format) const {
  return contents_.count(format) != 0;
}

std::optional<std::string> SimClipboard::GetClipboardData(unsigned format) const {
  if (locked_) return std::nullopt;
  const auto found = contents_.find(format);
  if (found == contents_.end()) return std::nullopt;
  return found->second.substr(0, found->second.find('\0'));
}

void SimClipboard::SetContents(std::map<unsigned, std::string> formats) {
  contents_ = std::move(formats);
  desktop_.SendMessage(head_, platform::WmDrawClipboard, 0, 0);
}

}  // namespace varnel::sim
