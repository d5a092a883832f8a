#include "platform/sim/SimClipboard.h"

#include "base/Ascii.h"

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
  // The wait for the chain is bounded, as the contract asks of every backend.
  std::intptr_t answer = 0;
  return desktop_.SendMessageTimeout(head_, platform::WmChangeCbChain,
                                     static_cast<std::uintptr_t>(remove),
                                     static_cast<std::intptr_t>(next), platform::SmtoAbortIfHung,
                                     kChainWaitMs, &answer);
}

unsigned SimClipboard::RegisterClipboardFormat(const std::string& name) {
  if (name.empty()) return 0;
  // The system keeps the names as atoms, whose case does not matter.
  const auto [entry, added] = registered_.emplace(
      AsciiLowered(name), kFirstRegisteredFormat + static_cast<unsigned>(registered_.size()));
  return entry->second;
}

std::optional<std::uint32_t> SimClipboard::GetClipboardDword(unsigned format) const {
  if (locked_) return std::nullopt;
  const auto found = contents_.find(format);
  if (found == contents_.end() || found->second.size() < 4) return std::nullopt;
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(found->second[i]);
  return value;
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
  desktop_.SendNotifyMessage(head_, platform::WmDrawClipboard, 0, 0);
}

}  // namespace varnel::sim
