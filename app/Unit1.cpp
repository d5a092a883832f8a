// The main form's lifecycle: start-up, the settings window opening and closing, exit.

#include "app/Unit1.h"

#include <optional>

#include "base/ScopeExit.h"
#include "engine/Geometry.h"
#include "settings/IniDocument.h"
#include "settings/Rw_ini.h"

namespace varnel {

namespace {

std::int32_t Flag(const TCheckBox& box) { return box.Checked() ? 1 : 0; }

}  // namespace

void TForm1::FormCreate(TComponent& /*sender*/) {
  ShellApp = System().shell.CreateShellApplication();

  // The window still has its designed size: the default place of the settings window is the
  // work area's bottom-right corner.
  std::vector<std::string> extensions;
  ReadIni(System(), Settings, extensions, Engine.WorkArea, Bounds());
  ClampExplorerGeometry(Settings.Exp, Engine.WorkArea);
  ListBox1->Items().Assign(std::move(extensions));
  TrayIcon1->SetVisible(Settings.Pos.HideTray == 0);

  DesignWidth = Width();
  DesignHeight = Height();
  ShrinkOutOfSight();
  Engine.TickBusy = false;

  // Each enabled edge claims LastEdge; the last one set wins, so the order is left, right,
  // top, bottom by priority.
  CheckBox4->SetChecked(Settings.Exp.Lower != 0);
  if (Settings.Exp.Lower != 0) Engine.LastEdge = EdgeBottom;
  CheckBox1->SetChecked(Settings.Exp.Upper != 0);
  if (Settings.Exp.Upper != 0) Engine.LastEdge = EdgeTop;
  CheckBox3->SetChecked(Settings.Exp.Right != 0);
  if (Settings.Exp.Right != 0) Engine.LastEdge = EdgeRight;
  CheckBox2->SetChecked(Settings.Exp.Left != 0);
  if (Settings.Exp.Left != 0) Engine.LastEdge = EdgeLeft;

  CheckBoxBtn->SetChecked(Settings.Exp.Button != 0);
  RadioGroupBtn->SetItemIndex(Settings.Exp.BtnLR);
  CheckBoxBtnL->SetChecked(Settings.Launch.Button != 0);
  RadioGroupBtnL->SetItemIndex(Settings.Launch.BtnLR);

  // The sliders hold their values within range; their change handlers store the result.
  TrackBar1->SetPosition(Settings.Pos.Speed);
  TrackBar2->SetPosition(Settings.Pos.Offset);

  Edit1->SetText(Settings.Exp.Path);
  Engine.HiddenFolder = Settings.Exp.Path;
  CheckBox17->SetChecked(Settings.Exp.PathEn != 0);
  Edit10->SetText(Settings.Exp.PathEx);
  Edit5->SetText(Settings.Launch.Path);

  CheckBox7->SetChecked(Settings.Launch.Upper != 0);
  CheckBox8->SetChecked(Settings.Launch.Left != 0);
  CheckBox9->SetChecked(Settings.Launch.Right != 0);
  CheckBox10->SetChecked(Settings.Launch.Lower != 0);

  Engine.LaunchShownEdge = EdgeNone;
  Engine.LaunchIdleCount = 0;
  if (Settings.Pos.Sense < 1) Settings.Pos.Sense = 1;
  Engine.PendingEdge = EdgeNone;
  UpDown2->SetPosition(Settings.Pos.Sense);

  CheckBox13->SetChecked(Settings.Pos.INHConner != 0);
  UpDown3->SetPosition(Settings.Pos.INHdotX);
  UpDown4->SetPosition(Settings.Pos.INHdotY);
  CheckBox14->SetChecked(Settings.Pos.HideTray != 0);
  UpDown1->SetPosition(Settings.Launch.Idle);
  CheckBox11->SetChecked(Settings.Launch.Lnk != 0);
  CheckBox12->SetChecked(Settings.Launch.Auto != 0);

  Engine.LaunchPendingEdge = EdgeNone;
  CheckBox5->SetChecked(Settings.Watch.Enb != 0);
  if (Settings.Watch.Mode != 0) {
    RadioButton2->SetChecked(true);
  } else {
    RadioButton1->SetChecked(true);
  }
  Edit2->SetText(Settings.Watch.SRCPath);
  Edit3->SetText(Settings.Watch.TrgPath);
  CheckBox20->SetChecked(Settings.Watch.Browser != 0);
  Edit11->SetText(Settings.Watch.AppPath);

  Engine.LaunchCooldown = 0;
  Engine.WatchTickCount = 0;
  Engine.AppLaunchedRecently = false;

  CheckBox6->SetChecked(Settings.Popup.LR != 0);
  AssignTrayMenus();
  CheckBox19->SetChecked(Settings.Exp.NoTree != 0);
  CheckBox21->SetChecked(Settings.Exp.Watch != 0);
  CheckBox15->SetChecked(Settings.ini.inh != 0);
  CheckBox16->SetChecked(Settings.Popup.All != 0);

  // The window shows whether the pin is recorded; without this it would show "off" for a
  // setting that is on until the user happened to click it.
  CheckBox18->SetChecked(Settings.Exp.FixSave != 0);
  if (Settings.Exp.FixSave == 0) {
    Settings.Exp.Fix = 0;
  } else {
    mnuExpFix->SetChecked(Settings.Exp.Fix != 0);
  }

  LoadLaunchMenu();
  // Without a taskbar button: the application's window becomes a tool window.
  System().windows.SetWindowLong(Application().Handle(), platform::GwlExStyle,
                                 static_cast<std::int32_t>(platform::WsExToolWindow));
  PageControl1->SetActivePageIndex(0);
  FirstActivate = true;
  SettingsOpen = false;
}

void TForm1::FormActivate(TComponent& /*sender*/) {
  if (!FirstActivate) return;
  LaunchExplorer(true);
  FirstActivate = false;
}

void TForm1::mnuSettingClick(TComponent& /*sender*/) {
  SetBounds(Settings.Pos.Left, Settings.Pos.Top, DesignWidth, DesignHeight);
  TrayIcon1->SetVisible(false);
  SettingsOpen = true;
  ParkExplorer();
  Engine.ShownEdge = EdgeNone;
}

void TForm1::BitBtn1Click(TComponent& /*sender*/) {
  Settings.Exp.Path = Edit1->Text();
  Settings.Exp.PathEx = Edit10->Text();
  Settings.Launch.Path = Edit5->Text();
  Settings.Watch.SRCPath = Edit2->Text();
  Settings.Watch.TrgPath = Edit3->Text();
  TrayIcon1->SetVisible(Settings.Pos.HideTray == 0);

  // A window dragged off the primary screen keeps its last place on it.
  const platform::Rect bounds = Bounds();
  const int screenWidth = System().windows.GetSystemMetrics(platform::SmCxScreen);
  const int screenHeight = System().windows.GetSystemMetrics(platform::SmCyScreen);
  if (bounds.Left >= 0 && bounds.Left < screenWidth) Settings.Pos.Left = bounds.Left;
  if (bounds.Top >= 0 && bounds.Top < screenHeight) Settings.Pos.Top = bounds.Top;
  ShrinkOutOfSight();

  // The engine resumes even when the file cannot be written: the error is shown, and the
  // window must not stay "open" for the tick with nothing on screen.
  const ScopeExit resume([this] { SettingsOpen = false; });
  if (Settings.Exp.Width > 1 && Settings.Exp.Height > 1) WriteSettings();
}

void TForm1::mnuExitClick(TComponent& /*sender*/) { Close(); }

void TForm1::FormCloseQuery(TComponent& /*sender*/, bool& /*canClose*/) { SaveAtExit(); }

void TForm1::FormClose(TComponent& /*sender*/, TCloseAction& /*action*/) {
  // Only now is the end certain: a query can still be followed by a cancelled logoff, and
  // then the managed Explorer is still wanted.
  if (Engine.ExplorerWnd != platform::kNoWindow) {
    System().windows.SendMessage(Engine.ExplorerWnd, platform::WmSysCommand, platform::ScClose,
                                 0);
  }
}

void TForm1::SaveAtExit() {
  if (Settings.ini.inh != 0 || Settings.Exp.Width <= 1 || Settings.Exp.Height <= 1) return;
  try {
    WriteSettings();
  } catch (const EIniWriteError& error) {
    // Told once, and the exit goes on: a program that cannot be ended because its file is
    // read-only is worse than the lost settings. At a session end nothing may be shown.
    if (!EndingSession()) Application().ShowException(error);
  }
}

void TForm1::WriteSettings() { WriteIni(System(), Settings, ListBox1->Items().Items()); }

void TForm1::AssignTrayMenus() {
  const bool swapped = Settings.Popup.LR != 0;
  TrayIcon1->SetLBPopupMenu(swapped ? static_cast<TPopupMenu*>(PopupMenuLaunch) : PopupMenu1);
  TrayIcon1->SetRBPopupMenu(swapped ? PopupMenu1 : static_cast<TPopupMenu*>(PopupMenuLaunch));
}

void TForm1::ShrinkOutOfSight() {
  const int screenWidth = System().windows.GetSystemMetrics(platform::SmCxScreen);
  const int screenHeight = System().windows.GetSystemMetrics(platform::SmCyScreen);
  SetBounds(-screenWidth, -screenHeight, 1, 1);
}

// --- the settings window's handlers ---------------------------------------------------------

void TForm1::CheckBox1Click(TComponent&) { Settings.Exp.Upper = Flag(*CheckBox1); }
void TForm1::CheckBox2Click(TComponent&) { Settings.Exp.Left = Flag(*CheckBox2); }
void TForm1::CheckBox3Click(TComponent&) { Settings.Exp.Right = Flag(*CheckBox3); }
void TForm1::CheckBox4Click(TComponent&) { Settings.Exp.Lower = Flag(*CheckBox4); }
void TForm1::CheckBoxBtnClick(TComponent&) { Settings.Exp.Button = Flag(*CheckBoxBtn); }
void TForm1::RadioGroupBtnClick(TComponent&) { Settings.Exp.BtnLR = RadioGroupBtn->ItemIndex(); }
void TForm1::TrackBar1Change(TComponent&) { Settings.Pos.Speed = TrackBar1->Position(); }
void TForm1::TrackBar2Change(TComponent&) { Settings.Pos.Offset = TrackBar2->Position(); }
void TForm1::UpDown2Click(TComponent&) { Settings.Pos.Sense = UpDown2->Position(); }
void TForm1::CheckBox13Click(TComponent&) { Settings.Pos.INHConner = Flag(*CheckBox13); }
void TForm1::UpDown3Click(TComponent&) { Settings.Pos.INHdotX = UpDown3->Position(); }
void TForm1::Edit8Change(TComponent&) { ApplyFieldRule(*Edit8, *UpDown3, Settings.Pos.INHdotX); }
void TForm1::UpDown4Click(TComponent&) { Settings.Pos.INHdotY = UpDown4->Position(); }
void TForm1::Edit9Change(TComponent&) { ApplyFieldRule(*Edit9, *UpDown4, Settings.Pos.INHdotY); }
void TForm1::CheckBox14Click(TComponent&) { Settings.Pos.HideTray = Flag(*CheckBox14); }
void TForm1::CheckBox6Click(TComponent&) {
  Settings.Popup.LR = Flag(*CheckBox6);
  AssignTrayMenus();
}
void TForm1::CheckBox15Click(TComponent&) { Settings.ini.inh = Flag(*CheckBox15); }
void TForm1::CheckBox17Click(TComponent&) { Settings.Exp.PathEn = Flag(*CheckBox17); }
void TForm1::CheckBox19Click(TComponent&) { Settings.Exp.NoTree = Flag(*CheckBox19); }
void TForm1::CheckBox21Click(TComponent&) { Settings.Exp.Watch = Flag(*CheckBox21); }
void TForm1::CheckBox7Click(TComponent&) { Settings.Launch.Upper = Flag(*CheckBox7); }
void TForm1::CheckBox8Click(TComponent&) { Settings.Launch.Left = Flag(*CheckBox8); }
void TForm1::CheckBox9Click(TComponent&) { Settings.Launch.Right = Flag(*CheckBox9); }
void TForm1::CheckBox10Click(TComponent&) { Settings.Launch.Lower = Flag(*CheckBox10); }
void TForm1::CheckBoxBtnLClick(TComponent&) { Settings.Launch.Button = Flag(*CheckBoxBtnL); }
void TForm1::RadioGroupBtnLClick(TComponent&) {
  Settings.Launch.BtnLR = RadioGroupBtnL->ItemIndex();
}
void TForm1::CheckBox11Click(TComponent&) { Settings.Launch.Lnk = Flag(*CheckBox11); }
void TForm1::CheckBox12Click(TComponent&) { Settings.Launch.Auto = Flag(*CheckBox12); }
void TForm1::UpDown1Click(TComponent&) { Settings.Launch.Idle = UpDown1->Position(); }
void TForm1::Edit6Change(TComponent&) { ApplyFieldRule(*Edit6, *UpDown1, Settings.Launch.Idle); }
void TForm1::CheckBox16Click(TComponent&) { Settings.Popup.All = Flag(*CheckBox16); }
void TForm1::CheckBox18Click(TComponent&) { Settings.Exp.FixSave = Flag(*CheckBox18); }
void TForm1::CheckBox5Click(TComponent&) { Settings.Watch.Enb = Flag(*CheckBox5); }
void TForm1::RadioButton1Click(TComponent&) {
  Settings.Watch.Mode = RadioButton1->Checked() ? 0 : 1;
}
void TForm1::CheckBox20Click(TComponent&) { Settings.Watch.Browser = Flag(*CheckBox20); }

void TForm1::ApplyFieldRule(TEdit& field, TUpDown& arrows, std::int32_t& setting) {
  const std::optional<std::int32_t> typed = ParseIniInteger(field.Text());
  const std::int32_t value = typed ? *typed : arrows.Position();
  setting = value;
  // Showing the position may change the text, which runs this rule once more.
  arrows.SetPosition(value);
}

}  // namespace varnel
