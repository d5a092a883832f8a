// The keyboard's way in, the pause and the quiet programs: what a keystroke's text means, when
// an edge may fire, and what the held keystrokes do.

#include "settings/HotkeyText.h"
#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

using platform::Monitor;
using platform::Rect;

TEST(HotkeyText, ReadIgnoringCaseWrittenInOneFormElseRefused) {
  const struct { const char* text; const char* written; } rows[] = {
      {"ctrl+alt+e", "Ctrl+Alt+E"},        {"Win + Shift + f12", "Shift+Win+F12"},
      {"Alt+Ctrl+PageDown", "Ctrl+Alt+PageDown"}, {"Ctrl+;", "Ctrl+;"},
      {"Ctrl+Alt+\\", "Ctrl+Alt+\\"},      {"F9", "F9"},
      {"shift+pause", "Shift+Pause"},      {"Alt+space", "Alt+Space"},
      {"", nullptr},                       {"E", nullptr},  // typing keys need Ctrl, Alt or Win
      {"Shift+Left", nullptr},             {"Ctrl+Ctrl+E", nullptr},
      {"Ctrl+", nullptr},                  {"Ctrl++", nullptr},
      {"Ctrl+F25", nullptr},               {"Ctrl+F0", nullptr},
      {"Hyper+E", nullptr},                {"Ctrl+Alt+Ä", nullptr},
  };
  for (const auto& row : rows) {
    const std::optional<Hotkey> hotkey = ParseHotkey(row.text);
    ASSERT_EQ(hotkey.has_value(), row.written != nullptr) << row.text;
    if (!hotkey) continue;
    EXPECT_EQ(FormatHotkey(*hotkey), row.written) << row.text;
    // The hotkey control shows it as it is, Win aside, which the control has not.
    const Hotkey withoutWin{hotkey->modifiers & ~platform::ModWin, hotkey->virtualKey};
    if (withoutWin.modifiers != 0 || hotkey->modifiers == 0) {
      EXPECT_EQ(HotkeyFromControlCode(HotkeyControlCode(withoutWin)), withoutWin) << row.text;
    }
  }
  // Text that names no keystroke stays in the file as it was.
  EXPECT_EQ(HotkeyTextForm("Ctrl+Alt+Ä"), "Ctrl+Alt+Ä");
  EXPECT_EQ(HotkeyTextForm("alt+F4"), "Alt+F4");
}

const std::vector<Monitor> kTwo = {{Rect::FromSize(0, 0, 1920, 1080), Rect::FromSize(0, 0, 1920, 1040), 96, true},
                                   {Rect::FromSize(1920, 0, 1920, 1080), Rect::FromSize(1920, 0, 1920, 1040)}};

class KeyboardTest : public EngineFixture {};

// Whether an edge may fire on each monitor, for what is in front and what the user set.
TEST_F(KeyboardTest, MayAnEdgeFireNowOnEachMonitor) {
  system.desktop.SetMonitors(kTwo);
  Start("[Quiet]\r\nPrograms= Game.EXE ; vlc.exe\r\n");
  const std::uint32_t game = system.desktop.AddProcess("D:\\Games\\game.exe");
  const std::uint32_t editor = system.desktop.AddProcess("C:\\Tools\\notepad.exe");
  const platform::Hwnd front = system.desktop.AddWindow({.className = "W", .processId = game});
  const Rect windowed = Rect::FromSize(100, 100, 800, 600);
  const struct {
    bool paused; std::uint32_t process; int on; Rect rect; int guard; bool first, second;
  } rows[] = {
      {false, editor, 0, windowed, 1, true, true},
      {true, editor, 0, windowed, 1, false, false},
      {false, game, 0, windowed, 1, false, true},        // a quiet program: its monitor only
      {false, game, 1, windowed, 0, true, false},        // the guard's switch does not matter
      {false, editor, 1, kTwo[1].rect, 1, true, false},  // full-screen work on the second
      {false, editor, 1, kTwo[1].rect, 0, true, true},
  };
  for (const auto& r : rows) {
    form->SetPaused(r.paused);
    form->Settings.Exp.FullGuard = r.guard;
    sim::SimWindow& window = *system.desktop.Find(front);
    window.processId = r.process;
    window.rect = r.rect;
    if (r.on == 1 && r.rect == windowed) window.rect = Rect::FromSize(2020, 100, 800, 600);
    system.desktop.SetForegroundWindow(front);
    const auto& monitors = form->Engine.Monitors;
    EXPECT_EQ(form->Gate.MayFire(&monitors[0]), r.first) << &r - rows;
    EXPECT_EQ(form->Gate.MayFire(&monitors[1]), r.second) << &r - rows;
  }
  // What the gate says is what the tick does: a quiet program on the primary keeps the left
  // edge shut, and the edge opens as soon as it leaves the front.
  form->SetPaused(false);
  system.desktop.Find(front)->processId = game;
  system.desktop.Find(front)->rect = windowed;
  TickAt(0, 500, 5);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  system.desktop.Find(front)->processId = editor;
  TickAt(0, 500);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeLeft);
}

TEST_F(KeyboardTest, TheHeldKeystrokesShowParkPopAndPause) {
  constexpr unsigned kCtrlAlt = platform::ModControl | platform::ModAlt;
  system.desktop.HoldHotKeyElsewhere(kCtrlAlt, 'L');
  Start("[Hotkey]\r\nExplorer=ctrl+alt+e\r\nLaunch=Ctrl+Alt+L\r\nPause=Ctrl+Alt+P\r\n"
        "[Exp]\r\nLeft=0\r\nRight=1\r\n");
  // The one held elsewhere is told of once, naming it; the others work.
  system.ui.AdvanceClock(10);
  ASSERT_EQ(system.ui.MessageBoxes().size(), 1u);
  EXPECT_NE(system.ui.MessageBoxes()[0].text.find("Ctrl+Alt+L キー（Launch メニュー）"),
            std::string::npos);
  form->BitBtn1Click(*form);
  system.ui.AdvanceClock(10);
  EXPECT_EQ(system.ui.MessageBoxes().size(), 1u);
  EXPECT_FALSE(system.desktop.PressHotKey(kCtrlAlt, 'L'));

  // Out at its edge and in front, and out it stays wherever the pointer goes.
  ASSERT_TRUE(system.desktop.PressHotKey(kCtrlAlt, 'E'));
  EXPECT_EQ(form->Engine.ShownEdge, EdgeRight);
  EXPECT_EQ(system.desktop.GetForegroundWindow(), Explorer());
  TickAt(100, 500, 3);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeRight);
  system.desktop.PressHotKey(kCtrlAlt, 'E');
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  // Parked too when the user turns to another program, and the edge is as before.
  system.desktop.PressHotKey(kCtrlAlt, 'E');
  const std::uint32_t other = system.desktop.AddProcess("notepad.exe");
  system.desktop.SetForegroundWindow(system.desktop.AddWindow({.className = "N", .processId = other}));
  TickAt(100, 500);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  EXPECT_FALSE(form->KeyShown.Active());

  // Paused: no edge fires, the tray says so; resumed, it fires.
  system.desktop.PressHotKey(kCtrlAlt, 'P');
  EXPECT_TRUE(form->mnuPause->Checked() && form->mnuPauseS->Checked());
  TickAt(1919, 500, 5);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeNone);
  const platform::NotifyIconData& icon = system.shell.Tray().begin()->second;
  EXPECT_EQ(icon.tip.rfind("一時停止中", 0), 0u);
  EXPECT_EQ(sim::ImageName(icon.icon), "PAUSED");
  form->mnuPauseClick(*form);
  TickAt(1919, 500, 3);
  EXPECT_EQ(form->Engine.ShownEdge, EdgeRight);
  EXPECT_EQ(sim::ImageName(system.shell.Tray().begin()->second.icon), "MAINICON");

  // The Launch key, once free and set, pops the menu at the pointer.
  TickAt(900, 500, 2);
  form->Settings.Hotkey.Launch = "Ctrl+Alt+K";
  form->BitBtn1Click(*form);
  system.desktop.SetCursorPos({700, 300});
  const std::size_t shown = system.ui.MenusShown().size();
  ASSERT_TRUE(system.desktop.PressHotKey(kCtrlAlt, 'K'));
  ASSERT_EQ(system.ui.MenusShown().size(), shown + 1);
  EXPECT_EQ(system.ui.MenusShown().back().at, (platform::Point{700, 300}));
}

}  // namespace
}  // namespace varnel::testing
