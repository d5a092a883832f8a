// The tick changes nothing that is already right: after every tick the managed window is in
// the resting state the engine promises (parked: exactly the tool style, shown normally, at
// -W, -H; out: its place at the edge, its ordinary style, topmost unless pinned), and a tick
// that finds it so leaves the window alone.

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

struct WindowState {
  std::uint32_t exStyle = 0;
  bool visible = false;
  bool minimized = false;
  bool maximized = false;
  bool topmost = false;
  platform::Rect rect;
  friend bool operator==(const WindowState&, const WindowState&) = default;
  friend void PrintTo(const WindowState& s, std::ostream* out) {
    *out << "exstyle 0x" << std::hex << s.exStyle << std::dec << (s.visible ? " shown" : " hidden")
         << (s.minimized ? " minimised" : "") << (s.maximized ? " maximised" : "")
         << (s.topmost ? " topmost" : "") << " at (" << s.rect.Left << ", " << s.rect.Top
         << ") " << s.rect.Width() << " x " << s.rect.Height();
  }
};

class RestingStateTest : public EngineFixture {
 protected:
  void StartAllEdges() {
    Start("[Exp]\r\nLeft=1\r\nRight=1\r\nUpper=1\r\nLower=1\r\n");
    parkedRect_ = ExplorerRect();
  }
  WindowState Now() {
    const sim::SimWindow& w = ExplorerWindow();
    return {ExplorerExStyle(), w.visible, w.minimized, w.maximized, w.topmost, w.rect};
  }
  WindowState Parked(bool topmost = true) const {
    return {platform::WsExToolWindow, true, false, false, topmost, parkedRect_};
  }
  static WindowState Out(platform::Rect rect, bool topmost = true) {
    return {0, true, false, false, topmost, rect};
  }
  // Ticks with the pointer at (x, y), checking the state after each one.
  void TicksAt(int x, int y, int ticks, const WindowState& expected) {
    for (int i = 0; i < ticks; ++i) {
      TickAt(x, y);
      ASSERT_EQ(Now(), expected) << "after tick " << i + 1 << " at (" << x << ", " << y << ")";
    }
  }
  std::vector<std::string> WindowChanges() const {
    std::vector<std::string> changes;
    for (const char* name :
         {"ShowWindow", "SetWindowLong", "MoveWindow", "SetWindowPos", "SendMessage"}) {
      for (const std::string& call : CallsNamed(name)) changes.push_back(call);
    }
    return changes;
  }
  platform::Rect parkedRect_;
};

TEST_F(RestingStateTest, AnIdleParkedTickOnlyReads) {
  StartAllEdges();
  TicksAt(960, 540, 1, Parked());
  system.desktop.ClearCalls();
  TicksAt(960, 540, 20, Parked());
  EXPECT_EQ(WindowChanges(), std::vector<std::string>{});
}

TEST_F(RestingStateTest, OutAtEachEdgeAndParkedAgain) {
  const struct {
    int x, y;
    platform::Rect out;
  } edges[] = {
      {0, 500, platform::Rect::FromSize(0, 1, 400, 1038)},
      {1919, 500, platform::Rect::FromSize(1520, 1, 400, 1038)},
      {900, 0, platform::Rect::FromSize(1, 0, 1918, 300)},
      {900, 1079, platform::Rect::FromSize(1, 740, 1918, 300)},
  };
  StartAllEdges();
  for (const auto& edge : edges) {
    SCOPED_TRACE(::testing::Message() << "edge at (" << edge.x << ", " << edge.y << ")");
    TicksAt(edge.x, edge.y, 2, Parked());  // counting
    TicksAt(edge.x, edge.y, 3, Out(edge.out));
    TicksAt(960, 540, 3, Parked());
  }
}

TEST_F(RestingStateTest, APinnedWindowKeepsItsOrdinaryStyleOutAndParked) {
  StartAllEdges();
  TicksAt(0, 500, 2, Parked());
  TicksAt(0, 500, 1, Out(platform::Rect::FromSize(0, 1, 400, 1038)));
  form->mnuExpFix->Click();
  TicksAt(960, 540, 3, Out(platform::Rect::FromSize(0, 1, 400, 1038), false));
  // The settings window parks it; pinned, it stays parked without the tool style.
  form->mnuSettingClick(*form);
  form->BitBtn1Click(*form);
  WindowState pinnedParked = Parked(false);
  pinnedParked.exStyle = 0;
  TicksAt(960, 540, 3, pinnedParked);
  system.desktop.ClearCalls();
  TicksAt(960, 540, 2, pinnedParked);
  EXPECT_EQ(WindowChanges(), std::vector<std::string>{});
}

TEST_F(RestingStateTest, WhatTheExplorerOrTheUserChangesWhileParkedIsUndoneInOneTick) {
  StartAllEdges();
  TicksAt(960, 540, 1, Parked());
  const std::function<void()> drifts[] = {
      [&] { ExplorerWindow().exStyle = 0x40100; },  // its own styles back, the app-window bit
      [&] { system.desktop.ShowWindow(Explorer(), platform::SwHide); },
      [&] { system.desktop.ShowWindow(Explorer(), platform::SwShowMinimized); },
      [&] { system.desktop.ShowWindow(Explorer(), platform::SwShowMaximized); },
      [&] { system.desktop.MoveWindow(Explorer(), 100, 100, 600, 400, true); },
  };
  for (std::size_t i = 0; i < std::size(drifts); ++i) {
    SCOPED_TRACE(::testing::Message() << "drift " << i);
    drifts[i]();
    TicksAt(960, 540, 2, Parked());
  }
}

}  // namespace
}  // namespace varnel::testing
