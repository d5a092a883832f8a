// The supplementary Explorer, the pin and the dual layout.

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

class ExplorerCommandsTest : public EngineFixture {
 protected:
  void WorkArea(int width, int height) {
    system.desktop.SetScreen(width, height + 28, {0, 0, width, height});
  }
  platform::Hwnd Supplementary() const { return system.shell.ExplorerWindows().back(); }
};

TEST_F(ExplorerCommandsTest, TheSupplementaryWindowTakesTheRestBesideTheLeftSlot) {
  WorkArea(1024, 740);
  Start();
  const platform::Hwnd managed = Explorer();
  form->Engine.LaunchShownEdge = EdgeRight;
  form->mnuExploreClick(*form);
  EXPECT_EQ(Explorer(), managed);
  EXPECT_NE(Supplementary(), managed);
  EXPECT_EQ(system.desktop.GetWindowRect(Supplementary()), platform::Rect::FromSize(400, 0, 624, 740));
  EXPECT_FALSE(system.desktop.Find(Supplementary())->topmost);
  EXPECT_EQ(form->Engine.LaunchShownEdge, EdgeNone);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);

  form->mnuDualExpClick(*form);
  EXPECT_EQ(ExplorerRect(), platform::Rect::FromSize(0, 0, 400, 740));
  EXPECT_EQ(form->Settings.Exp.Fix, 1);
  EXPECT_TRUE(form->mnuExpFix->Checked());
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
  EXPECT_FALSE(ExplorerWindow().topmost);
  EXPECT_NE(ExplorerWindow().exStyle & platform::WsExToolWindow, 0u);
}

TEST_F(ExplorerCommandsTest, TheBottomSlotWithInsets) {
  WorkArea(1024, 740);
  Start("[Exp]\r\nLeft=0\r\nLower=1\r\nHL_ADJ=10\r\nHR_ADJ=20\r\n");
  form->mnuExploreClick(*form);
  EXPECT_EQ(system.desktop.GetWindowRect(Supplementary()), platform::Rect::FromSize(10, 0, 994, 440));
  form->mnuDualExpClick(*form);
  EXPECT_EQ(ExplorerRect(), platform::Rect::FromSize(10, 440, 994, 300));
}

TEST_F(ExplorerCommandsTest, WithoutAnEdgeTheSupplementaryWindowGoesWhereTheLauncherLeftIt) {
  WorkArea(1024, 740);
  Start("[Exp]\r\nLeft=0\r\n");
  ASSERT_EQ(form->Engine.LastEdge, EdgeNone);
  form->mnuExploreClick(*form);
  const std::vector<Placement> moves = Moves(Supplementary());
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back(), (Placement{-300, 0, 0, 740}));
}

TEST_F(ExplorerCommandsTest, ThePinTogglesTheCheckAndTheZOrder) {
  Start();
  form->mnuExpFixClick(*form);
  EXPECT_EQ(form->Settings.Exp.Fix, 1);
  EXPECT_FALSE(ExplorerWindow().topmost);
  form->mnuExpFix->Click();
  EXPECT_EQ(form->Settings.Exp.Fix, 0);
  EXPECT_FALSE(form->mnuExpFix->Checked());
  EXPECT_TRUE(ExplorerWindow().topmost);

  form->mnuDualExpClick(*form);
  form->mnuDualExpClick(*form);
  EXPECT_EQ(form->Settings.Exp.Fix, 1);
  EXPECT_TRUE(form->mnuExpFix->Checked());
}

TEST_F(ExplorerCommandsTest, NoSupplementaryWindowLeavesTheManagedOneAlone) {
  Start();
  const platform::Rect parked = ExplorerRect();
  system.shell.SetExplorerDelay(std::nullopt);
  form->mnuExploreClick(*form);
  EXPECT_EQ(ExplorerRect(), parked);
  EXPECT_TRUE(system.desktop.IsWindow(Explorer()));
  // Nor does half a dual layout pin it or move it.
  form->mnuDualExpClick(*form);
  EXPECT_EQ(ExplorerRect(), parked);
  EXPECT_EQ(form->Settings.Exp.Fix, 0);
  EXPECT_FALSE(form->mnuExpFix->Checked());
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
}

TEST_F(ExplorerCommandsTest, AFailureWhilePlacingTheSupplementaryWindowKeepsTheManagedOne) {
  Start();
  const platform::Hwnd managed = Explorer();
  system.desktop.FailNextCall("MoveWindow");
  EXPECT_THROW(form->mnuExploreClick(*form), std::runtime_error);
  EXPECT_EQ(Explorer(), managed);
  EXPECT_EQ(system.shell.ExplorerWindows().size(), 2u);
}

TEST_F(ExplorerCommandsTest, TheTrayMenuOpensTheSupplementaryExplorer) {
  Start();
  system.ui.SetMenuScript([](sim::SimOpenMenu& open) { return sim::MenuItemId(open.items, "補完Exp"); });
  form->PopupMenu1->Popup(10, 10);
  EXPECT_EQ(system.shell.ExplorerWindows().size(), 2u);
}

}  // namespace
}  // namespace varnel::testing
