// Building a popup menu from a folder tree.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Application.h"
#include "launch/LaunchPopup.h"
#include "platform/sim/SimPlatform.h"

namespace varnel {
namespace {

class LaunchPopupTest : public ::testing::Test {
 protected:
  sim::SimPlatform system;
  TApplication application{system.Get()};
  TLaunchPopup& menu = TComponent::Create<TLaunchPopup>(application, "Menu", system.Get());
  TImageList& images = TComponent::Create<TImageList>(application, "Images");

  void SetUp() override {
    menu.Directory = "C:\\Launch\\";
    menu.SearchDirectory = true;
    // The whole tree at once: what a menu made as its submenus open shows once they are all
    // open, which the Launch menu's own tests hold it to.
    menu.BuildAtOnce = true;
    system.files.CreateFolder("C:\\Launch");
  }
  void File(const std::string& name) { system.files.WriteFile("C:\\Launch\\" + name, "x"); }

  // The tree as text: captions, submenus in brackets.
  static std::string Describe(const TMenuItem& parent) {
    std::string text;
    for (int i = 0; i < parent.Count(); ++i) {
      const TMenuItem& item = parent.Item(i);
      if (i > 0) text += ", ";
      text += item.Caption();
      if (item.Count() > 0 || item.Tag() == 0) text += "[" + Describe(item) + "]";
    }
    return text;
  }
};

TEST_F(LaunchPopupTest, FoldersComeFirstThenFilesEachInNameOrderIgnoringCase) {
  system.files.CreateFolder("C:\\Launch\\zeta");
  File("b.lnk");
  File("A.lnk");
  File("readme.txt");
  menu.Rebuild();
  EXPECT_EQ(Describe(menu.Items()), "zeta[], A, b");
  EXPECT_EQ(menu.Paths(), (std::vector<std::string>{"C:\\Launch\\A.lnk", "C:\\Launch\\b.lnk"}));
}

TEST_F(LaunchPopupTest, CaptionsLoseOnlyTheLastExtension) {
  File("Report.old.lnk");
  File("Notes");
  File(".lnk");
  menu.Mask = "*.*";
  menu.Rebuild();
  EXPECT_EQ(Describe(menu.Items()), ", Notes, Report.old");
}

TEST_F(LaunchPopupTest, TagsFollowTheBuildDepthFirstAndNameThePaths) {
  system.files.WriteFile("C:\\Launch\\Tools\\deep.lnk", "x");
  system.files.WriteFile("C:\\Launch\\Tools\\Inner\\deeper.lnk", "x");
  File("top.lnk");
  menu.Rebuild();
  EXPECT_EQ(Describe(menu.Items()), "Tools[Inner[deeper], deep], top");
  const TMenuItem& tools = menu.Items().Item(0);
  EXPECT_EQ(tools.Item(0).Item(0).Tag(), 1000);
  EXPECT_EQ(tools.Item(1).Tag(), 1001);
  EXPECT_EQ(menu.Items().Item(1).Tag(), 1002);
  EXPECT_EQ(menu.Paths()[2], "C:\\Launch\\top.lnk");
}

TEST_F(LaunchPopupTest, HiddenAndSystemFilesAreSkippedButHiddenFoldersListed) {
  File("desktop.ini");
  system.files.SetAttributes("C:\\Launch\\desktop.ini",
                             platform::FileAttributeHidden | platform::FileAttributeSystem);
  File("secret.lnk");
  system.files.SetAttributes("C:\\Launch\\secret.lnk", platform::FileAttributeHidden);
  system.files.CreateFolder("C:\\Launch\\Private");
  system.files.SetAttributes("C:\\Launch\\Private", platform::FileAttributeHidden);
  system.files.CreateFolder("C:\\Launch\\Tools.lnk");  // a folder named like the mask
  menu.Mask = "*.*";
  menu.Rebuild();
  EXPECT_EQ(Describe(menu.Items()), "Private[], Tools.lnk[]");
}

TEST_F(LaunchPopupTest, WithoutSubfoldersOnlyTheFolderItselfIsListed) {
  system.files.WriteFile("C:\\Launch\\Sub\\inner.lnk", "x");
  File("outer.lnk");
  menu.SearchDirectory = false;
  menu.Rebuild();
  EXPECT_EQ(Describe(menu.Items()), "outer");
}

TEST_F(LaunchPopupTest, AMissingOrEmptyFolderChangesNothing) {
  File("one.lnk");
  menu.Rebuild();
  menu.Directory = "C:\\Gone\\";
  menu.Rebuild();
  EXPECT_EQ(menu.Paths().size(), 1u);
  menu.Directory.clear();
  menu.Rebuild();
  EXPECT_EQ(menu.Items().Count(), 1);
}

// A junction back to an ancestor; and one to the folder above, where the Launch folder itself
// comes again with no junction of its own.
TEST_F(LaunchPopupTest, AFolderReachedAgainThroughAJunctionIsListedOnceAndNotEntered) {
  system.files.WriteFile("C:\\Launch\\Apps\\app.lnk", "x");
  system.files.CreateFolderLink("C:\\Launch\\Apps\\Back", "C:\\Launch");
  menu.Rebuild();
  EXPECT_EQ(Describe(menu.Items()), "Apps[Back[], app]");

  menu.Items().DeleteFrom(0);
  system.files.WriteFile("C:\\Menus\\Launch\\a.lnk", "x");
  system.files.CreateFolderLink("C:\\Menus\\Launch\\Up", "C:\\Menus");
  menu.Directory = "C:\\Menus\\Launch\\";
  menu.Rebuild();
  EXPECT_EQ(Describe(menu.Items()), "Up[Launch[]], a");
}

TEST_F(LaunchPopupTest, WithoutAnImageListNoIconIsFetched) {
  File("a.lnk");
  menu.Rebuild();
  EXPECT_EQ(menu.Items().Item(0).ImageIndex(), -1);
  EXPECT_EQ(system.shell.FileIconRequests(), 0);
}

TEST_F(LaunchPopupTest, OneIconPerFileTypeSharedByItsItems) {
  menu.SetImages(&images);
  images.Add(system.ui.LoadImageResource("LAUNCH_DUAL"));
  File("a.lnk");
  File("b.LNK");
  File("c.txt");
  menu.Mask = "*.*";
  menu.Rebuild();
  EXPECT_EQ(system.shell.FileIconRequests(), 2);
  EXPECT_EQ(images.Count(), 3);
  EXPECT_EQ(menu.Items().Item(0).ImageIndex(), 1);
  EXPECT_EQ(menu.Items().Item(1).ImageIndex(), 1);
  EXPECT_EQ(menu.Items().Item(2).ImageIndex(), 2);
  EXPECT_EQ(sim::ImageName(images.Image(1)), "type:lnk");

  // Without the cache every file fetches its own icon; what is shown is the same.
  images.Clear();
  menu.Items().DeleteFrom(0);
  menu.CacheIcons = false;
  menu.Rebuild();
  EXPECT_EQ(system.shell.FileIconRequests(), 5);
  EXPECT_EQ(sim::ImageName(images.Image(menu.Items().Item(1).ImageIndex())), "type:lnk");
}

TEST_F(LaunchPopupTest, ChoosingAFileOpensItOrHandsItToTheOwner) {
  File("tool.lnk");
  menu.Rebuild();
  menu.Items().Item(0).Click();
  ASSERT_EQ(system.shell.Calls().size(), 1u);
  EXPECT_EQ(system.shell.Calls()[0].file, "C:\\Launch\\tool.lnk");
  EXPECT_EQ(system.shell.Calls()[0].directory, "C:\\Launch\\");
  EXPECT_EQ(system.shell.Calls()[0].showCommand, platform::SwShowNormal);
  EXPECT_EQ(system.shell.Calls()[0].owner, application.Handle());

  std::string handed;
  menu.OnItemClick = [&](TComponent& sender) {
    handed = static_cast<TLaunchPopup&>(sender).ClickedFile();
  };
  menu.Items().Item(0).Click();
  EXPECT_EQ(handed, "C:\\Launch\\tool.lnk");
  EXPECT_EQ(system.shell.Calls().size(), 1u);
}

TEST_F(LaunchPopupTest, ShowingTheMenuRunsOnPopupAndTheChosenItem) {
  File("tool.lnk");
  menu.Rebuild();
  int popups = 0;
  menu.OnPopup = [&](TComponent&) { ++popups; };
  system.ui.SetMenuScript([](sim::SimOpenMenu& open) { return sim::MenuItemId(open.items, "tool"); });
  menu.Popup(100, 200);
  EXPECT_EQ(popups, 1);
  ASSERT_EQ(system.ui.MenusShown().size(), 1u);
  EXPECT_EQ(system.ui.MenusShown()[0].at, (platform::Point{100, 200}));
  EXPECT_EQ(system.ui.MenusShown()[0].owner, application.Handle());
  EXPECT_EQ(system.shell.Calls().size(), 1u);
}

}  // namespace
}  // namespace varnel
