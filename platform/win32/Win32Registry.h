#pragma once
// The current user's registry on the real system, through advapi32's wide calls. Its
// counterpart on the simulated desktop is SimRegistry.

#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace varnel::win32 {

class Win32Registry final : public platform::Registry {
 public:
  std::optional<std::string> RegQueryValueEx(const std::string& subKey,
                                             const std::string& name) const override;
  bool RegSetValueEx(const std::string& subKey, const std::string& name,
                     const std::string& data) override;
  bool RegDeleteValue(const std::string& subKey, const std::string& name) override;
};

}  // namespace varnel::win32
