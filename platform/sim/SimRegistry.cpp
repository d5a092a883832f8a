#include "platform/sim/SimRegistry.h"

#include "base/Ascii.h"

namespace varnel::sim {

namespace {

std::pair<std::string, std::string> Slot(const std::string& subKey, const std::string& name) {
  return {AsciiLowered(subKey), AsciiLowered(name)};
}

}  // namespace

std::optional<std::string> SimRegistry::RegQueryValueEx(const std::string& subKey,
                                                        const std::string& name) const {
  const auto found = values_.find(Slot(subKey, name));
  if (found == values_.end()) return std::nullopt;
  // The system hands a string back up to its terminating zero.
  return found->second.substr(0, found->second.find('\0'));
}

bool SimRegistry::RegSetValueEx(const std::string& subKey, const std::string& name,
                                const std::string& data) {
  if (refuseChanges_) return false;
  values_[Slot(subKey, name)] = data;
  return true;
}

bool SimRegistry::RegDeleteValue(const std::string& subKey, const std::string& name) {
  if (refuseChanges_) return false;
  return values_.erase(Slot(subKey, name)) != 0;
}

}  // namespace varnel::sim
