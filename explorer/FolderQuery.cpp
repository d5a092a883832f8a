// Which folder an Explorer window shows, as the shell's automation objects report it, and the
// tick's following of the managed window's folder.

#include "app/Unit1.h"

namespace varnel {

std::string ReplaceChar(std::string S, char From, char To) {
  for (char& c : S) {
    if (c == From) c = To;
  }
  return S;
}

std::string SlashToBackslash(const std::string& S) { return ReplaceChar(S, '/', '\\'); }

void TForm1::GetExplorerFolder(platform::Hwnd Wnd, std::string& Folder) {
  Folder.clear();
  if (!ShellApp) throw platform::ShellCallFailed("the shell application object");
  const std::unique_ptr<platform::ShellWindows> windows = ShellApp->Windows();
  // The newest windows are last: the scan starts there.
  for (int i = windows->get_Count() - 1; i >= 0; --i) {
    // A window that is closing, or no browser at all, cannot answer: the next one is asked.
    try {
      const std::unique_ptr<platform::WebBrowser> browser = windows->Item(i);
      if (browser->get_HWND() != Wnd) continue;
      const std::string url = browser->get_LocationURL();
      if (url.find("file:") == std::string::npos) continue;
      std::string path = url;
      if (const auto scheme = path.find("file://"); scheme != std::string::npos) {
        path.erase(scheme, 7);
      }
      path = SlashToBackslash(path);
      if (!path.empty() && path.front() == '\\') path.erase(0, 1);
      Folder = path;
      return;
    } catch (const std::exception&) {
    }
  }
}

void TForm1::FollowExplorerFolder() {
  try {
    std::string folder;
    GetExplorerFolder(Engine.ExplorerWnd, folder);
    // An address that is no folder here (escaped characters, a share's bare form, a virtual
    // folder's empty one) keeps the last folder seen.
    if (System().files.FolderExists(folder)) Engine.HiddenFolder = folder;
  } catch (const std::exception&) {
    Engine.HiddenFolder = Settings.Exp.Path;
  }
}

}  // namespace varnel
