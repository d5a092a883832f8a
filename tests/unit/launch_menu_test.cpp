// The Launch menu in the program: its fixed items, its loads, the edge trigger and the
// dismissal.

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

class LaunchMenuTest : public EngineFixture {
 protected:
  int MenusShown() const { return static_cast<int>(system.ui.MenusShown().size()); }
  // While the menu is open: `ticks` ticks with the pointer at `at`; then the menu closes.
  void KeepMenuOpen(int ticks, platform::Point at, const std::string& choose = {}) {
    system.ui.SetMenuScript([this, ticks, at, choose](sim::SimOpenMenu& open) -> unsigned {
      system.desktop.SetCursorPos(at);
      for (int i = 0; i < ticks && !open.ended; ++i) Tick();
      return open.ended || choose.empty() ? 0 : sim::MenuItemId(open.items, choose);
    });
  }
};

TEST_F(LaunchMenuTest, WithoutAFolderTheMenuHoldsItsSixFixedItems) {
  Start();
  const TMenuItem& root = form->PopupMenuLaunch->Items();
  ASSERT_EQ(root.Count(), 6);
  const char* captions[] = {"Pop終了", "補完Exp", "引出時固定", "ＤｕａｌEｘｐ", "Varnel", "-"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(root.Item(i).Caption(), captions[i]);
  EXPECT_EQ(root.Item(4).Count(), 4);
  EXPECT_EQ(form->ImageListLaunch->Count(), 6);
  EXPECT_EQ(sim::ImageName(form->ImageListLaunch->Image(root.Item(3).ImageIndex())),
            "LAUNCH_DUAL");
  EXPECT_EQ(sim::ImageName(form->ImageListLaunch->Image(root.Item(4).Item(2).ImageIndex())),
            "LAUNCH_SETTINGS");
}

TEST_F(LaunchMenuTest, LoadsReplaceTheBuiltItemsAndIcons) {
  system.files.WriteFile("C:\\Launch\\Tools\\calc.lnk", "x");
  system.files.WriteFile("C:\\Launch\\editor.lnk", "x");
  system.files.WriteFile("C:\\Launch\\notes.txt", "x");
  Start("[Launch]\r\nPath=C:\\Launch\\\r\n");
  EXPECT_EQ(form->PopupMenuLaunch->Items().Count(), 8);
  EXPECT_EQ(form->ImageListLaunch->Count(), 7);
  form->mnuLaunchLoadClick(*form);
  form->mnuLaunchLoadS->Click();
  EXPECT_EQ(form->PopupMenuLaunch->Items().Count(), 8);
  EXPECT_EQ(form->ImageListLaunch->Count(), 7);

  form->Settings.Launch.Lnk = 0;
  form->LoadLaunchMenu();
  EXPECT_EQ(form->PopupMenuLaunch->Items().Count(), 9);

  form->Settings.Launch.Path.clear();
  form->LoadLaunchMenu();
  EXPECT_EQ(form->PopupMenuLaunch->Items().Count(), 6);
  EXPECT_EQ(form->ImageListLaunch->Count(), 6);
}

TEST_F(LaunchMenuTest, AutomaticLoadingShowsWhatTheFolderHoldsNow) {
  system.files.CreateFolder("C:\\Launch");
  Start("[Launch]\r\nPath=C:\\Launch\\\r\nAuto=0\r\nRight=0\r\nUpper=0\r\nLeft=0\r\n");
  system.files.WriteFile("C:\\Launch\\new.lnk", "x");
  form->PopupMenuLaunch->Popup(10, 10);
  EXPECT_EQ(form->PopupMenuLaunch->Items().Count(), 6);
  form->Settings.Launch.Auto = 1;
  form->PopupMenuLaunch->Popup(10, 10);
  EXPECT_EQ(form->PopupMenuLaunch->Items().Count(), 7);
}

TEST_F(LaunchMenuTest, ChoosingAnItemResetsTheMenuStateAndOpensTheFile) {
  system.files.WriteFile("C:\\Launch\\editor.lnk", "x");
  Start("[Launch]\r\nPath=C:\\Launch\\\r\n");
  KeepMenuOpen(0, {1919, 500}, "editor");
  TickAt(1919, 500, 3);
  EXPECT_EQ(MenusShown(), 1);
  EXPECT_EQ(form->Engine.LaunchShownEdge, EdgeNone);
  EXPECT_EQ(form->Engine.LaunchIdleCount, 0);
  const sim::ShellExecuteCall& call = system.shell.Calls().back();
  EXPECT_EQ(call.file, "C:\\Launch\\editor.lnk");
  EXPECT_EQ(call.directory, "C:\\Launch\\");
  EXPECT_EQ(call.owner, form->Handle());
  EXPECT_EQ(call.showCommand, platform::SwShowNormal);
}

TEST_F(LaunchMenuTest, PopsAtThePointerOnTheThirdTickOfAnEnabledEdge) {
  Start();  // Launch.Right and Launch.Upper are on by default
  TickAt(1919, 500, 2);
  EXPECT_EQ(MenusShown(), 0);
  TickAt(1919, 500);
  ASSERT_EQ(MenusShown(), 1);
  EXPECT_EQ(system.ui.MenusShown()[0].at, (platform::Point{1919, 500}));
  EXPECT_EQ(system.ui.MenusShown()[0].owner, application->Handle());
  EXPECT_EQ(system.ui.MenusShown()[0].items.size(), 6u);
  EXPECT_EQ(form->Engine.LaunchShownEdge, EdgeRight);
  EXPECT_EQ(form->Engine.LaunchPendingEdge, EdgeNone);
}

TEST_F(LaunchMenuTest, TheZonesReachBeyondTheScreenUnevenly) {
  Start("[Launch]\r\nLeft=1\r\nUpper=1\r\nRight=0\r\n[Exp]\r\nLeft=0\r\n");
  TickAt(-30, 500, 3);  // -INHdotX <= x <= 0
  EXPECT_EQ(MenusShown(), 1);
  TickAt(500, -20, 3);  // top: -INHdotY < y <= 0 only
  EXPECT_EQ(MenusShown(), 1);
  TickAt(500, -19, 3);
  EXPECT_EQ(MenusShown(), 2);
}

TEST_F(LaunchMenuTest, TheExplorerHasPriorityOnItsEdgesAndWhileItIsOut) {
  Start("[Exp]\r\nLeft=1\r\nRight=1\r\n[Launch]\r\nLeft=1\r\nRight=1\r\nUpper=1\r\n");
  TickAt(0, 500, 5);  // the Explorer's edge: it comes out, the menu does not pop
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
  TickAt(300, 0, 5);  // out at the left: no menu anywhere
  EXPECT_EQ(MenusShown(), 0);

  form->Settings.Popup.All = 1;
  TickAt(300, 0, 3);
  EXPECT_EQ(MenusShown(), 1);
}

TEST_F(LaunchMenuTest, APinnedExplorerLeavesTheOtherEdgesToTheMenu) {
  Start("[Exp]\r\nLeft=1\r\n[Launch]\r\nUpper=1\r\n");
  TickAt(0, 500, 3);
  form->mnuExpFixClick(*form);
  TickAt(300, 0, 3);
  EXPECT_EQ(MenusShown(), 1);
}

TEST_F(LaunchMenuTest, WithAButtonTheMenuPopsOnTheSecondTickWithTheButtonHeld) {
  Start("[Launch]\r\nButton=1\r\nBtnLR=1\r\n");
  system.desktop.SetKeyHeld(platform::VkRButton, true);
  TickAt(1919, 500);
  EXPECT_EQ(MenusShown(), 0);
  TickAt(1919, 500);
  EXPECT_EQ(MenusShown(), 1);
}

TEST_F(LaunchMenuTest, CountingActivatesTheOwnerAndHidesTheFormsPopups) {
  Start();
  TickAt(1919, 500);
  const std::vector<std::string> activations = CallsNamed("SetActiveWindow");
  ASSERT_EQ(activations.size(), 1u);
  EXPECT_EQ(activations[0], "SetActiveWindow(" + sim::HandleText(application->Handle()) + ")");
  EXPECT_EQ(CallsNamed("ShowOwnedPopups").at(0),
            "ShowOwnedPopups(" + sim::HandleText(form->Handle()) + ", 0)");
}

TEST_F(LaunchMenuTest, AMenuLeftAloneIsDismissedAfterItsIdleTicks) {
  Start();
  // The pointer rests away from the menu: six ticks later the menu is ended by the engine.
  KeepMenuOpen(20, {900, 500});
  TickAt(1919, 500, 3);
  ASSERT_EQ(MenusShown(), 1);
  EXPECT_TRUE(system.ui.MenusShown()[0].ended);
  EXPECT_EQ(form->Engine.LaunchShownEdge, EdgeNone);
  form->Settings.Launch.Idle = 20;  // ended on the twentieth tick, not one later
  TickAt(1919, 500, 3);
  EXPECT_TRUE(system.ui.MenusShown().at(1).ended);
}

TEST_F(LaunchMenuTest, ThePointerOverTheMenuKeepsItOpen) {
  Start();
  // Over the menu's own window (it opens at the pointer): the countdown does not run.
  KeepMenuOpen(20, {1919 + 5, 510});
  TickAt(1919, 500, 3);
  EXPECT_FALSE(system.ui.MenusShown()[0].ended);
  EXPECT_EQ(form->Engine.LaunchShownEdge, EdgeRight);
}

TEST_F(LaunchMenuTest, AnotherWindowUnderThePointerDoesNotCountAsTheMenu) {
  Start();
  sim::SimWindow other;
  other.className = "Notepad";
  other.text = "メモ帳";
  other.visible = true;
  other.processId = system.desktop.AddProcess("notepad.exe");
  other.rect = platform::Rect::FromSize(600, 300, 500, 400);
  system.desktop.AddWindow(other);
  KeepMenuOpen(20, {900, 500});
  TickAt(1919, 500, 3);
  EXPECT_TRUE(system.ui.MenusShown()[0].ended);
}

TEST_F(LaunchMenuTest, AfterClosingWithoutAChoiceTheEdgeIsBlockedUntilTheCountdownEnds) {
  Start();
  TickAt(1919, 500, 3);  // the menu closes at once without a choice
  ASSERT_EQ(MenusShown(), 1);
  EXPECT_EQ(form->Engine.LaunchShownEdge, EdgeRight);
  TickAt(1919, 500, 3);  // blocked at this edge; the pointer is not over a menu: countdown
  EXPECT_EQ(MenusShown(), 1);
  TickAt(1919, 500, 3);
  EXPECT_EQ(form->Engine.LaunchShownEdge, EdgeNone);
  TickAt(1919, 500, 3);
  EXPECT_EQ(MenusShown(), 2);
}

TEST_F(LaunchMenuTest, AnotherEdgeReachedWhileTheMenuIsOpenDoesNotRebuildIt) {
  system.files.WriteFile("C:\\Launch\\editor.lnk", "x");
  Start("[Launch]\r\nPath=C:\\Launch\\\r\nAuto=1\r\n");
  // Open at the right edge; the pointer travels to the top edge and stays there, then the
  // user chooses the shortcut of the menu still open.
  system.ui.SetMenuScript([this](sim::SimOpenMenu& open) -> unsigned {
    system.desktop.SetCursorPos({900, 0});
    for (int i = 0; i < 4; ++i) Tick();
    return sim::MenuItemId(open.items, "editor");
  });
  TickAt(1919, 500, 3);
  EXPECT_EQ(MenusShown(), 1);
  EXPECT_EQ(system.shell.Calls().back().file, "C:\\Launch\\editor.lnk");
}

TEST_F(LaunchMenuTest, NothingPopsOrTakesTheFocusWhileTheTrayMenuIsOpen) {
  Start();
  system.ui.SetMenuScript([this](sim::SimOpenMenu& open) -> unsigned {
    TickAt(1919, 500, 10);
    EXPECT_FALSE(open.ended);
    return 0;
  });
  form->PopupMenu1->Popup(1919, 500);
  EXPECT_EQ(MenusShown(), 1);
  EXPECT_TRUE(CallsNamed("SetActiveWindow").empty());
}

TEST_F(LaunchMenuTest, TheCountdownEndsOnlyTheMenuItPopped) {
  Start();
  TickAt(1919, 500, 3);  // popped, and closed at once without a choice: the edge is blocked
  ASSERT_EQ(form->Engine.LaunchShownEdge, EdgeRight);
  // The countdown runs out while the user reads the tray menu: that menu stays.
  system.ui.SetMenuScript([this](sim::SimOpenMenu& open) -> unsigned {
    TickAt(900, 500, 10);
    EXPECT_FALSE(open.ended);
    return 0;
  });
  form->PopupMenu1->Popup(10, 1000);
  EXPECT_EQ(form->Engine.LaunchShownEdge, EdgeNone);
}

TEST_F(LaunchMenuTest, PopExitResetsTheStateAndLaunchesNothing) {
  Start();
  KeepMenuOpen(0, {1919, 500}, "Pop終了");
  TickAt(1919, 500, 3);
  EXPECT_EQ(form->Engine.LaunchShownEdge, EdgeNone);
  EXPECT_EQ(system.shell.Calls().size(), 1u);  // only the Explorer's start
}


// The menu as the user sees it: every entry's caption and picture, a submenu's entries
// indented below it, one not yet opened as "…".
std::string Shown(const std::vector<platform::MenuEntry>& items, const std::string& indent = "") {
  std::string text;
  for (const platform::MenuEntry& item : items) {
    text += indent + item.caption + " [" + (item.image ? sim::ImageName(item.image) : "") + "]\n";
    if (item.children.empty() && item.fill) text += indent + "  …\n";
    text += Shown(item.children, indent + "  ");
  }
  return text;
}

// A submenu's items are made when it first opens, from the listing of the load; whatever the
// kind of load and the order the submenus are opened in, the menu then is the whole-tree
// build's, item for item and icon for icon, and only opened submenus' icons are in the list.
TEST_F(LaunchMenuTest, ASubmenuIsMadeWhenItOpensAndShowsWhatTheWholeTreeBuildShows) {
  for (const char* file : {"Tools\\calc.lnk", "Tools\\Deep\\edit.txt", "Tools\\Deep\\more.lnk",
                           "Docs\\guide.txt", "Docs\\Old\\readme.txt", "top.lnk"}) {
    system.files.WriteFile("C:\\Launch\\" + std::string(file), "x");
  }
  system.files.CreateFolder("C:\\Launch\\Empty");
  int itemsAsTheExplorerStarts = -1;  // the folder is listed after the Explorer's start
  system.shell.whileExecuting = [&] { itemsAsTheExplorerStarts = form->PopupMenuLaunch->Items().Count(); };
  // A slow disk: the start lists a few folders, and each tick a few more.
  system.files.whileFinding = [this] { system.kernel.Sleep(15); };
  Start("[Launch]\r\nPath=C:\\Launch\\\r\nLnk=0\r\n");
  EXPECT_EQ(itemsAsTheExplorerStarts, 6);
  EXPECT_EQ(form->PopupMenuLaunch->Items().Count(), 6);
  std::vector<std::string> opens;
  std::string shown, choose;
  system.ui.SetMenuScript([&](sim::SimOpenMenu& open) -> unsigned {
    for (const std::string& caption : opens) sim::OpenSubmenu(open.items, caption);
    shown = Shown(open.items);
    return choose.empty() ? 0 : sim::MenuItemId(open.items, choose);
  });
  const auto pop = [&](std::vector<std::string> order) {
    opens = std::move(order);
    form->PopupMenuLaunch->Popup(10, 10);
    return shown;
  };
  const struct { const char* load; int automatic; std::vector<std::string> order; } rows[] = {
      {"start, ticks", 0, {"Tools", "Deep", "Docs", "Old"}},
      {"a pop amid a load", 0, {"Tools", "Docs", "Old", "Deep"}},
      {"Launch読込", 0, {"Docs", "Old", "Tools", "Deep"}},
      {"Launch読込", 1, {"Tools", "Docs", "Deep", "Old"}},
      {"a new folder", 0, {"Docs", "Tools", "Old", "Deep"}},
      {"a pop", 1, {"Docs", "Tools", "Deep", "Old"}},
  };
  std::vector<std::string> opened;
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.load) + " " + std::to_string(row.automatic));
    form->Settings.Launch.Auto = row.automatic;
    if (std::string(row.load) == "Launch読込") form->mnuLaunchLoadS->Click();
    if (std::string(row.load) == "a new folder") form->LoadLaunchMenu();
    if (std::string(row.load) == "a pop amid a load") form->BeginLaunchLoad();
    for (int ticks = 0; std::string(row.load) == "start, ticks" && ticks < 2; ++ticks) {
      EXPECT_TRUE(form->PopupMenuLaunch->Rebuilding());
      TickAt(900, 500);
    }
    // An automatic pop over the unchanged tree keeps the items made before, opened or not.
    if (std::string(row.load) != "a pop") {
      EXPECT_NE(pop({}).find("  …"), std::string::npos);
      EXPECT_EQ(form->ImageListLaunch->Count(), 7);  // the fixed six and the top's .lnk
    }
    opened.push_back(pop(row.order));
  }
  // An item of a submenu opened late starts its own file.
  choose = "more";
  pop({"Tools", "Deep"});
  EXPECT_EQ(system.shell.Calls().back().file, "C:\\Launch\\Tools\\Deep\\more.lnk");
  choose.clear();
  form->PopupMenuLaunch->BuildAtOnce = true;
  form->LoadLaunchMenu();
  const std::string whole = pop({});
  for (const std::string& menu : opened) EXPECT_EQ(menu, whole);

  // Automatic loading over a tree that has not changed lists no folder again; a file added
  // deep down is listed there, and shows when its submenu opens.
  form->PopupMenuLaunch->BuildAtOnce = false;
  form->Settings.Launch.Auto = 1;
  pop({});
  const int listings = system.files.FindCount();
  const int icons = system.shell.FileIconRequests();
  pop({});
  EXPECT_EQ(system.files.FindCount(), listings);
  EXPECT_EQ(system.shell.FileIconRequests(), icons);  // the items made before are kept
  system.files.WriteFile("C:\\Launch\\Docs\\Old\\new.txt", "x");
  EXPECT_NE(pop({"Docs", "Old"}).find("new"), std::string::npos);
  EXPECT_EQ(system.files.FindCount(), listings + 1);  // Old, once
  // A load that emptied the menu is never taken for the tree's last build.
  form->Settings.Launch.Path = "C:\\Gone\\";
  form->LoadLaunchMenu();
  form->Settings.Launch.Path = "C:\\Launch\\";
  EXPECT_NE(pop({}).find("top"), std::string::npos);
}

}  // namespace
}  // namespace varnel::testing
