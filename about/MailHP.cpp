#include "about/MailHP.h"

namespace varnel {

TMailAndHP::TMailAndHP(TComponent* owner, std::string name, platform::Platform& platform)
    : TComponent(owner, std::move(name)), platform_(platform) {}

void TMailAndHP::SendMail() { Open("mailto:" + MailAddress); }

void TMailAndHP::OpenHomePage() { Open(HomePageAddress); }

void TMailAndHP::Open(const std::string& address) {
  platform_.shell.ShellExecute(platform_.windows.GetDesktopWindow(), "open", address, "", "",
                               platform::SwShow);
}

}  // namespace varnel
