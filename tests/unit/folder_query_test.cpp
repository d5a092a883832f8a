// Which folder the managed Explorer shows, as the shell reports it, and the tick following it
// so that a lost Explorer comes back there.

#include "explorer/FolderQuery.h"
#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

class FolderQueryTest : public EngineFixture {
 protected:
  std::string FolderOf(platform::Hwnd window) {
    std::string folder = "stale";
    form->GetExplorerFolder(window, folder);
    return folder;
  }
  void Show(platform::Hwnd window, const std::string& url) {
    system.shell.shellWindows.push_back({window, url});
  }
};

TEST_F(FolderQueryTest, TheAddressIsDecodedAsTheShellEncodesIt) {
  Start();
  const struct {
    const char* url;
    const char* folder;
  } cases[] = {
      {"file:///C:/Windows", "C:\\Windows"},
      {"file:///D:/Data/Sub", "D:\\Data\\Sub"},
      {"file:///C:/My%20Files", "C:\\My Files"},
      {"file:///C:/100%25%20%23one", "C:\\100% #one"},
      {"file:///C:/%E6%97%A5%e6%9c%ac", "C:\\日本"},
      {"file:///C:/日本語/file:///x", "C:\\日本語\\file:\\\\\\x"},  // only the first scheme goes
      {"file:///C:/cut%E6%97", "C:\\cut%E6%97"},  // no UTF-8: the escapes stay
      {"file:///C:/50%/%zz", "C:\\50%\\%zz"},
      {"file://server/share/dir", "\\\\server\\share\\dir"},
      {"file://localhost/C:/x", "C:\\x"},
      {"FILE:///C|/x", "C:\\x"},
      {"https://example.com/?file:///C:/x", ""},
      {"", ""},  // a virtual folder
  };
  for (const auto& c : cases) {
    system.shell.shellWindows.clear();
    Show(Explorer(), c.url);
    EXPECT_EQ(FolderOf(Explorer()), c.folder) << c.url;
  }
  EXPECT_EQ(SlashToBackslash("a/b//c"), "a\\b\\\\c");
}

TEST_F(FolderQueryTest, TheScanStartsAtTheLastWindowAndSkipsWindowsThatCannotAnswer) {
  Start();
  const platform::Hwnd other = system.shell.OpenExplorerWindow("Other");
  Show(Explorer(), "file:///C:/First");
  Show(other, "file:///C:/Other");
  Show(Explorer(), "file:///C:/Last");
  EXPECT_EQ(FolderOf(Explorer()), "C:\\Last");

  system.shell.shellWindows[2].hwndFails = true;
  EXPECT_EQ(FolderOf(Explorer()), "C:\\First");
  system.shell.shellWindows[2] = {Explorer(), "file:///C:/Last", true};
  EXPECT_EQ(FolderOf(Explorer()), "C:\\First");
  system.shell.shellWindows[0].locationFails = true;
  EXPECT_EQ(FolderOf(Explorer()), "");
  EXPECT_EQ(FolderOf(platform::Hwnd{0x999}), "");

  system.shell.shellWindowsFail = true;
  EXPECT_THROW(FolderOf(Explorer()), platform::ShellCallFailed);
}

TEST_F(FolderQueryTest, TheTickFollowsOnlyExistingFoldersAndFallsBackWhenTheShellFails) {
  system.files.CreateFolder("C:\\Data\\Sub");
  Start("[Exp]\r\nWatch=1\r\n");
  Show(Explorer(), "file:///C:/Data/Sub");
  TickAt(960, 540);
  EXPECT_EQ(form->Engine.HiddenFolder, "C:\\Data\\Sub");

  system.shell.shellWindows[0].locationUrl = "file:///C:/Gone";
  TickAt(960, 540);
  EXPECT_EQ(form->Engine.HiddenFolder, "C:\\Data\\Sub");

  system.shell.shellWindowsFail = true;
  TickAt(960, 540);
  EXPECT_EQ(form->Engine.HiddenFolder, form->Settings.Exp.Path);

  // With the option off the shell is not asked at all.
  system.shell.shellWindowsFail = false;
  form->Settings.Exp.Watch = 0;
  TickAt(960, 540);
  EXPECT_EQ(form->Engine.HiddenFolder, form->Settings.Exp.Path);
}

TEST_F(FolderQueryTest, ALostExplorerComesBackInTheFolderItWasFollowedTo) {
  system.files.CreateFolder("C:\\Data\\Sub");
  Start("[Exp]\r\nWatch=1\r\n");
  Show(Explorer(), "file:///C:/Data/Sub");
  TickAt(960, 540);
  system.desktop.KillProcess(ExplorerWindow().processId);
  TickAt(0, 500);
  EXPECT_EQ(system.shell.Calls().back().parameters, " /n,/e,\"C:\\Data\\Sub\"");
  EXPECT_EQ(form->Settings.Exp.Path, "C:\\Tools\\Varnel\\");
}

}  // namespace
}  // namespace varnel::testing
