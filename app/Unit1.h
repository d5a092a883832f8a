#pragma once
// The main form: the settings window, the owner of every component, and the handlers of the
// program's commands.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "about/MailHP.h"
#include "app/components/FindWin.h"
#include "app/components/SysCtrls.h"
#include "app/components/TrayIcon.h"
#include "base/Desktop.h"
#include "clipsearch/NkClipDetector.h"
#include "engine/EdgeGate.h"
#include "engine/EngineState.h"
#include "engine/KeyShown.h"
#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Dialogs.h"
#include "framework/FileListBox.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Timer.h"
#include "hotkeys/GlobalHotkeys.h"
#include "launch/LaunchPopup.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "watch/WatchRecord.h"

namespace varnel {

// Explorer windows seen so far in the current launch, in the order they were first met: no
// repeats and no limit, so the newest is always the last however many are open.
struct TFoundWindows {
  std::vector<platform::Hwnd> Slots;
  int Count() const { return static_cast<int>(Slots.size()); }
  // Records `window` unless it is there already; says whether it was new.
  bool Insert(platform::Hwnd window);
};

class TForm1 : public TForm {
 public:
  TForm1(TComponent* owner, TApplication& application);
  ~TForm1() override;

  // --- process-wide state ---------------------------------------------------------------
  varnel::Settings Settings;
  EngineState Engine;
  bool FirstActivate = false;
  bool SettingsOpen = false;
  int DesignWidth = 0;
  int DesignHeight = 0;
  std::unique_ptr<platform::ShellDispatch> ShellApp;
  TFoundWindows FoundWindows;
  // Whether an edge may fire now; it also holds the pause.
  EdgeGate Gate{System(), Settings, Engine.Monitors};
  KeyShownExplorer KeyShown;
  std::unique_ptr<GlobalHotkeys> Hotkeys;

  // --- components -----------------------------------------------------------------------
  TSingleInstance* SingleInstance1 = nullptr;
  TNkClipDetector* NkClipDetector1 = nullptr;
  TTimer* Timer1 = nullptr;
  TFolderDialog* FolderDialog1 = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TMailAndHP* MailAndHP1 = nullptr;
  TWinList* WinList1 = nullptr;
  TTrayIcon* TrayIcon1 = nullptr;
  TImageList* ImageList1 = nullptr;
  TImageList* ImageListLchBak = nullptr;
  TImageList* ImageListLaunch = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* mnuExplore = nullptr;
  TMenuItem* mnuLaunchLoad = nullptr;
  TMenuItem* mnuSetting = nullptr;
  TMenuItem* mnuWatchRecord = nullptr;
  TMenuItem* mnuExit = nullptr;
  TLaunchPopup* PopupMenuLaunch = nullptr;
  // The watched folder's listings: in the move mode the files to move; in the open mode the
  // listing accepted so far (1) and the current one (2).
  TFileListBox* FileListBox1 = nullptr;
  TFileListBox* FileListBox2 = nullptr;
  TMenuItem* mnuPopExit = nullptr;
  TMenuItem* mnu = nullptr;
  TMenuItem* mnuExpFix = nullptr;
  TMenuItem* mnuDualExp = nullptr;
  TMenuItem* N3 = nullptr;
  TMenuItem* mnuLaunchLoadS = nullptr;
  TMenuItem* mnuSettingS = nullptr;
  TMenuItem* mnuExitS = nullptr;
  TMenuItem* mnuPause = nullptr;
  TMenuItem* mnuPauseS = nullptr;

  // --- the settings window ---------------------------------------------------------------
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;  // "動作"
  TTabSheet* TabSheet3 = nullptr;  // "フォルダ"
  TTabSheet* TabSheet5 = nullptr;  // "Launch"
  TTabSheet* TabSheet4 = nullptr;  // "監視"
  TTabSheet* TabSheet2 = nullptr;  // "About"
  TTabSheet* TabSheetKeys = nullptr;  // "その他"
  THotKey* HotKeyExplorer = nullptr;
  THotKey* HotKeyLaunch = nullptr;
  THotKey* HotKeyPause = nullptr;
  TEdit* EditQuiet = nullptr;
  TBitBtn* BitBtn1 = nullptr;

  TCheckBox* CheckBox1 = nullptr;
  TCheckBox* CheckBox2 = nullptr;
  TCheckBox* CheckBox3 = nullptr;
  TCheckBox* CheckBox4 = nullptr;
  TCheckBox* CheckBoxBtn = nullptr;
  TRadioGroup* RadioGroupBtn = nullptr;
  TTrackBar* TrackBar1 = nullptr;
  TTrackBar* TrackBar2 = nullptr;
  TEdit* Edit7 = nullptr;
  TUpDown* UpDown2 = nullptr;
  TCheckBox* CheckBox13 = nullptr;
  TEdit* Edit8 = nullptr;
  TUpDown* UpDown3 = nullptr;
  TEdit* Edit9 = nullptr;
  TUpDown* UpDown4 = nullptr;
  TCheckBox* CheckBox14 = nullptr;
  TCheckBox* CheckBox6 = nullptr;
  TCheckBox* CheckBox15 = nullptr;
  TCheckBox* CheckBoxFullGuard = nullptr;
  // Shows the registry's Run value, not a setting of the file.
  TCheckBox* CheckBoxStartup = nullptr;

  TEdit* Edit1 = nullptr;
  TButton* Button1 = nullptr;
  TCheckBox* CheckBox17 = nullptr;
  TEdit* Edit10 = nullptr;
  TButton* Button7 = nullptr;
  TCheckBox* CheckBox19 = nullptr;
  TCheckBox* CheckBox21 = nullptr;
  TCheckBox* CheckBoxAllMonitors = nullptr;

  TEdit* Edit5 = nullptr;
  TButton* Button6 = nullptr;
  TCheckBox* CheckBox7 = nullptr;
  TCheckBox* CheckBox8 = nullptr;
  TCheckBox* CheckBox9 = nullptr;
  TCheckBox* CheckBox10 = nullptr;
  TCheckBox* CheckBoxBtnL = nullptr;
  TRadioGroup* RadioGroupBtnL = nullptr;
  TCheckBox* CheckBox11 = nullptr;
  TCheckBox* CheckBox12 = nullptr;
  TEdit* Edit6 = nullptr;
  TUpDown* UpDown1 = nullptr;
  TCheckBox* CheckBox16 = nullptr;
  TCheckBox* CheckBox18 = nullptr;

  TCheckBox* CheckBox5 = nullptr;
  TEdit* Edit2 = nullptr;
  TButton* Button2 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TRadioButton* RadioButton1 = nullptr;
  TEdit* Edit3 = nullptr;
  TButton* Button3 = nullptr;
  TRadioButton* RadioButton2 = nullptr;
  TEdit* Edit11 = nullptr;
  TButton* Button8 = nullptr;
  TEdit* Edit4 = nullptr;
  TButton* Button4 = nullptr;
  TButton* Button5 = nullptr;
  TListBox* ListBox1 = nullptr;
  TCheckBox* CheckBox20 = nullptr;

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label5 = nullptr;
  TBitBtn* BitBtn2 = nullptr;

  // --- lifecycle and commands -----------------------------------------------------------
  void FormCreate(TComponent& sender);
  void FormActivate(TComponent& sender);
  void mnuSettingClick(TComponent& sender);
  // Opens the watched folder's record, or says that there is none yet.
  void mnuWatchRecordClick(TComponent& sender);
  void BitBtn1Click(TComponent& sender);
  void mnuExitClick(TComponent& sender);
  void FormCloseQuery(TComponent& sender, bool& canClose);
  void FormClose(TComponent& sender, TCloseAction& action);
  // A second start: this process closes its own managed Explorer, if it has one, and ends.
  void SingleInstance1Duplicate(TComponent& sender);

  // --- the edge engine -------------------------------------------------------------------
  void Timer1Timer(TComponent& sender);
  // Slides the managed window out from `edge` in Pos.Speed frames.
  void SlideOut(int edge);
  // Moves the managed window off-screen, without a taskbar button.
  void ParkExplorer();
  // Re-applies the parked state without moving the window.
  void RefreshPark();
  // The monitors changed: they are read again, and a parked window moves where none is.
  void DisplayChanged();
  // Takes the tool-window style off the parked window.
  void ClearToolStyle();

  // The Launch menu's edge trigger and its dismissal; `pointer` is the tick's.
  void LaunchTrigger(platform::Point pointer);

  // --- the Launch menu ------------------------------------------------------------------
  // (Re)fills the Launch menu from Launch.Path after its six fixed items. With
  // `reuseUnchanged` a folder not changed since it was last listed is not listed again.
  void LoadLaunchMenu(bool reuseUnchanged = false);
  // A load in slices: begun, then continued a slice at each tick until the menu is made.
  void BeginLaunchLoad(bool reuseUnchanged = false);
  void ContinueLaunchLoad();
  void PopupMenuLaunchPopup(TComponent& sender);
  void PopupMenuLaunchItemClick(TComponent& sender);
  void mnuPopExitClick(TComponent& sender);
  void mnuLaunchLoadClick(TComponent& sender);

  // --- the keyboard and the pause ---------------------------------------------------------
  void HotkeyPressed(HotkeyAction action);
  // Holds the keystrokes the settings name; tells once of each that another program holds.
  void ApplyHotkeys();
  // Brings the managed Explorer out at its last edge and activates it, or parks it.
  void ToggleExplorerFromKeyboard();
  // Pops the Launch menu at the pointer, with the keyboard in it.
  void PopLaunchMenuAtPointer();
  void SetPaused(bool paused);
  // The "その他" page: a keystroke pressed in a field is taken as soon as it is one that can be
  // held; the buttons beside the fields set none.
  void HotKeyExplorerChange(TComponent& sender);
  void HotKeyLaunchChange(TComponent& sender);
  void HotKeyPauseChange(TComponent& sender);
  void ButtonClearExplorerClick(TComponent& sender);
  void ButtonClearLaunchClick(TComponent& sender);
  void ButtonClearPauseClick(TComponent& sender);
  void EditQuietChange(TComponent& sender);
  // Shows the keystrokes and the quiet programs as the settings hold them.
  void FillKeysPage();
  void mnuPauseClick(TComponent& sender);
  // The tray tip: the clock, after "一時停止中" while paused.
  std::string TrayTip() const;

  // --- the Explorer commands --------------------------------------------------------------
  void mnuExploreClick(TComponent& sender);
  void mnuExpFixClick(TComponent& sender);
  void mnuDualExpClick(TComponent& sender);

  // --- the folder query -------------------------------------------------------------------
  // The folder the shell's window `Wnd` shows, empty when it is none of the shell's windows or
  // shows no file address. Throws when the shell's window collection cannot be had.
  void GetExplorerFolder(platform::Hwnd Wnd, std::string& Folder);

  // --- the watched folder -------------------------------------------------------------------
  // Points both listings at Watch.SRCPath with the extensions' mask, and reads them.
  void BuildWatchMask();
  // Every 50th tick: moves the watched files, or opens one newly arrived.
  void WatchStep();
  // The first name of the current listing that the accepted one lacks; empty for none.
  std::string FindNewWatchedFile() const;
  // Every such name, once each, in the current listing's order.
  std::vector<std::string> NewWatchedFiles() const;

  // --- the clipboard search -----------------------------------------------------------------
  void NkClipDetector1ClipChange(TComponent& sender);

  // --- the Explorer launcher --------------------------------------------------------------
  // Starts the Explorer and captures the window the start produced: managed (parked, in
  // ExplorerWnd) or supplementary. Returns false when no new window appeared in time, when
  // another launch is still waiting, or when the program ends meanwhile; ExplorerWnd then
  // keeps its value. A managed start that gave up is still watched for a while: its window,
  // should it come late, becomes the managed one.
  bool LaunchExplorer(bool Managed);
  // Adds the Explorer windows not yet in `Table`; returns how many it holds.
  int FindExplorerWindows(TFoundWindows& Table, const std::string& ExePath);
  // Returns after `Milliseconds`, having let pending messages run all along, or as soon as
  // the program ends. The thread sleeps between messages.
  void WaitProcessing(std::uint32_t Milliseconds);

  // --- the settings window's handlers ---------------------------------------------------
  void CheckBox1Click(TComponent& sender);
  void CheckBox2Click(TComponent& sender);
  void CheckBox3Click(TComponent& sender);
  void CheckBox4Click(TComponent& sender);
  void CheckBoxBtnClick(TComponent& sender);
  void RadioGroupBtnClick(TComponent& sender);
  void TrackBar1Change(TComponent& sender);
  void TrackBar2Change(TComponent& sender);
  void UpDown2Click(TComponent& sender);
  void CheckBox13Click(TComponent& sender);
  void UpDown3Click(TComponent& sender);
  void Edit8Change(TComponent& sender);
  void UpDown4Click(TComponent& sender);
  void Edit9Change(TComponent& sender);
  void CheckBox14Click(TComponent& sender);
  void CheckBox6Click(TComponent& sender);
  void CheckBox15Click(TComponent& sender);
  void CheckBox17Click(TComponent& sender);
  void CheckBox19Click(TComponent& sender);
  void CheckBox21Click(TComponent& sender);
  void CheckBox7Click(TComponent& sender);
  void CheckBox8Click(TComponent& sender);
  void CheckBox9Click(TComponent& sender);
  void CheckBox10Click(TComponent& sender);
  void CheckBoxBtnLClick(TComponent& sender);
  void RadioGroupBtnLClick(TComponent& sender);
  void CheckBox11Click(TComponent& sender);
  void CheckBox12Click(TComponent& sender);
  void UpDown1Click(TComponent& sender);
  void Edit6Change(TComponent& sender);
  void CheckBox16Click(TComponent& sender);
  void CheckBox18Click(TComponent& sender);
  void CheckBox5Click(TComponent& sender);
  void RadioButton1Click(TComponent& sender);
  void CheckBox20Click(TComponent& sender);
  void CheckBoxFullGuardClick(TComponent& sender);
  void CheckBoxAllMonitorsClick(TComponent& sender);
  // Registers or removes the program in the user's Run key; a refusal is shown, and the box
  // goes back to what the registry holds.
  void CheckBoxStartupClick(TComponent& sender);
  // The browse buttons: each shows the folder dialog on its setting and the field beside it.
  void Button1Click(TComponent& sender);
  void Button7Click(TComponent& sender);
  void Button6Click(TComponent& sender);
  void Button2Click(TComponent& sender);
  void Button3Click(TComponent& sender);
  // Chooses the program that opens the watched folder's new files.
  void Button8Click(TComponent& sender);
  // Adds the extension typed into Edit4; removes the one selected in ListBox1.
  void Button4Click(TComponent& sender);
  void Button5Click(TComponent& sender);

  // --- the About page -------------------------------------------------------------------
  void Label4Click(TComponent& sender);
  void Label5Click(TComponent& sender);
  // Opens the help page beside the executable.
  void BitBtn2Click(TComponent& sender);

 private:
  platform::Platform& System() const { return Application().Platform(); }
  // The parked window's extended style as the system reports it after the park; a tick that
  // reads anything else re-applies the park.
  void RememberParkedStyle();
  std::uint32_t parkedExStyle_ = 0;
  // The form description: every component with its design values and events.
  void CreateComponents();
  void CreateMenus();
  void CreateBehaviourPage();
  void CreateFolderPage();
  void CreateLaunchPage();
  void CreateWatchPage();
  void CreateKeysPage();
  void CreateAboutPage();

  // Gives the tray icon's buttons their menus as Popup.LR says.
  void AssignTrayMenus();
  // The tray tip: the date and time, as 2026年12月07日(月曜日) 14:05.
  std::string ClockText() const;
  bool LaunchEdgeFires(int edge, platform::Point pointer, int width, int height) const;
  bool PointerOverMenu(platform::Point pointer) const;
  void DismissLaunchMenu();
  // True while the Launch menu the edge trigger popped is on screen.
  bool launchMenuPopped_ = false;
  // Whether the Launch folder has been listed since the start.
  bool launchMenuLoaded_ = false;
  void PinExplorer(bool pinned);
  // Opens the supplementary Explorer beside the managed one; false when none came.
  bool OpenSupplementaryExplorer();

  // The edge tick's parts.
  bool ScreenSaverRuns() const;
  // The monitor the managed window comes out on for a push at `pointer`: with the edges of
  // every monitor the pushed one, else the primary one, whichever edge is pushed.
  const platform::Monitor* ComingOutMonitor(platform::Point pointer) const;
  bool TouchesEnabledEdge(platform::Point pointer, int width, int height) const;
  bool EdgeFires(int edge, platform::Point pointer, int width, int height) const;
  // With the edges of every monitor: the pointer on an edge no neighbour continues (and clear
  // of its monitor's corners).
  bool OnOuterEdge(int edge, platform::Point pointer) const;
  bool OnOuterEdgeClearOfCorners(int edge, platform::Point pointer) const;
  // Off every edge, of the primary screen or with the edges of every monitor of the pointer's
  // monitor: where a count begun at an edge starts over.
  bool AwayFromEdges(platform::Point pointer, ScreenSize screen) const;
  // The work area the managed window comes out in: the primary one's, or with the edges of
  // every monitor the one of the monitor it came out on.
  const platform::Rect& ExplorerArea() const;
  void ComeOut(platform::Point pointer);
  void GoBack(platform::Point pointer);
  // Parks the window that is out, keeping the size the user gave it meanwhile.
  void ParkShownExplorer();
  void RestartExplorer();
  // Keeps HiddenFolder on the folder the managed Explorer shows.
  void FollowExplorerFolder();
  void MoveWatchedFiles();
  void OpenNewWatchedFile();
  // Set while a watch step runs: the step can wait on the system (a program started, a file
  // copied to another drive) while ticks go on.
  bool watchStepRunning_ = false;
  // Every move and open of the watch, and the first skip of a file, beside the settings file.
  std::unique_ptr<WatchRecord> watchRecord_;
  void LetMessagesRun() { Application().ProcessMessages(); }
  // The folder the next launch opens, and the parameters for explorer.exe.
  std::string LaunchFolder(bool managed) const;
  void Place(const TSlideRect& placement);
  bool launchWaiting_ = false;
  // The launcher's last steps once it has its window: placed, and for the managed one topmost
  // and parked.
  void SettleExplorer(bool managed);
  // A managed start that gave up: the windows known then, and until when its window is looked
  // for.
  struct LateExplorer {
    TFoundWindows known;
    std::string exePath;
    std::uint32_t lookUntil = 0;
  };
  std::optional<LateExplorer> lateExplorer_;
  TTimer* LateExplorerTimer = nullptr;
  void StartLookingForLateExplorer(const std::string& exePath);
  void LateExplorerTimerTimer(TComponent& sender);
  void StopLookingForLateExplorer();
  // When the last managed start gave up; the tick's restart waits a while after it.
  std::optional<std::uint32_t> launchGaveUpAt_;

  // The window shrunk to one pixel beyond the screen's top-left corner.
  void ShrinkOutOfSight();
  // Writes the settings at an exit or a session end, unless they are not to be remembered.
  void SaveAtExit();
  void WriteSettings();
  // The browse rule: the folder dialog starts on `setting`; a confirmed folder is stored with
  // one trailing backslash (a drive root as it is) and shown in `field`. Whether one was.
  bool BrowseFolder(const SettingKey& key, TEdit& field);
  // A short warning in a message box owned by the settings window.
  void ShowRefusal(const std::string& text);
  // The help page beside the executable, by its full path.
  std::string HelpPagePath() const;
  // The field rule of the editable up-down fields: text, else the arrows' position.
  void ApplyFieldRule(TEdit& field, TUpDown& arrows, std::int32_t& setting);
};

}  // namespace varnel
