// The rules that need no form, as plain functions: the edge zones and the corners, the slide's
// placements, the slots of the dual layout; and the small helpers of base/ beside them.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string_view>

#include "base/Ascii.h"
#include "base/Deadline.h"
#include "base/Paths.h"
#include "engine/EdgeZones.h"
#include "engine/Geometry.h"

namespace varnel {

bool operator==(const TSlideRect& a, const TSlideRect& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height;
}
void PrintTo(const TSlideRect& r, std::ostream* out) {
  *out << "(" << r.Left << ", " << r.Top << ", " << r.Width << " x " << r.Height << ")";
}

namespace {

constexpr ScreenSize kScreen{1920, 1080};
constexpr platform::Rect kTaskbarBelow{0, 0, 1920, 1040};

Settings::PosSection DeadZones(int conner) {
  Settings::PosSection pos;
  pos.INHConner = conner;
  pos.INHdotX = 30;
  pos.INHdotY = 20;
  return pos;
}

TEST(EdgeZones, TheExplorersLineAndTheLaunchMenusReachBeyondTheScreen) {
  const Settings::PosSection pos = DeadZones(1);
  const struct {
    int edge;
    platform::Point at;
    bool explorer;
    bool launch;
  } cases[] = {
      {EdgeLeft, {0, 500}, true, true},       {EdgeLeft, {1, 500}, false, false},
      {EdgeLeft, {-30, 500}, false, true},    {EdgeLeft, {-31, 500}, false, false},
      {EdgeRight, {1919, 500}, true, true},   {EdgeRight, {1918, 500}, false, false},
      {EdgeRight, {1949, 500}, true, true},   {EdgeRight, {1950, 500}, true, false},
      // The top's far end is open where the left's is closed.
      {EdgeTop, {900, 0}, true, true},        {EdgeTop, {900, -19}, false, true},
      {EdgeTop, {900, -20}, false, false},    {EdgeBottom, {900, 1079}, true, true},
      {EdgeBottom, {900, 1099}, true, true},  {EdgeBottom, {900, 1100}, true, false},
      {EdgeNone, {0, 0}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "edge " << c.edge << " at " << c.at.X << ", " << c.at.Y);
    EXPECT_EQ(InExplorerZone(c.edge, c.at, kScreen), c.explorer);
    EXPECT_EQ(InLaunchZone(c.edge, c.at, kScreen, pos), c.launch);
  }
}

TEST(EdgeZones, CornersAreDeadWithinTheDotsAcrossTheEdgeOnlyWhenSwitchedOn) {
  const struct {
    int edge;
    platform::Point at;
    bool clear;
  } cases[] = {
      {EdgeLeft, {0, 20}, false},      {EdgeLeft, {0, 21}, true},
      {EdgeRight, {1919, 1059}, true}, {EdgeRight, {1919, 1060}, false},
      {EdgeTop, {30, 0}, false},       {EdgeTop, {31, 0}, true},
      {EdgeBottom, {1889, 1079}, true}, {EdgeBottom, {1890, 1079}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "edge " << c.edge << " at " << c.at.X << ", " << c.at.Y);
    EXPECT_EQ(ClearOfCorners(c.edge, c.at, kScreen, DeadZones(1)), c.clear);
    EXPECT_TRUE(ClearOfCorners(c.edge, c.at, kScreen, DeadZones(0)));
  }
}

TEST(EdgeZones, StrictlyInsideLeavesOutEveryBorderLine) {
  EXPECT_TRUE(StrictlyInside({1, 1}, kScreen));
  EXPECT_TRUE(StrictlyInside({1918, 1078}, kScreen));
  EXPECT_FALSE(StrictlyInside({0, 500}, kScreen));
  EXPECT_FALSE(StrictlyInside({1919, 500}, kScreen));
  EXPECT_FALSE(StrictlyInside({900, 0}, kScreen));
  EXPECT_FALSE(StrictlyInside({900, 1079}, kScreen));
}

Settings::ExpSection Explorer(int vt = 0, int vb = 0, int hl = 0, int hr = 0) {
  Settings::ExpSection exp;
  exp.Width = 400;
  exp.Height = 300;
  exp.VT_ADJ = vt;
  exp.VB_ADJ = vb;
  exp.HL_ADJ = hl;
  exp.HR_ADJ = hr;
  return exp;
}

TEST(SlideGeometry, WhereTheWindowRestsOutAndWhereItsSliverBegins) {
  const struct {
    int edge;
    platform::Rect area;
    Settings::ExpSection exp;
    TSlideRect out;
    TSlideRect sliver;
  } cases[] = {
      {EdgeLeft, kTaskbarBelow, Explorer(), {0, 1, 400, 1038}, {0, 1, 1, 1038}},
      {EdgeRight, kTaskbarBelow, Explorer(), {1520, 1, 400, 1038}, {1920, 1, 1, 1038}},
      {EdgeTop, kTaskbarBelow, Explorer(), {1, 0, 1918, 300}, {1, 0, 1918, 1}},
      {EdgeBottom, kTaskbarBelow, Explorer(), {1, 740, 1918, 300}, {1, 740, 1918, 1}},
      {EdgeLeft, kTaskbarBelow, Explorer(10, 20), {0, 11, 400, 1008}, {0, 11, 1, 1008}},
      {EdgeTop, kTaskbarBelow, Explorer(0, 0, 5, 7), {6, 0, 1906, 300}, {6, 0, 1906, 1}},
      {EdgeLeft, {60, 0, 1920, 1040}, Explorer(), {60, 1, 400, 1038}, {60, 1, 1, 1038}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "edge " << c.edge << ", work area left " << c.area.Left);
    const int extent = c.edge == EdgeLeft || c.edge == EdgeRight ? c.exp.Width : c.exp.Height;
    EXPECT_EQ(SlidePlacement(c.edge, c.area, c.exp, extent), c.out);
    EXPECT_EQ(SlideSliver(c.edge, c.area, c.exp), c.sliver);
  }
}

TEST(SlideGeometry, FramesGrowByATruncatedShareAndNeverShowNothingButAtTheRight) {
  const struct {
    int edge, extent, frames, frame, shown;
  } cases[] = {
      {EdgeLeft, 400, 10, 0, 1},   {EdgeLeft, 400, 10, 1, 40},  {EdgeLeft, 400, 10, 9, 360},
      {EdgeRight, 400, 10, 0, 0},  {EdgeLeft, 50, 100, 99, 1},  {EdgeRight, 50, 100, 99, 0},
      {EdgeBottom, 300, 7, 6, 252}, {EdgeTop, 300, 1, 0, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FrameExtent(c.edge, c.extent, c.frames, c.frame), c.shown)
        << "edge " << c.edge << ", " << c.extent << " in " << c.frames << ", frame " << c.frame;
  }
}

TEST(DualLayout, TheSlotAtTheEdgeAndTheRestBesideIt) {
  constexpr platform::Rect kSmall{0, 0, 1024, 740};
  const struct {
    int edge;
    Settings::ExpSection exp;
    TSlideRect slot;
    TSlideRect rest;
  } cases[] = {
      {EdgeLeft, Explorer(), {0, 0, 400, 740}, {400, 0, 624, 740}},
      {EdgeRight, Explorer(10, 20), {624, 10, 400, 710}, {0, 10, 624, 710}},
      {EdgeTop, Explorer(0, 0, 10, 20), {10, 0, 994, 300}, {10, 300, 994, 440}},
      {EdgeBottom, Explorer(0, 0, 10, 20), {10, 440, 994, 300}, {10, 0, 994, 440}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "edge " << c.edge);
    const std::optional<SlotLayout> layout = LayoutBesideSlot(c.edge, kSmall, c.exp);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->Slot, c.slot);
    EXPECT_EQ(layout->Rest, c.rest);
  }
  EXPECT_FALSE(LayoutBesideSlot(EdgeNone, kSmall, Explorer()).has_value());
}

TEST(BasePaths, FolderNameAndExtensionAtEveryKindOfSeparator) {
  const struct {
    std::string_view path, folder, name, extension, stem;
  } cases[] = {
      {"C:\\Tools\\varnel.exe", "C:\\Tools\\", "varnel.exe", "exe", "C:\\Tools\\varnel"},
      {"C:/Tools/varnel.ini", "C:/Tools/", "varnel.ini", "ini", "C:/Tools/varnel"},
      {"C:varnel.exe", "C:", "varnel.exe", "exe", "C:varnel"},
      {"C:\\v1.2\\readme", "C:\\v1.2\\", "readme", "", "C:\\v1.2\\readme"},
      {"archive.tar.gz", "", "archive.tar.gz", "gz", "archive.tar"},
      {"C:\\Launch\\", "C:\\Launch\\", "", "", "C:\\Launch\\"},
      {"D:\\ツール\\メモ帳.lnk", "D:\\ツール\\", "メモ帳.lnk", "lnk", "D:\\ツール\\メモ帳"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FolderPart(c.path), c.folder);
    EXPECT_EQ(FileNamePart(c.path), c.name);
    EXPECT_EQ(ExtensionPart(c.path), c.extension);
    EXPECT_EQ(WithoutExtension(c.path), c.stem);
  }
  EXPECT_EQ(FolderPart(std::wstring_view(L"C:\\Data\\varnel.ini")), L"C:\\Data\\");
}

TEST(BaseAscii, OnlyAsciiLettersHaveACase) {
  EXPECT_EQ(AsciiLowered("C:\\WINDOWS\\Explorer.EXE"), "c:\\windows\\explorer.exe");
  EXPECT_EQ(AsciiLowered("ＡＢＣ Ä"), "ＡＢＣ Ä");
  EXPECT_TRUE(EqualNoCase("Exp", "EXP"));
  EXPECT_FALSE(EqualNoCase("Exp", "Ex"));
  EXPECT_FALSE(EqualNoCase("ＡＢ", "ａｂ"));
}

TEST(BaseDeadline, TickCountsCompareAcrossTheWrap) {
  EXPECT_FALSE(TickPassed(100, 100));
  EXPECT_TRUE(TickPassed(101, 100));
  // A deadline 512 ms after 0xFFFFFF00 lies past the wrap, at 0x100.
  const std::uint32_t deadline = 0xFFFFFF00u + 0x200u;
  EXPECT_FALSE(TickPassed(0xFFFFFFF0u, deadline));
  EXPECT_TRUE(TickPassed(0x101u, deadline));
  EXPECT_EQ(TicksUntil(0xFFFFFFF0u, deadline), 0x110);
  EXPECT_EQ(TicksUntil(0x110u, deadline), -0x10);
}

}  // namespace
}  // namespace varnel
