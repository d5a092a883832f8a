// The window list: its filter, its signature, its entries.

#include <gtest/gtest.h>

#include "app/components/FindWin.h"
#include "framework/Application.h"
#include "platform/sim/SimPlatform.h"

namespace varnel {
namespace {

class WinListTest : public ::testing::Test {
 protected:
  sim::SimPlatform system;
  TComponent owner{nullptr, "Owner"};
  TWinList& list = TComponent::Create<TWinList>(owner, "WinList1", system.Get());

  platform::Hwnd Add(const std::string& caption, std::uint32_t style = 0, bool visible = true,
                     platform::Hwnd ownerWindow = {}) {
    sim::SimWindow window;
    window.text = caption;
    window.className = "Class" + caption;
    window.style = style;
    window.visible = visible;
    window.owner = ownerWindow;
    window.processId = system.desktop.AddProcess(caption + ".exe");
    return system.desktop.AddWindow(window);
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (int i = 0; i < list.Count(); ++i) captions.push_back(list.Caption(i));
    return captions;
  }
};

TEST_F(WinListTest, RebuildsOnlyWhenTheSetOfWindowsChanges) {
  Add("A");
  const platform::Hwnd b = Add("B");
  list.Refresh();
  EXPECT_TRUE(list.Changed());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"B", "A"}));  // z-order, top first
  const TWinInfo* entry = &list.Info(0);
  system.desktop.Find(b)->text = "B renamed";
  list.Refresh();
  EXPECT_FALSE(list.Changed());
  EXPECT_EQ(&list.Info(0), entry);  // untouched, old caption and all
  EXPECT_EQ(list.Caption(0), "B");

  system.desktop.DestroyWindow(b);
  Add("C");
  list.Refresh();
  EXPECT_TRUE(list.Changed());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"C", "A"}));
}

TEST_F(WinListTest, TheFilterKeepsWindowsThatWouldHaveATaskbarButton) {
  const platform::Hwnd main = Add("Main");
  Add("");                                  // no caption
  Add("Hidden", 0, false);                  // invisible
  Add("Owned", 0, true, main);              // owned
  Add("Tool", platform::WsPopup);           // a pop-up without minimise box and menu
  Add("Dialog", platform::WsPopup | platform::WsMinimizeBox | platform::WsSysMenu);
  const platform::Hwnd disabled = Add(
      "Disabled", platform::WsPopup | platform::WsMinimizeBox | platform::WsSysMenu |
                      platform::WsDisabled);
  list.Refresh();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Dialog", "Main"}));

  // A disabled pop-up passes through its last active pop-up.
  const platform::Hwnd popup = Add("Popup", 0, true, disabled);
  system.desktop.Find(disabled)->lastActivePopup = popup;
  list.Refresh();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Disabled", "Dialog", "Main"}));

  list.EmptyNames = true;
  list.TaskBarSty = false;
  list.Refresh();
  EXPECT_EQ(list.Count(), 7);
  list.WhatDoFind = id_InvisOnly;
  list.Refresh();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Hidden"}));
}

TEST_F(WinListTest, EntriesCarryTheProcessAndTheOwner) {
  const platform::Hwnd main = Add("Main", 0x10CF0000);
  Add("Owned", 0, true, main);
  const platform::Hwnd blank = Add("Blank");
  Add("OwnedByBlank", 0, true, blank);
  system.desktop.Find(blank)->text.clear();
  list.TaskBarSty = false;
  list.Refresh();
  ASSERT_EQ(Captions(), (std::vector<std::string>{"OwnedByBlank", "Owned", "Main"}));
  EXPECT_EQ(list.Info(2).OwnerCaption, "Desktop");
  EXPECT_EQ(list.Info(1).OwnerCaption, "Main");
  EXPECT_EQ(list.Info(0).OwnerCaption, "NoName");
  EXPECT_EQ(list.GetExeFile(2), "Main.exe");
  EXPECT_EQ(list.GetWindowClass(2), "ClassMain");
  EXPECT_EQ(list.Info(2).Style, 0x10CF0000u);

  system.kernel.SetSnapshotAvailable(false);
  Add("Late");
  list.Refresh();
  EXPECT_EQ(list.GetExeFile(0), "");
  EXPECT_THROW(list.GetHandle(list.Count()), std::out_of_range);
}

TEST_F(WinListTest, ListsEveryQualifyingWindowHoweverMany) {
  // The Explorer finder tells a new window by the growth of this list: a fixed table would
  // hide the newest window on a crowded desktop.
  for (int i = 0; i < 300; ++i) Add("W" + std::to_string(i));
  list.Refresh();
  ASSERT_EQ(list.Count(), 300);
  EXPECT_EQ(list.Caption(0), "W299");
  EXPECT_EQ(list.GetExeFile(0), "W299.exe");
}

TEST_F(WinListTest, TheTimerRefreshesAndAnnouncesChanges) {
  int changes = 0;
  list.OnChanged = [&](TComponent&) { ++changes; };
  list.SetTimerIntval(50);
  list.SetEnableTimer(true);
  Add("A");
  system.ui.AdvanceClock(50);
  EXPECT_EQ(changes, 1);
  system.ui.AdvanceClock(200);
  EXPECT_EQ(changes, 1);  // nothing changed since
  Add("B");
  system.ui.AdvanceClock(50);
  EXPECT_EQ(changes, 2);

  list.SetTimerIntval(0);
  EXPECT_FALSE(list.EnableTimer());
  EXPECT_EQ(list.TimerIntval(), 0);
  EXPECT_THROW(list.SetTimerIntval(-5), std::out_of_range);
  EXPECT_FALSE(list.EnableTimer());
}

}  // namespace
}  // namespace varnel
