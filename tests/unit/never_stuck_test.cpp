// Other programs can neither hold Varnel up nor have it search what they keep private.

#include "tests/unit/EngineFixture.h"

// GCC before 14 warns of every field a designated initializer leaves to its default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace varnel::testing {
namespace {

using platform::Hwnd, platform::Rect, platform::kNoWindow;
using NeverStuckNeighbours = EngineFixture;

// Another program's clipboard viewer; it mends its link as the chain tells it.
struct Viewer : platform::ControlSink {
  explicit Viewer(sim::SimDesktop& d) : self(d.AddWindow({.processId = 7, .sink = this})) {}
  Hwnd self, next{};
  std::optional<std::intptr_t> PeerWindowMessage(unsigned message, std::uintptr_t gone,
                                                 std::intptr_t after) override {
    if (message == platform::WmChangeCbChain && Hwnd(gone) == next) next = Hwnd(after);
    return 0;
  }
};

TEST_F(NeverStuckNeighbours, AHungViewerCostsAtMostASecondAndTheChainStaysRight) {
  Viewer last(system.desktop), behind(system.desktop), ahead(system.desktop);  // of Varnel
  const auto Join = [&](Viewer& v) { v.next = system.clipboard.SetClipboardViewer(v.self); };
  Join(last), Join(behind);
  Start("[Watch]\r\nBrowser=1\r\n");
  system.desktop.SetHung(behind.self, true);
  const auto Costs = [&](auto step) {
    const std::uint32_t before = system.clock.Now();
    step();
    return system.clock.Now() - before;
  };
  EXPECT_LE(Costs([&] { system.clipboard.SetContents({{platform::CfUnicodeText, "x"}}); }), 1000u);
  EXPECT_LE(Costs([&] { system.clipboard.ChangeClipboardChain(last.self, kNoWindow); }), 1000u);
  Join(ahead), system.desktop.SetHung(ahead.self, true);
  EXPECT_LE(Costs([&] { application.reset(); }), 1000u);
  EXPECT_EQ(system.desktop.BlockingSendsToHung(), std::vector<std::string>{});
  // Running again, they hear what Varnel passed on to them and that it has left.
  for (const Hwnd hung : {behind.self, ahead.self}) system.desktop.SetHung(hung, false);
  EXPECT_EQ((std::vector{system.clipboard.Head(), ahead.next, behind.next}),
            (std::vector{ahead.self, behind.self, kNoWindow}));
}

TEST_F(NeverStuckNeighbours, ACopyMarkedPrivateIsNeverSearched) {
  Start("[Watch]\r\nBrowser=1\r\n");
  for (int key : {platform::VkShift, platform::VkControl}) system.desktop.SetKeyHeld(key, true);
  const char* const history = "CanIncludeInClipboardHistory";
  // Beside the text, a format registered by name and its data; the searches the copy makes.
  const std::tuple<const char*, std::string, std::size_t> rows[] = {
      {"ExcludeClipboardContentFromMonitorProcessing", "", 0}, {"Clipboard Viewer Ignore", "", 0},
      {history, std::string(4, '\0'), 0}, {history, std::string("\1\0\0\0", 4), 1},
      {history, "\1", 0 /* unreadable: a mark */}};
  for (const auto& [format, data, searches] : rows) {
    SCOPED_TRACE(::testing::Message() << format << ", " << data.size() << " bytes");
    const std::size_t before = system.shell.Calls().size();
    system.clipboard.SetContents({{platform::CfUnicodeText, "secret"},
                                  {system.clipboard.RegisterClipboardFormat(format), data}});
    EXPECT_EQ(system.shell.Calls().size() - before, searches);
  }
}

// The first instance's one window (its settings window, shrunk beyond the screen while shut):
// where, shown, last active; its mutex refused as access denied; brought forward.
const Rect kOpen = Rect::FromSize(1600, 660, 273, 372), kShut = Rect::FromSize(-1920, -1080, 1, 1);
using SecondStart = std::tuple<Rect, bool, bool, bool, bool>;
class ASecondStart : public EngineFixture, public ::testing::WithParamInterface<SecondStart> {};
INSTANTIATE_TEST_SUITE_P(Rows, ASecondStart, ::testing::Values(
    SecondStart{kShut, true, true, false, false}, SecondStart{kOpen, false, true, false, false},
    SecondStart{kOpen, true, false, true, true}));
TEST_P(ASecondStart, BringsForwardOnlyAWindowTheUserSees) {
  const auto [rect, shown, lastActive, refused, forward] = GetParam();
  refused ? system.kernel.RefuseMutex("Ident2056")
          : system.kernel.HoldMutexElsewhere("Ident2056", true);
  const Hwnd app = system.desktop.AddWindow(
      {.className = "TApplication", .text = "varnel", .processId = 7, .visible = true});
  const Hwnd window =
      system.desktop.AddWindow({.owner = app, .processId = 7, .rect = rect, .visible = shown});
  system.desktop.Find(app)->lastActivePopup = lastActive ? window : kNoWindow;
  Start();
  EXPECT_TRUE(application->Terminated() && !form->SingleInstance1->HoldsName());
  application.reset();
  const std::string brought = "SetForegroundWindow(" + sim::HandleText(window) + ")";
  EXPECT_EQ(CallsNamed("SetForegroundWindow"), std::vector<std::string>(forward, brought));
}

}  // namespace
}  // namespace varnel::testing
