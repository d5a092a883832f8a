#pragma once
// The current user's registry on the simulated desktop: string values by key and name, both
// compared without case. A test makes it refuse every change, as a registry locked down by an
// administrator or a security program does. Its counterpart on the real system is
// Win32Registry.

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/Platform.h"

namespace varnel::sim {

class SimRegistry final : public platform::Registry {
 public:
  std::optional<std::string> RegQueryValueEx(const std::string& subKey,
                                             const std::string& name) const override;
  bool RegSetValueEx(const std::string& subKey, const std::string& name,
                     const std::string& data) override;
  bool RegDeleteValue(const std::string& subKey, const std::string& name) override;

  // While set, every write and delete fails and changes nothing; reads still answer.
  void RefuseChanges(bool refuse) { refuseChanges_ = refuse; }

 private:
  // Key and value name, lowered.
  std::map<std::pair<std::string, std::string>, std::string> values_;
  bool refuseChanges_ = false;
};

}  // namespace varnel::sim
