#pragma once
// Opens the maker's home page or a new mail to the maker through the shell.

#include <string>

#include "framework/Component.h"
#include "platform/Platform.h"

namespace varnel {

class TMailAndHP : public TComponent {
 public:
  TMailAndHP(TComponent* owner, std::string name, platform::Platform& platform);

  std::string MailAddress;
  std::string HomePageAddress = "http://";

  // A new mail in the default mail program.
  void SendMail();
  // The home page in the default browser.
  void OpenHomePage();

 private:
  void Open(const std::string& address);
  platform::Platform& platform_;
};

}  // namespace varnel
