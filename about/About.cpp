// The About page: the maker's links and the help page.

#include "app/Unit1.h"
#include "base/Paths.h"

namespace varnel {

void TForm1::Label4Click(TComponent&) { MailAndHP1->OpenHomePage(); }

void TForm1::Label5Click(TComponent&) { MailAndHP1->SendMail(); }

// The page is named by its full path beside the executable, so that neither the current
// folder nor the way the shell resolves a bare name decides which page opens; and it is named
// once, so that a browser that also reads the parameters does not open it twice.
void TForm1::BitBtn2Click(TComponent&) {
  const std::string page = HelpPagePath();
  System().shell.ShellExecute(Handle(), "", page, "", std::string(FolderPart(page)),
                              platform::SwShowNormal);
}

std::string TForm1::HelpPagePath() const {
  return std::string(FolderPart(System().kernel.GetModuleFileName())) + "varnel_help\\help.htm";
}

}  // namespace varnel
