// The main form's lifecycle: start-up, the settings window opening and closing, exit.

#include "app/Unit1.h"

#include <optional>
#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <variant>

#include "base/Desktop.h"
#include "base/ScopeExit.h"
#include "engine/Geometry.h"
#include "settings/IniDocument.h"
#include "settings/Rw_ini.h"
#include "settings/SettingsKeys.h"
#include "startup/StartWithWindows.h"

namespace varnel {

namespace {

StartWithWindows StartupOf(platform::Platform& system) {
  return {system.registry, system.kernel, system.files};
}

// --- the settings window's controls and their settings ---------------------------------

// Two radio buttons for a setting of 0 or 1: 0 while the first is checked, else 1.
struct RadioPair {
  TRadioButton* TForm1::*first;
  TRadioButton* TForm1::*second;
};

// A control of the settings window and the setting it shows. Check boxes (1 when checked, 0
// when not), radio groups (the selected item's index), sliders and up-downs (the position)
// and radio pairs store their value the moment it changes; a field's text is taken over
// elsewhere, at OK or by its browse button.
struct ControlSetting {
  std::variant<TCheckBox* TForm1::*, TRadioGroup* TForm1::*, TTrackBar* TForm1::*,
               TUpDown* TForm1::*, RadioPair, TEdit* TForm1::*>
      control;
  const SettingKey* setting;
  // An Explorer edge that is on at start claims LastEdge for itself.
  Edge claims = EdgeNone;
};

constexpr const SettingKey* Key(std::string_view section, std::string_view key) {
  return &SettingKeyNamed(section, key);
}

// In the order the controls are filled at start-up.
constexpr ControlSetting kControlSettings[] = {
    // The last claim of LastEdge wins, so the Explorer's edges come by rising priority:
    // bottom, top, right, left.
    {&TForm1::CheckBox4, Key("Exp", "Lower"), EdgeBottom},
    {&TForm1::CheckBox1, Key("Exp", "Upper"), EdgeTop},
    {&TForm1::CheckBox3, Key("Exp", "Right"), EdgeRight},
    {&TForm1::CheckBox2, Key("Exp", "Left"), EdgeLeft},
    {&TForm1::CheckBoxBtn, Key("Exp", "Button")},
    {&TForm1::RadioGroupBtn, Key("Exp", "BtnLR")},
    {&TForm1::CheckBoxBtnL, Key("Launch", "Button")},
    {&TForm1::RadioGroupBtnL, Key("Launch", "BtnLR")},
    // The sliders hold their values within range; their change handlers store the result.
    {&TForm1::TrackBar1, Key("Pos", "Speed")},
    {&TForm1::TrackBar2, Key("Pos", "Offset")},
    {&TForm1::Edit1, Key("Exp", "Path")},
    {&TForm1::CheckBox17, Key("Exp", "PathEn")},
    {&TForm1::Edit10, Key("Exp", "PathEx")},
    {&TForm1::Edit5, Key("Launch", "Path")},
    {&TForm1::CheckBox7, Key("Launch", "Upper")},
    {&TForm1::CheckBox8, Key("Launch", "Left")},
    {&TForm1::CheckBox9, Key("Launch", "Right")},
    {&TForm1::CheckBox10, Key("Launch", "Lower")},
    {&TForm1::UpDown2, Key("Pos", "Sense")},
    {&TForm1::CheckBox13, Key("Pos", "INHConner")},
    // The up-downs show their position in their fields, whose rule stores it.
    {&TForm1::UpDown3, Key("Pos", "INHdotX")},
    {&TForm1::UpDown4, Key("Pos", "INHdotY")},
    {&TForm1::CheckBox14, Key("Pos", "HideTray")},
    {&TForm1::UpDown1, Key("Launch", "Idle")},
    {&TForm1::CheckBox11, Key("Launch", "Lnk")},
    {&TForm1::CheckBox12, Key("Launch", "Auto")},
    {&TForm1::CheckBox5, Key("Watch", "Enb")},
    {RadioPair{&TForm1::RadioButton1, &TForm1::RadioButton2}, Key("Watch", "Mode")},
    {&TForm1::Edit2, Key("Watch", "SRCPath")},
    {&TForm1::Edit3, Key("Watch", "TrgPath")},
    {&TForm1::CheckBox20, Key("Watch", "Browser")},
    {&TForm1::Edit11, Key("Watch", "AppPath")},
    {&TForm1::CheckBox6, Key("Popup", "LR")},
    {&TForm1::CheckBox19, Key("Exp", "NoTree")},
    {&TForm1::CheckBox21, Key("Exp", "Watch")},
    {&TForm1::CheckBox15, Key("ini", "inh")},
    {&TForm1::CheckBox16, Key("Popup", "All")},
    // Without this line the box would show "off" for a recorded pin until the user happened
    // to click it.
    {&TForm1::CheckBox18, Key("Exp", "FixSave")},
    {&TForm1::CheckBoxFullGuard, Key("Exp", "FullGuard")},
    {&TForm1::CheckBoxAllMonitors, Key("Exp", "AllMonitors")},
};

template <class... Cases>
struct Overloaded : Cases... {
  using Cases::operator()...;
};

// Shows the control's setting. A control whose state changes runs its handler, which stores
// the value back: held within the control's range, and 0 or 1 for a flag.
void Fill(TForm1& form, const ControlSetting& binding) {
  const SettingKey& setting = *binding.setting;
  std::visit(
      Overloaded{
          [&](TCheckBox* TForm1::*box) {
            (form.*box)->SetChecked(setting.integer(form.Settings) != 0);
          },
          [&](TRadioGroup* TForm1::*group) {
            (form.*group)->SetItemIndex(setting.integer(form.Settings));
          },
          [&](TTrackBar* TForm1::*bar) {
            (form.*bar)->SetPosition(setting.integer(form.Settings));
          },
          [&](TUpDown* TForm1::*arrows) {
            (form.*arrows)->SetPosition(setting.integer(form.Settings));
          },
          [&](const RadioPair& pair) {
            const bool second = setting.integer(form.Settings) != 0;
            (form.*(second ? pair.second : pair.first))->SetChecked(true);
          },
          [&](TEdit* TForm1::*field) {
            (form.*field)->SetText(StoredPathText(form.Settings, setting));
          },
      },
      binding.control);
  if (binding.claims != EdgeNone && setting.integer(form.Settings) != 0) {
    form.Engine.LastEdge = binding.claims;
  }
}

// Whether `binding` is the line of the control `Control`.
template <auto Control>
constexpr bool Shows(const ControlSetting& binding) {
  using Member = decltype(Control);
  return std::visit(
      [](const auto& control) {
        using Kind = std::decay_t<decltype(control)>;
        if constexpr (std::is_same_v<Kind, Member>) {
          return control == Control;
        } else if constexpr (std::is_same_v<Kind, RadioPair> &&
                             std::is_same_v<Member, TRadioButton* TForm1::*>) {
          return control.first == Control || control.second == Control;
        } else {
          return false;
        }
      },
      binding.control);
}

// The table's line for `Control`; a control the table does not have does not compile.
template <auto Control>
constexpr const ControlSetting& BindingOf() {
  for (const ControlSetting& binding : kControlSettings) {
    if (Shows<Control>(binding)) return binding;
  }
  throw std::invalid_argument("the control shows no setting");
}

std::int32_t ValueOf(const TForm1& form, TCheckBox* TForm1::*box) {
  return (form.*box)->Checked() ? 1 : 0;
}
std::int32_t ValueOf(const TForm1& form, TRadioGroup* TForm1::*group) {
  return (form.*group)->ItemIndex();
}
std::int32_t ValueOf(const TForm1& form, TTrackBar* TForm1::*bar) {
  return (form.*bar)->Position();
}
std::int32_t ValueOf(const TForm1& form, TUpDown* TForm1::*arrows) {
  return (form.*arrows)->Position();
}
std::int32_t ValueOf(const TForm1& form, const RadioPair& pair) {
  return (form.*pair.first)->Checked() ? 0 : 1;
}

// The setting that `Control` shows.
template <auto Control>
std::int32_t& SettingOf(TForm1& form) {
  constexpr const ControlSetting& binding = BindingOf<Control>();
  return binding.setting->integer(form.Settings);
}

// Stores the value of `Control` into its setting. A field's text is taken over at OK or by
// its browse button, so a field has no value here: naming one does not compile.
template <auto Control>
void Store(TForm1& form) {
  constexpr const ControlSetting& binding = BindingOf<Control>();
  constexpr auto control = std::get<binding.control.index()>(binding.control);
  binding.setting->integer(form.Settings) = ValueOf(form, control);
}

// Takes a folder field's text into its setting, as OK does. A field still showing the text
// the file held for a folder that is missing leaves the setting unset and that text kept; the
// folder counts as soon as it is there.
template <auto Field>
void TakeFolderField(TForm1& form, const platform::FileSystem& files) {
  constexpr const ControlSetting& binding = BindingOf<Field>();
  const SettingKey& setting = *binding.setting;
  std::string text = (form.*Field)->Text();
  if (setting.text(form.Settings).empty() && text == StoredPathText(form.Settings, setting) &&
      !files.FolderExists(text)) {
    return;
  }
  ForgetMissingPath(form.Settings, setting);
  setting.text(form.Settings) = std::move(text);
}

}  // namespace

void TForm1::FormCreate(TComponent& /*sender*/) {
  ShellApp = System().shell.CreateShellApplication();

  // The window still has its designed size: the default place of the settings window is the
  // work area's bottom-right corner.
  std::vector<std::string> extensions;
  ReadIni(System(), Settings, extensions, Engine.WorkArea, Bounds());
  ClampExplorerGeometry(Settings.Exp, Engine.WorkArea);
  // The folder may have moved since the program was registered to start with Windows.
  StartupOf(System()).RepairMovedPath();
  Engine.Monitors = System().windows.GetMonitors();
  ListBox1->Items().Assign(std::move(extensions));
  TrayIcon1->SetVisible(Settings.Pos.HideTray == 0);

  DesignWidth = Width();
  DesignHeight = Height();
  ShrinkOutOfSight();

  // Nothing is out, pending or counting yet.
  Engine.TickBusy = false;
  Engine.PendingEdge = EdgeNone;
  Engine.LaunchShownEdge = EdgeNone;
  Engine.LaunchIdleCount = 0;
  Engine.LaunchPendingEdge = EdgeNone;
  Engine.LaunchCooldown = 0;
  Engine.WatchTickCount = 0;
  Engine.AppLaunchedRecently = false;
  Engine.HiddenFolder = Settings.Exp.Path;

  // The arrows cannot show a sensitivity below 2; the model keeps 1 as the least.
  if (Settings.Pos.Sense < 1) Settings.Pos.Sense = 1;
  for (const ControlSetting& binding : kControlSettings) Fill(*this, binding);
  FillKeysPage();
  BuildWatchMask();
  // Also when CheckBox6 kept its designed state, and so ran no handler.
  AssignTrayMenus();

  // The pin outlives a restart only when it is to be recorded.
  if (Settings.Exp.FixSave == 0) {
    Settings.Exp.Fix = 0;
  } else {
    mnuExpFix->SetChecked(Settings.Exp.Fix != 0);
  }

  ApplyHotkeys();
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
  // The Explorer first: a large Launch folder takes a while to list, and the window the user
  // came for must not wait for a menu not yet asked for. The listing goes on in the ticks.
  if (!launchMenuLoaded_) {
    BeginLaunchLoad();
    ContinueLaunchLoad();
  }
}

void TForm1::mnuSettingClick(TComponent& /*sender*/) {
  // The user or another tool may have changed the Run key since the window was last open.
  CheckBoxStartup->SetChecked(StartupOf(System()).On());
  SetBounds(Settings.Pos.Left, Settings.Pos.Top, DesignWidth, DesignHeight);
  // The size measured at start is in the pixels of the monitor it was measured on; where the
  // window opens now the scale may be another.
  RestoreDesignedClientSize();
  TrayIcon1->SetVisible(false);
  // A keystroke the program holds never reaches the hotkey fields: they are let go while the
  // user may be pressing them there, and held again at OK.
  if (Hotkeys) Hotkeys->Apply({});
  SettingsOpen = true;
  ParkExplorer();
  Engine.ShownEdge = EdgeNone;
}

void TForm1::BitBtn1Click(TComponent& /*sender*/) {
  const platform::FileSystem& files = System().files;
  TakeFolderField<&TForm1::Edit1>(*this, files);
  TakeFolderField<&TForm1::Edit10>(*this, files);
  TakeFolderField<&TForm1::Edit5>(*this, files);
  TakeFolderField<&TForm1::Edit2>(*this, files);
  TakeFolderField<&TForm1::Edit3>(*this, files);
  TrayIcon1->SetVisible(Settings.Pos.HideTray == 0);
  ApplyHotkeys();

  // A window dragged off the primary screen keeps its last place on it.
  const platform::Rect bounds = Bounds();
  const auto [screenWidth, screenHeight] = PrimaryScreenSize(System().windows);
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

void TForm1::SingleInstance1Duplicate(TComponent& /*sender*/) {
  if (Engine.ExplorerWnd == platform::kNoWindow) return;
  System().windows.SendMessage(Engine.ExplorerWnd, platform::WmSysCommand, platform::ScClose, 0);
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
  const auto [screenWidth, screenHeight] = PrimaryScreenSize(System().windows);
  SetBounds(-screenWidth, -screenHeight, 1, 1);
}

// --- the settings window's handlers ---------------------------------------------------------

void TForm1::CheckBox1Click(TComponent&) { Store<&TForm1::CheckBox1>(*this); }
void TForm1::CheckBox2Click(TComponent&) { Store<&TForm1::CheckBox2>(*this); }
void TForm1::CheckBox3Click(TComponent&) { Store<&TForm1::CheckBox3>(*this); }
void TForm1::CheckBox4Click(TComponent&) { Store<&TForm1::CheckBox4>(*this); }
void TForm1::CheckBoxBtnClick(TComponent&) { Store<&TForm1::CheckBoxBtn>(*this); }
void TForm1::RadioGroupBtnClick(TComponent&) { Store<&TForm1::RadioGroupBtn>(*this); }
void TForm1::TrackBar1Change(TComponent&) { Store<&TForm1::TrackBar1>(*this); }
void TForm1::TrackBar2Change(TComponent&) { Store<&TForm1::TrackBar2>(*this); }
void TForm1::UpDown2Click(TComponent&) { Store<&TForm1::UpDown2>(*this); }
void TForm1::CheckBox13Click(TComponent&) { Store<&TForm1::CheckBox13>(*this); }
void TForm1::UpDown3Click(TComponent&) { Store<&TForm1::UpDown3>(*this); }
void TForm1::Edit8Change(TComponent&) {
  ApplyFieldRule(*Edit8, *UpDown3, SettingOf<&TForm1::UpDown3>(*this));
}
void TForm1::UpDown4Click(TComponent&) { Store<&TForm1::UpDown4>(*this); }
void TForm1::Edit9Change(TComponent&) {
  ApplyFieldRule(*Edit9, *UpDown4, SettingOf<&TForm1::UpDown4>(*this));
}
void TForm1::CheckBox14Click(TComponent&) { Store<&TForm1::CheckBox14>(*this); }
void TForm1::CheckBox6Click(TComponent&) {
  Store<&TForm1::CheckBox6>(*this);
  AssignTrayMenus();
}
void TForm1::CheckBox15Click(TComponent&) { Store<&TForm1::CheckBox15>(*this); }
void TForm1::CheckBox17Click(TComponent&) { Store<&TForm1::CheckBox17>(*this); }
void TForm1::CheckBox19Click(TComponent&) { Store<&TForm1::CheckBox19>(*this); }
void TForm1::CheckBox21Click(TComponent&) { Store<&TForm1::CheckBox21>(*this); }
void TForm1::CheckBox7Click(TComponent&) { Store<&TForm1::CheckBox7>(*this); }
void TForm1::CheckBox8Click(TComponent&) { Store<&TForm1::CheckBox8>(*this); }
void TForm1::CheckBox9Click(TComponent&) { Store<&TForm1::CheckBox9>(*this); }
void TForm1::CheckBox10Click(TComponent&) { Store<&TForm1::CheckBox10>(*this); }
void TForm1::CheckBoxBtnLClick(TComponent&) { Store<&TForm1::CheckBoxBtnL>(*this); }
void TForm1::RadioGroupBtnLClick(TComponent&) { Store<&TForm1::RadioGroupBtnL>(*this); }
void TForm1::CheckBox11Click(TComponent&) { Store<&TForm1::CheckBox11>(*this); }
void TForm1::CheckBox12Click(TComponent&) { Store<&TForm1::CheckBox12>(*this); }
void TForm1::UpDown1Click(TComponent&) { Store<&TForm1::UpDown1>(*this); }
void TForm1::Edit6Change(TComponent&) {
  ApplyFieldRule(*Edit6, *UpDown1, SettingOf<&TForm1::UpDown1>(*this));
}
void TForm1::CheckBox16Click(TComponent&) { Store<&TForm1::CheckBox16>(*this); }
void TForm1::CheckBox18Click(TComponent&) { Store<&TForm1::CheckBox18>(*this); }
void TForm1::CheckBox5Click(TComponent&) { Store<&TForm1::CheckBox5>(*this); }
// Both buttons of the pair run this handler.
void TForm1::RadioButton1Click(TComponent&) { Store<&TForm1::RadioButton1>(*this); }
void TForm1::CheckBox20Click(TComponent&) { Store<&TForm1::CheckBox20>(*this); }
void TForm1::CheckBoxFullGuardClick(TComponent&) { Store<&TForm1::CheckBoxFullGuard>(*this); }
void TForm1::CheckBoxAllMonitorsClick(TComponent&) {
  Store<&TForm1::CheckBoxAllMonitors>(*this);
}

// Filling the box with the registry's state runs this too, and then finds nothing to change.
void TForm1::CheckBoxStartupClick(TComponent&) {
  StartWithWindows startup = StartupOf(System());
  const bool wanted = CheckBoxStartup->Checked();
  if (startup.Set(wanted)) return;
  ShowRefusal(wanted ? "Windows の起動時に起動するよう登録できませんでした。\n"
                       "レジストリが変更を受け付けませんでした。"
                     : "Windows の起動時に起動する登録を解除できませんでした。\n"
                       "レジストリが変更を受け付けませんでした。");
  CheckBoxStartup->SetChecked(startup.On());
}

void TForm1::ApplyFieldRule(TEdit& field, TUpDown& arrows, std::int32_t& setting) {
  const std::optional<std::int32_t> typed = ParseIniInteger(field.Text());
  const std::int32_t value = typed ? *typed : arrows.Position();
  setting = value;
  // Showing the position may change the text, which runs this rule once more.
  arrows.SetPosition(value);
}

}  // namespace varnel
