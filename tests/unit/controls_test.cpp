// The controls: events fire on real changes, from code and from the user alike; groups keep
// one choice; ranges hold; a user's action that fails shows its error instead of escaping.

#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "platform/sim/SimPlatform.h"

namespace varnel {
namespace {

class ControlsTest : public ::testing::Test {
 protected:
  sim::SimPlatform system;
  TApplication application{system.Get()};
  TForm& form = application.CreateForm<TForm>("Form", TFormDesign{"TTestForm", "Test", 200, 100});

  sim::SimControlPeer& PeerOf(const TControl& control) {
    return *system.ui.Peer(control.Handle());
  }
  template <class T, class... Args>
  T& Make(Args&&... args) {
    return TComponent::Create<T>(form, std::forward<Args>(args)...);
  }
};

TEST_F(ControlsTest, CheckBoxFiresOnEveryChangeAndOnlyThen) {
  auto& box = Make<TCheckBox>("CheckBox1", form, "上");
  int clicks = 0;
  box.OnClick = [&](TComponent& sender) {
    EXPECT_EQ(&sender, &box);
    ++clicks;
  };
  box.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(PeerOf(box).CheckedState());
  PeerOf(box).UserClick();
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(box.Checked());
  EXPECT_FALSE(PeerOf(box).CheckedState());
}

TEST_F(ControlsTest, RadioButtonsOfOneParentExcludeEachOtherAndFireWhenChecked) {
  auto& group = Make<TGroupBox>("GroupBox1", form, "処理");
  auto& first = Make<TRadioButton>("RadioButton1", group, "移動する");
  auto& second = Make<TRadioButton>("RadioButton2", group, "アプリ起動");
  auto& elsewhere = Make<TRadioButton>("Other", form, "別");
  int firstClicks = 0;
  int secondClicks = 0;
  first.OnClick = [&](TComponent&) { ++firstClicks; };
  second.OnClick = [&](TComponent&) { ++secondClicks; };
  elsewhere.SetChecked(true);
  first.SetChecked(true);
  PeerOf(second).UserClick();
  EXPECT_FALSE(first.Checked());
  EXPECT_FALSE(PeerOf(first).CheckedState());
  EXPECT_TRUE(second.Checked());
  EXPECT_TRUE(elsewhere.Checked());  // another parent, another group
  EXPECT_EQ(firstClicks, 1);         // being unchecked is no click
  EXPECT_EQ(secondClicks, 1);
  PeerOf(second).UserClick();  // a checked radio button stays checked, silently
  EXPECT_EQ(secondClicks, 1);
}

TEST_F(ControlsTest, RadioGroupSelectsByIndexAndIgnoresIndexesItDoesNotHave) {
  auto& group = Make<TRadioGroup>("RadioGroupBtn", form, "出現ボタン",
                                  std::vector<std::string>{"左ボタン", "右ボタン"}, 2);
  group.SetBounds(0, 0, 140, 36);
  int clicks = 0;
  group.OnClick = [&](TComponent&) { ++clicks; };
  EXPECT_EQ(group.ItemIndex(), -1);
  group.SetItemIndex(2);
  EXPECT_EQ(group.ItemIndex(), -1);
  EXPECT_EQ(clicks, 0);
  group.SetItemIndex(0);
  EXPECT_EQ(clicks, 1);
  PeerOf(group.Button(1)).UserClick();
  EXPECT_EQ(group.ItemIndex(), 1);
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(group.Button(0).Checked());
  group.SetItemIndex(-1);
  EXPECT_FALSE(group.Button(1).Checked());
  EXPECT_EQ(clicks, 2);
  // The two items sit side by side inside the frame.
  EXPECT_LT(group.Button(0).Left(), group.Button(1).Left());
  EXPECT_EQ(group.Button(0).Top(), group.Button(1).Top());
}

TEST_F(ControlsTest, TrackBarHoldsItsRangeAndFiresOnChange) {
  auto& bar = Make<TTrackBar>("TrackBar2", form, 10, 100, 20);
  int changes = 0;
  bar.OnChange = [&](TComponent&) { ++changes; };
  bar.SetPosition(5);
  EXPECT_EQ(bar.Position(), 10);
  bar.SetPosition(-3);  // clamps to 10 again: no change
  EXPECT_EQ(changes, 1);
  PeerOf(bar).UserMoveTo(55);
  EXPECT_EQ(bar.Position(), 55);
  EXPECT_EQ(PeerOf(bar).PositionValue(), 55);
  EXPECT_EQ(changes, 2);
}

TEST_F(ControlsTest, UpDownShowsItsPositionInTheFieldAndClicksOnlyForArrows) {
  auto& edit = Make<TEdit>("Edit8", form);
  auto& arrows = Make<TUpDown>("UpDown3", form, edit, 1, 500, 30);
  int clicks = 0;
  int edits = 0;
  arrows.OnClick = [&](TComponent&) { ++clicks; };
  edit.OnChange = [&](TComponent&) { ++edits; };
  EXPECT_EQ(edit.Text(), "30");
  arrows.SetPosition(900);
  EXPECT_EQ(arrows.Position(), 500);
  EXPECT_EQ(edit.Text(), "500");
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(edits, 1);
  PeerOf(arrows).UserMoveTo(499);
  EXPECT_EQ(edit.Text(), "499");
  EXPECT_EQ(clicks, 1);
  arrows.ClickUp();
  arrows.ClickUp();
  EXPECT_EQ(arrows.Position(), 500);
  EXPECT_EQ(clicks, 3);
}

TEST_F(ControlsTest, EditTakesTypingUnlessReadOnlyAndSettingFromCodeFires) {
  auto& edit = Make<TEdit>("Edit1", form);
  auto& locked = Make<TEdit>("Edit7", form, true);
  int changes = 0;
  edit.OnChange = [&](TComponent&) { ++changes; };
  PeerOf(edit).UserType("C:\\データ\\");
  EXPECT_EQ(edit.Text(), "C:\\データ\\");
  edit.SetText("C:\\データ\\");
  edit.SetText("D:\\");
  EXPECT_EQ(PeerOf(edit).Text(), "D:\\");
  EXPECT_EQ(changes, 2);
  locked.Type("7");
  PeerOf(locked).UserType("8");
  EXPECT_EQ(locked.Text(), "");
}

TEST_F(ControlsTest, ListBoxMirrorsItsItemsAndForgetsTheSelectionWhenTheyChange) {
  auto& list = Make<TListBox>("ListBox1", form);
  list.Items().Add("doc");
  list.Items().Add("pdf");
  PeerOf(list).UserSelect(1);
  EXPECT_EQ(list.ItemIndex(), 1);
  list.Items().Delete(0);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(PeerOf(list).ItemTexts(), std::vector<std::string>{"pdf"});
  list.SetItemIndex(5);
  EXPECT_EQ(list.ItemIndex(), -1);
}

TEST_F(ControlsTest, PageControlKeepsItsPagesInOrderAndFollowsTheUser) {
  auto& pages = Make<TPageControl>("PageControl1", form);
  Make<TTabSheet>("TabSheet1", pages, "動作");
  Make<TTabSheet>("TabSheet3", pages, "フォルダ");
  EXPECT_EQ(pages.ActivePageIndex(), 0);
  PeerOf(pages).UserSelect(1);
  EXPECT_EQ(pages.ActivePageIndex(), 1);
  pages.SetActivePageIndex(7);
  EXPECT_EQ(pages.ActivePageIndex(), 1);
  EXPECT_EQ(pages.Page(1).Caption(), "フォルダ");
}

TEST_F(ControlsTest, AFailingUserActionIsShownAndDoesNotEscape) {
  auto& button = Make<TButton>("Button1", form, "参照");
  button.OnClick = [](TComponent&) { throw std::runtime_error("C:\\x.ini に書き込めません"); };
  EXPECT_NO_THROW(PeerOf(button).UserClick());
  ASSERT_EQ(system.ui.MessageBoxes().size(), 1u);
  EXPECT_EQ(system.ui.MessageBoxes()[0].text, "C:\\x.ini に書き込めません");
  // From code the error reaches the caller, as any other error does.
  EXPECT_THROW(button.Click(), std::runtime_error);
}

TEST_F(ControlsTest, ClosingTheMainFormAsksFirstAndEndsTheApplication) {
  bool allow = false;
  int closes = 0;
  form.OnCloseQuery = [&](TComponent&, bool& canClose) { canClose = allow; };
  form.OnClose = [&](TComponent&, TCloseAction&) { ++closes; };
  PeerOf(form).SystemClose();
  EXPECT_FALSE(application.Terminated());
  EXPECT_EQ(closes, 0);
  allow = true;
  PeerOf(form).SystemClose();
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(system.ui.QuitPosted());
}

}  // namespace
}  // namespace varnel
