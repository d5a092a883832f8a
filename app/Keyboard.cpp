// The keyboard's way to the program, and the pause: the keystrokes held system-wide bring the
// Explorer out or park it, pop the Launch menu, pause and resume the edges.

#include "app/Unit1.h"
#include "base/ScopeExit.h"
#include "engine/Geometry.h"

namespace varnel {

namespace {

// A field shows the keystroke its setting names, or none when the setting names none or one
// the field cannot show (with Win, typed into the file); that text is then the field's hint.
void ShowKeystroke(THotKey& field, const std::string& setting) {
  const std::optional<Hotkey> hotkey = ParseHotkey(setting);
  const bool showable = hotkey && (hotkey->modifiers & platform::ModWin) == 0;
  field.SetHotKey(showable ? HotkeyControlCode(*hotkey) : 0);
  field.SetHint(showable || setting.empty() ? std::string() : "設定ファイルの値: " + setting);
}

// While the user presses a keystroke the field passes through its modifiers alone; only a
// whole keystroke that can be held is taken. An emptied field sets none.
void TakeKeystroke(const THotKey& field, std::string& setting) {
  if (field.HotKey() == 0) {
    setting.clear();
    return;
  }
  if (const std::optional<Hotkey> hotkey = HotkeyFromControlCode(field.HotKey())) {
    setting = FormatHotkey(*hotkey);
  }
}

void Clear(THotKey& field, std::string& setting) {
  field.SetHotKey(0);
  field.SetHint("");
  setting.clear();
}

}  // namespace

void TForm1::FillKeysPage() {
  ShowKeystroke(*HotKeyExplorer, Settings.Hotkey.Explorer);
  ShowKeystroke(*HotKeyLaunch, Settings.Hotkey.Launch);
  ShowKeystroke(*HotKeyPause, Settings.Hotkey.Pause);
  EditQuiet->SetText(Settings.Quiet.Programs);
}

void TForm1::HotKeyExplorerChange(TComponent&) {
  TakeKeystroke(*HotKeyExplorer, Settings.Hotkey.Explorer);
}
void TForm1::HotKeyLaunchChange(TComponent&) {
  TakeKeystroke(*HotKeyLaunch, Settings.Hotkey.Launch);
}
void TForm1::HotKeyPauseChange(TComponent&) { TakeKeystroke(*HotKeyPause, Settings.Hotkey.Pause); }
void TForm1::ButtonClearExplorerClick(TComponent&) {
  Clear(*HotKeyExplorer, Settings.Hotkey.Explorer);
}
void TForm1::ButtonClearLaunchClick(TComponent&) { Clear(*HotKeyLaunch, Settings.Hotkey.Launch); }
void TForm1::ButtonClearPauseClick(TComponent&) { Clear(*HotKeyPause, Settings.Hotkey.Pause); }
void TForm1::EditQuietChange(TComponent&) { Settings.Quiet.Programs = EditQuiet->Text(); }

void TForm1::ApplyHotkeys() {
  if (!Hotkeys) {
    Hotkeys = std::make_unique<GlobalHotkeys>(System(), [this](HotkeyAction action) {
      Application().Guarded([this, action] { HotkeyPressed(action); });
    });
  }
  const std::string refused = Hotkeys->Apply(Settings.Hotkey);
  if (refused.empty()) return;
  // Told after the start, or after the OK that asked for it, has run its course: a message box
  // here would hold the Explorer's start until it is answered.
  System().ui.PostTask([this, refused] {
    System().ui.MessageBox(platform::kNoWindow, refused, Application().Title(),
                           platform::MbOk | platform::MbIconWarning);
  });
}

void TForm1::HotkeyPressed(HotkeyAction action) {
  switch (action) {
    case HotkeyAction::Pause:
      SetPaused(!Gate.Paused());
      return;
    // While the settings window is open the engine rests, the keyboard's way included.
    case HotkeyAction::Explorer:
      if (!SettingsOpen) ToggleExplorerFromKeyboard();
      return;
    case HotkeyAction::Launch:
      if (!SettingsOpen) PopLaunchMenuAtPointer();
      return;
  }
}

void TForm1::ToggleExplorerFromKeyboard() {
  platform::WindowManager& windows = System().windows;
  if (Engine.TickBusy) return;
  const auto busy = RaiseForScope(Engine.TickBusy);
  if (!windows.IsWindow(Engine.ExplorerWnd)) {
    RestartExplorer();
    if (!windows.IsWindow(Engine.ExplorerWnd)) return;
  }
  if (Engine.ShownEdge != EdgeNone) {
    // A pinned window stays where the user put it; the keystroke brings it to the front.
    if (Settings.Exp.Fix != 0) {
      windows.SetForegroundWindow(Engine.ExplorerWnd);
    } else {
      ParkShownExplorer();
    }
    return;
  }
  const platform::Point pointer = windows.GetCursorPos();
  const platform::Monitor* monitor = ComingOutMonitor(pointer);
  if (Settings.Exp.AllMonitors != 0 && monitor != nullptr) {
    Engine.ShownMonitor = monitor->rect;
    Engine.ShownArea = monitor->workArea;
  }
  ClearToolStyle();
  SlideOut(KeyShownExplorer::EdgeFor(Engine.LastEdge, Settings.Exp));
  windows.SetForegroundWindow(Engine.ExplorerWnd);
  KeyShown.Shown(windows.GetForegroundWindow());
}

void TForm1::PopLaunchMenuAtPointer() {
  // A menu of the program is open already: the keyboard is in it.
  if (Application().ShownMenu() != nullptr) return;
  const platform::Point pointer = System().windows.GetCursorPos();
  PopupMenuLaunch->Popup(pointer.X, pointer.Y);
}

void TForm1::SetPaused(bool paused) {
  Gate.SetPaused(paused);
  mnuPause->SetChecked(paused);
  mnuPauseS->SetChecked(paused);
  TrayIcon1->SetIcon(Ui().LoadImageResource(paused ? "PAUSED" : "MAINICON"));
  TrayIcon1->SetTipHelp(TrayTip());
  // A count begun at an edge before the pause does not run out the moment it ends.
  Engine.PendingEdge = EdgeNone;
  Engine.LaunchPendingEdge = EdgeNone;
}

void TForm1::mnuPauseClick(TComponent& /*sender*/) { SetPaused(!Gate.Paused()); }

std::string TForm1::TrayTip() const {
  return Gate.Paused() ? "一時停止中　" + ClockText() : ClockText();
}

}  // namespace varnel
