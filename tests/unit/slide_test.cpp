// Sliding the managed window out and parking it: the frames, the resting places, the order
// of the calls.

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

class SlideTest : public EngineFixture {
 protected:
  // Slides out from `edge` on the given work area and returns the placements it made.
  std::vector<Placement> SlideFrom(int edge, platform::Rect workArea = {0, 0, 1920, 1040}) {
    form->Engine.WorkArea = workArea;
    system.desktop.ClearCalls();
    form->Engine.TickBusy = true;
    form->SlideOut(edge);
    return Moves(Explorer());
  }
};

TEST_F(SlideTest, TheDefaultSlideWidensByATenthAFrame) {
  Start();
  const std::vector<Placement> moves = SlideFrom(EdgeLeft);
  ASSERT_EQ(moves.size(), 12u);  // the sliver, ten frames, the full size
  EXPECT_EQ(moves.front(), (Placement{0, 1, 1, 1038}));
  const int widths[] = {1, 40, 80, 120, 160, 200, 240, 280, 320, 360};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(moves[1 + i], (Placement{0, 1, widths[i], 1038}));
  EXPECT_EQ(moves.back(), (Placement{0, 1, 400, 1038}));
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
  EXPECT_EQ(form->Engine.LastEdge, EdgeLeft);
  EXPECT_FALSE(form->Engine.TickBusy);
  EXPECT_EQ(form->Engine.PendingEdge, EdgeNone);
  EXPECT_TRUE(ExplorerWindow().topmost);
  EXPECT_EQ(CallsNamed("UpdateWindow").size(), 11u);
}

TEST_F(SlideTest, OneFrameAtTheFastestAndNoneWiderAtTheRightEdge) {
  Start("[Pos]\r\nSpeed=1\r\n");
  EXPECT_EQ(SlideFrom(EdgeLeft),
            (std::vector<Placement>{{0, 1, 1, 1038}, {0, 1, 1, 1038}, {0, 1, 400, 1038}}));
  form->Engine.ShownEdge = EdgeNone;
  EXPECT_EQ(SlideFrom(EdgeRight), (std::vector<Placement>{
                                      {1920, 1, 1, 1038}, {1920, 1, 0, 1038}, {1520, 1, 400, 1038}}));
}

TEST_F(SlideTest, AStepOfZeroKeepsEveryFrameAtOneDot) {
  Start("[Pos]\r\nSpeed=100\r\n[Exp]\r\nWidth=50\r\n");
  const std::vector<Placement> moves = SlideFrom(EdgeLeft);
  ASSERT_EQ(moves.size(), 102u);
  for (int i = 1; i <= 100; ++i) EXPECT_EQ(moves[i].W, 1) << "frame " << i;
  EXPECT_EQ(moves.back().W, 50);
}

TEST_F(SlideTest, AFrameCountBelowOneFromTheFileCountsAsOne) {
  Start();
  form->Settings.Pos.Speed = 0;  // the slider never gives this; a hand-edited file might
  EXPECT_EQ(SlideFrom(EdgeTop).size(), 3u);
}

TEST_F(SlideTest, TheFourRestingPlacesOnAWorkAreaWithTheTaskbarBelow) {
  Start();
  EXPECT_EQ(SlideFrom(EdgeLeft).back(), (Placement{0, 1, 400, 1038}));
  EXPECT_EQ(SlideFrom(EdgeRight).back(), (Placement{1520, 1, 400, 1038}));
  EXPECT_EQ(SlideFrom(EdgeTop).back(), (Placement{1, 0, 1918, 300}));
  EXPECT_EQ(SlideFrom(EdgeBottom).back(), (Placement{1, 740, 1918, 300}));
  // The bottom edge's sliver starts where the full window will end up.
  EXPECT_EQ(SlideFrom(EdgeBottom).front(), (Placement{1, 740, 1918, 1}));
}

TEST_F(SlideTest, InsetsFromTheFileTakeRoomAtTheEnds) {
  Start("[Exp]\r\nVT_ADJ=10\r\nVB_ADJ=20\r\nHL_ADJ=5\r\nHR_ADJ=7\r\n");
  EXPECT_EQ(SlideFrom(EdgeLeft).back(), (Placement{0, 11, 400, 1008}));
  EXPECT_EQ(SlideFrom(EdgeTop).back(), (Placement{6, 0, 1906, 300}));
}

TEST_F(SlideTest, ATaskbarOnTheLeftMovesTheLeftEdge) {
  Start();
  EXPECT_EQ(SlideFrom(EdgeLeft, {60, 0, 1920, 1080}).back(), (Placement{60, 1, 400, 1078}));
  EXPECT_EQ(SlideFrom(EdgeTop, {60, 0, 1920, 1080}).back(), (Placement{61, 0, 1858, 300}));
}

TEST_F(SlideTest, APinnedWindowIsNotLeftAboveTheOthers) {
  Start();
  form->Settings.Exp.Fix = 1;
  SlideFrom(EdgeLeft);
  EXPECT_FALSE(ExplorerWindow().topmost);
}

TEST_F(SlideTest, ParkingHidesRestylesMovesAndShowsInThatOrder) {
  Start();
  system.desktop.ClearCalls();
  form->ParkExplorer();
  const std::string h = sim::HandleText(Explorer());
  EXPECT_EQ(system.desktop.Calls(),
            (std::vector<std::string>{"ShowWindow(" + h + ", 0)",
                                      "SetWindowLong(" + h + ", -20, 0x80)",
                                      "MoveWindow(" + h + ", -1920, -1080, 0, 0)",
                                      "ShowWindow(" + h + ", 1)"}));
  // The system grants the window its minimum size, far off the screen, without taskbar button.
  EXPECT_EQ(ExplorerRect().Left, -1920);
  EXPECT_EQ(ExplorerRect().Top, -1080);
  EXPECT_EQ(ExplorerExStyle(), platform::WsExToolWindow);
  EXPECT_TRUE(ExplorerWindow().visible);
  EXPECT_FALSE(ExplorerWindow().minimized);
}

TEST_F(SlideTest, ClearingTheToolStyleKeepsTheOtherBitsAndTheZOrder) {
  Start();
  ExplorerWindow().exStyle = platform::WsExToolWindow | 0x200;  // and the sunken edge
  system.desktop.ClearCalls();
  form->ClearToolStyle();
  EXPECT_EQ(ExplorerExStyle(), 0x200u);
  const std::vector<std::string> positions = CallsNamed("SetWindowPos");
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_NE(positions[0].find("0x27)"), std::string::npos);  // no size, move, z-order; frame
}

// Invisible borders or not, the frame seen is flush and as large as the setting, round trips.
struct Bordered : EngineFixture {
  void TestBody() override {}
  void Rows() {
    Start("[Exp]\r\nLeft=1\r\nRight=1\r\nUpper=1\r\nLower=1\r\n");
    const struct { platform::Point at, away; platform::Rect frame; } edges[] = {
        {{0, 500}, {430, 500}, {0, 1, 400, 1039}},
        {{1919, 500}, {1490, 500}, {1520, 1, 1920, 1039}},
        {{900, 0}, {900, 330}, {1, 0, 1919, 300}},
        {{900, 1079}, {900, 715}, {1, 740, 1919, 1040}}};
    for (const int border : {7, 0, 7}) {
      system.desktop.SetInvisibleBorders({border, 0, border, border});
      for (const auto& e : edges) {
        TickAt(e.at.X, e.at.Y, 3);
        platform::Rect frame;
        system.desktop.DwmGetWindowAttribute(Explorer(), 9 /* the visible frame */, &frame);
        EXPECT_EQ(frame, e.frame) << border << " at " << e.at.X << ", " << e.at.Y;
        TickAt(e.away.X, e.away.Y);  // past the invisible border by more than Pos.Offset
        const Settings::ExpSection& exp = form->Settings.Exp;
        EXPECT_EQ(std::tuple(form->Engine.ShownEdge, exp.Width, exp.Height),
                  std::tuple(0, 400, 300));
      }
    }
  }
};
TEST(HonestToTheUser, TheVisibleFrameIsFlushAndAsLargeAsTheSetting) { Bordered().Rows(); }

}  // namespace
}  // namespace varnel::testing
