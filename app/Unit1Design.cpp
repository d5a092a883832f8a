// The main form as designed: its components, the settings window's pages and controls with
// their captions, hints, ranges, design values and events.

#include "app/Unit1.h"

#include "base/Paths.h"

namespace varnel {

namespace {

// Wide enough for every page's tab in one row.
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 346;

TFormDesign Form1Design() {
  TFormDesign design;
  design.className = "TForm1";
  design.caption = "Varnel（設定）";
  design.clientWidth = kClientWidth;
  design.clientHeight = kClientHeight;
  design.dialogFrame = true;
  design.font.face = "ＭＳ Ｐゴシック";
  design.font.height = 12;
  return design;
}

template <class T, class... Args>
T* Make(TComponent& owner, Args&&... args) {
  return &TComponent::Create<T>(owner, std::forward<Args>(args)...);
}

// A handler of the form as an event: the control's name followed by the event.
template <class Form>
TNotifyEvent Handler(Form* form, void (Form::*method)(TComponent&)) {
  return [form, method](TComponent& sender) { (form->*method)(sender); };
}

TCheckBox* CheckBoxAt(TComponent& owner, const char* name, TControl& parent,
                      const std::string& caption, int left, int top, int width) {
  auto* box = Make<TCheckBox>(owner, name, parent, caption);
  box->SetBounds(left, top, width, 17);
  return box;
}

TLabel* LabelAt(TComponent& owner, const char* name, TControl& parent, const std::string& caption,
                int left, int top, int width, int height = 14) {
  auto* label = Make<TLabel>(owner, name, parent, caption);
  label->SetBounds(left, top, width, height);
  return label;
}

TEdit* EditAt(TComponent& owner, const char* name, TControl& parent, int left, int top,
              int width, bool readOnly = false) {
  auto* edit = Make<TEdit>(owner, name, parent, readOnly);
  edit->SetBounds(left, top, width, 20);
  return edit;
}

TButton* BrowseButtonAt(TComponent& owner, const char* name, TControl& parent, int left, int top) {
  auto* button = Make<TButton>(owner, name, parent, "参照");
  button->SetBounds(left, top, 44, 22);
  return button;
}

}  // namespace

TForm1::TForm1(TComponent* owner, TApplication& application)
    : TForm(owner, application, "Form1", Form1Design()) {
  LoadFromDescription([this] { CreateComponents(); });
}

TForm1::~TForm1() {
  // The components refer to the form's state while they go.
  DestroyComponents();
}

void TForm1::CreateComponents() {
  OnCreate = [this](TComponent& sender) { FormCreate(sender); };
  OnActivate = [this](TComponent& sender) { FormActivate(sender); };
  OnDisplayChange = [this](TComponent&) { DisplayChanged(); };
  OnCloseQuery = [this](TComponent& sender, bool& canClose) { FormCloseQuery(sender, canClose); };
  OnClose = [this](TComponent& sender, TCloseAction& action) { FormClose(sender, action); };

  // First of all: a second process goes before it has done anything else.
  SingleInstance1 = Make<TSingleInstance>(*this, "SingleInstance1", Application());
  SingleInstance1->DupInstAction = diActivateFirst;
  SingleInstance1->ErrorMessage = "すでに起動されています";
  SingleInstance1->UniqueName = "Ident2056";
  SingleInstance1->OnDuplicate = Handler(this, &TForm1::SingleInstance1Duplicate);
  NkClipDetector1 = Make<TNkClipDetector>(*this, "NkClipDetector1", System());
  NkClipDetector1->SetOnClipChange(Handler(this, &TForm1::NkClipDetector1ClipChange));

  FolderDialog1 = Make<TFolderDialog>(*this, "FolderDialog1", *this);
  FolderDialog1->Title = "フォルダーの選択";
  OpenDialog1 = Make<TOpenDialog>(*this, "OpenDialog1", *this);
  MailAndHP1 = Make<TMailAndHP>(*this, "MailAndHP1", System());
  // Varnel has no web site or mail address a user could reach: the home-page link opens the
  // help page that travels with the program, and the mail link is not shown.
  MailAndHP1->HomePageAddress = HelpPagePath();
  Timer1 = Make<TTimer>(*this, "Timer1", Ui(), 100);
  Timer1->OnTimer = Handler(this, &TForm1::Timer1Timer);
  WinList1 = Make<TWinList>(*this, "WinList1", System());
  WinList1->SetTimerIntval(50);
  CreateMenus();

  PageControl1 = Make<TPageControl>(*this, "PageControl1", *this);
  PageControl1->SetBounds(0, 0, kClientWidth, 305);
  TabSheet1 = Make<TTabSheet>(*this, "TabSheet1", *PageControl1, "動作");
  TabSheet3 = Make<TTabSheet>(*this, "TabSheet3", *PageControl1, "フォルダ");
  TabSheet5 = Make<TTabSheet>(*this, "TabSheet5", *PageControl1, "Launch");
  TabSheet4 = Make<TTabSheet>(*this, "TabSheet4", *PageControl1, "監視");
  TabSheetKeys = Make<TTabSheet>(*this, "TabSheetKeys", *PageControl1, "その他");
  TabSheet2 = Make<TTabSheet>(*this, "TabSheet2", *PageControl1, "About");
  CreateBehaviourPage();
  CreateFolderPage();
  CreateLaunchPage();
  CreateWatchPage();
  CreateKeysPage();
  CreateAboutPage();

  BitBtn1 = Make<TBitBtn>(*this, "BitBtn1", *this, "OK", TBitBtnKind::Ok);
  BitBtn1->SetBounds(kClientWidth - 99, 312, 97, 25);
  BitBtn1->OnClick = Handler(this, &TForm1::BitBtn1Click);
}

void TForm1::CreateMenus() {
  ImageList1 = Make<TImageList>(*this, "ImageList1");
  ImageListLchBak = Make<TImageList>(*this, "ImageListLchBak");
  // The fixed items' icons, by index: dual, pin, supplementary, exit, settings, load.
  for (const char* icon : {"LAUNCH_DUAL", "LAUNCH_PIN", "LAUNCH_SUPPLEMENT", "LAUNCH_EXIT",
                           "LAUNCH_SETTINGS", "LAUNCH_LOAD"}) {
    ImageListLchBak->Add(Ui().LoadImageResource(icon));
  }
  ImageListLaunch = Make<TImageList>(*this, "ImageListLaunch");

  PopupMenu1 = Make<TPopupMenu>(*this, "PopupMenu1", Ui());
  PopupMenu1->SetImages(ImageList1);
  TMenuItem& tray = PopupMenu1->Items();
  mnuExplore = &tray.Add("mnuExplore", "補完Exp");
  tray.Add("N1", "-");
  mnuLaunchLoad = &tray.Add("mnuLaunchLoad", "Launch読込");
  mnuSetting = &tray.Add("mnuSetting", "設定");
  mnuWatchRecord = &tray.Add("mnuWatchRecord", "監視の記録");
  mnuPause = &tray.Add("mnuPause", "一時停止");
  tray.Add("N2", "-");
  mnuExit = &tray.Add("mnuExit", "終了");
  mnuExplore->OnClick = Handler(this, &TForm1::mnuExploreClick);
  mnuLaunchLoad->OnClick = Handler(this, &TForm1::mnuLaunchLoadClick);
  mnuSetting->OnClick = Handler(this, &TForm1::mnuSettingClick);
  mnuPause->OnClick = Handler(this, &TForm1::mnuPauseClick);
  mnuWatchRecord->OnClick = Handler(this, &TForm1::mnuWatchRecordClick);
  mnuExit->OnClick = Handler(this, &TForm1::mnuExitClick);

  FileListBox1 = Make<TFileListBox>(*this, "FileListBox1", System());
  FileListBox2 = Make<TFileListBox>(*this, "FileListBox2", System());
  watchRecord_ = std::make_unique<WatchRecord>(
      System().files, System().kernel,
      std::string(FolderPart(System().kernel.GetModuleFileName())) + "varnel_watch.log");

  PopupMenuLaunch = Make<TLaunchPopup>(*this, "PopupMenuLaunch", System());
  PopupMenuLaunch->SearchDirectory = true;
  PopupMenuLaunch->Mask = "*.lnk";
  PopupMenuLaunch->SetImages(ImageListLaunch);
  PopupMenuLaunch->OnPopup = Handler(this, &TForm1::PopupMenuLaunchPopup);
  PopupMenuLaunch->OnItemClick = Handler(this, &TForm1::PopupMenuLaunchItemClick);
  TMenuItem& launch = PopupMenuLaunch->Items();
  mnuPopExit = &launch.Add("mnuPopExit", "Pop終了", 3);
  mnu = &launch.Add("mnu", "補完Exp", 2);
  mnuExpFix = &launch.Add("mnuExpFix", "引出時固定", 1);
  mnuDualExp = &launch.Add("mnuDualExp", "ＤｕａｌEｘｐ", 0);
  N3 = &launch.Add("N3", "Varnel");
  mnuLaunchLoadS = &N3->Add("mnuLaunchLoadS", "Launch読込", 5);
  mnuPauseS = &N3->Add("mnuPauseS", "一時停止");
  mnuSettingS = &N3->Add("mnuSettingS", "設定", 4);
  mnuExitS = &N3->Add("mnuExitS", "終了", 3);
  launch.Add("N6", "-");
  mnuPopExit->OnClick = Handler(this, &TForm1::mnuPopExitClick);
  mnu->OnClick = Handler(this, &TForm1::mnuExploreClick);
  mnuExpFix->OnClick = Handler(this, &TForm1::mnuExpFixClick);
  mnuDualExp->OnClick = Handler(this, &TForm1::mnuDualExpClick);
  mnuLaunchLoadS->OnClick = Handler(this, &TForm1::mnuLaunchLoadClick);
  mnuSettingS->OnClick = Handler(this, &TForm1::mnuSettingClick);
  mnuPauseS->OnClick = Handler(this, &TForm1::mnuPauseClick);
  mnuExitS->OnClick = Handler(this, &TForm1::mnuExitClick);

  TrayIcon1 = Make<TTrayIcon>(*this, "TrayIcon1", *this);
  TrayIcon1->SetIcon(Ui().LoadImageResource("MAINICON"));
  TrayIcon1->SetTipHelp("TipHelp");
}

void TForm1::CreateBehaviourPage() {
  TTabSheet& page = *TabSheet1;
  LabelAt(*this, "Label14", page, "出現方向", 8, 7, 60);
  CheckBox1 = CheckBoxAt(*this, "CheckBox1", page, "上", 72, 5, 40);
  CheckBox2 = CheckBoxAt(*this, "CheckBox2", page, "左", 116, 5, 40);
  CheckBox3 = CheckBoxAt(*this, "CheckBox3", page, "右", 160, 5, 40);
  CheckBox4 = CheckBoxAt(*this, "CheckBox4", page, "下", 204, 5, 40);
  CheckBox1->SetHint("上から出現");
  CheckBox2->SetHint("左から出現");
  CheckBox3->SetHint("右から出現");
  CheckBox4->SetHint("下から出現");
  CheckBox2->SetChecked(true);
  CheckBox1->OnClick = Handler(this, &TForm1::CheckBox1Click);
  CheckBox2->OnClick = Handler(this, &TForm1::CheckBox2Click);
  CheckBox3->OnClick = Handler(this, &TForm1::CheckBox3Click);
  CheckBox4->OnClick = Handler(this, &TForm1::CheckBox4Click);

  CheckBoxBtn = CheckBoxAt(*this, "CheckBoxBtn", page, "ボタンで出現", 8, 34, 100);
  CheckBoxBtn->SetHint("左ボタンを押すと出現");
  CheckBoxBtn->OnClick = Handler(this, &TForm1::CheckBoxBtnClick);
  RadioGroupBtn = Make<TRadioGroup>(*this, "RadioGroupBtn", page, "出現ボタン",
                                    std::vector<std::string>{"左ボタン", "右ボタン"}, 2);
  RadioGroupBtn->SetBounds(112, 24, 140, 36);
  RadioGroupBtn->OnClick = Handler(this, &TForm1::RadioGroupBtnClick);

  LabelAt(*this, "Label7", page, "出現速度（速－遅）", 8, 70, 134);
  TrackBar1 = Make<TTrackBar>(*this, "TrackBar1", page, 1, 100, 10);
  TrackBar1->SetBounds(142, 64, 114, 26);
  TrackBar1->SetHint("出現速度");
  TrackBar1->OnChange = Handler(this, &TForm1::TrackBar1Change);

  LabelAt(*this, "Label8", page, "離れた時の不感知ｄｏｔ", 8, 98, 134);
  TrackBar2 = Make<TTrackBar>(*this, "TrackBar2", page, 10, 100, 20);
  TrackBar2->SetBounds(142, 92, 114, 26);
  TrackBar2->SetHint("不感知範囲");
  TrackBar2->OnChange = Handler(this, &TForm1::TrackBar2Change);

  LabelAt(*this, "Label17", page, "感度（小さいと高感度）", 8, 127, 140);
  Edit7 = EditAt(*this, "Edit7", page, 160, 123, 40, true);
  UpDown2 = Make<TUpDown>(*this, "UpDown2", page, *Edit7, 2, 50, 5);
  UpDown2->SetBounds(200, 123, 16, 20);
  UpDown2->OnClick = Handler(this, &TForm1::UpDown2Click);

  CheckBox13 = CheckBoxAt(*this, "CheckBox13", page, "コーナに不感領域を設ける", 8, 150, 240);
  CheckBox13->OnClick = Handler(this, &TForm1::CheckBox13Click);
  LabelAt(*this, "Label18", page, "不感領域(dot)", 22, 175, 76);
  LabelAt(*this, "Label19", page, "X", 102, 175, 10);
  Edit8 = EditAt(*this, "Edit8", page, 114, 171, 40);
  UpDown3 = Make<TUpDown>(*this, "UpDown3", page, *Edit8, 1, 500, 30);
  UpDown3->SetBounds(154, 171, 16, 20);
  LabelAt(*this, "Label20", page, "Y", 180, 175, 10);
  Edit9 = EditAt(*this, "Edit9", page, 192, 171, 40);
  UpDown4 = Make<TUpDown>(*this, "UpDown4", page, *Edit9, 1, 500, 20);
  UpDown4->SetBounds(232, 171, 16, 20);
  UpDown3->OnClick = Handler(this, &TForm1::UpDown3Click);
  Edit8->OnChange = Handler(this, &TForm1::Edit8Change);
  UpDown4->OnClick = Handler(this, &TForm1::UpDown4Click);
  Edit9->OnChange = Handler(this, &TForm1::Edit9Change);

  CheckBox14 = CheckBoxAt(*this, "CheckBox14", page, "トレイアイコンも隠す", 8, 198, 240);
  CheckBox14->OnClick = Handler(this, &TForm1::CheckBox14Click);
  CheckBox6 = CheckBoxAt(*this, "CheckBox6", page, "Ｐｏｐｕｐの左右入替", 8, 218, 240);
  CheckBox6->OnClick = Handler(this, &TForm1::CheckBox6Click);
  CheckBox15 = CheckBoxAt(*this, "CheckBox15", page, "終了時状態を記憶しない", 8, 238, 240);
  CheckBox15->OnClick = Handler(this, &TForm1::CheckBox15Click);
  CheckBoxFullGuard =
      CheckBoxAt(*this, "CheckBoxFullGuard", page, "全画面表示中は出さない", 8, 258, 240);
  CheckBoxFullGuard->SetChecked(true);
  CheckBoxFullGuard->SetHint("全画面のゲームや動画、スライドショーの間は、その画面の端で出現しない");
  CheckBoxFullGuard->OnClick = Handler(this, &TForm1::CheckBoxFullGuardClick);
}

void TForm1::CreateKeysPage() {
  TTabSheet& page = *TabSheetKeys;
  LabelAt(*this, "Label21", page, "ホットキー（欄を選んでキーを押す）", 8, 8, 290);
  struct Row {
    const char* label;
    const char* field;
    const char* clear;
    const char* caption;
    THotKey* TForm1::*control;
    void (TForm1::*changed)(TComponent&);
    void (TForm1::*cleared)(TComponent&);
  };
  const Row rows[] = {
      {"Label22", "HotKeyExplorer", "ButtonClearExplorer", "Explorer の表示",
       &TForm1::HotKeyExplorer, &TForm1::HotKeyExplorerChange, &TForm1::ButtonClearExplorerClick},
      {"Label23", "HotKeyLaunch", "ButtonClearLaunch", "Launch メニュー", &TForm1::HotKeyLaunch,
       &TForm1::HotKeyLaunchChange, &TForm1::ButtonClearLaunchClick},
      {"Label24", "HotKeyPause", "ButtonClearPause", "一時停止", &TForm1::HotKeyPause,
       &TForm1::HotKeyPauseChange, &TForm1::ButtonClearPauseClick},
  };
  int top = 28;
  for (const Row& row : rows) {
    LabelAt(*this, row.label, page, row.caption, 16, top + 4, 96);
    THotKey* field = Make<THotKey>(*this, row.field, page);
    field->SetBounds(112, top, 136, 20);
    field->OnChange = Handler(this, row.changed);
    this->*row.control = field;
    auto* clear = Make<TButton>(*this, row.clear, page, "解除");
    clear->SetBounds(254, top - 1, 48, 22);
    clear->SetHint("このホットキーを使わない");
    clear->OnClick = Handler(this, row.cleared);
    top += 26;
  }
  LabelAt(*this, "Label25", page,
          "Ctrl か Alt と組み合わせたキー、または F1～F24、Pause が使えます", 16, top + 2, 286,
          28);

  LabelAt(*this, "Label26", page, "前面にある間は出現させないプログラム", 8, top + 40, 290);
  EditQuiet = EditAt(*this, "EditQuiet", page, 16, top + 57, 286);
  EditQuiet->SetHint("このプログラムが前面にある間は、その画面の端で出現しない");
  EditQuiet->OnChange = Handler(this, &TForm1::EditQuietChange);
  LabelAt(*this, "Label27", page, "ファイル名を ; で区切る（例: game.exe;vlc.exe）", 16,
          top + 81, 286);

  CheckBoxStartup =
      CheckBoxAt(*this, "CheckBoxStartup", page, "Windows の起動時に起動する", 8, top + 112, 290);
  CheckBoxStartup->SetHint("Windows にログオンしたとき Varnel を自動で起動する");
  CheckBoxStartup->OnClick = Handler(this, &TForm1::CheckBoxStartupClick);
}

void TForm1::CreateFolderPage() {
  TTabSheet& page = *TabSheet3;
  LabelAt(*this, "Label9", page, "起動", 8, 10, 60);
  Edit1 = EditAt(*this, "Edit1", page, 8, 27, 196);
  Edit1->SetHint("エクスプローラの起動フォルダ");
  Button1 = BrowseButtonAt(*this, "Button1", page, 208, 26);
  Button1->OnClick = Handler(this, &TForm1::Button1Click);

  CheckBox17 = CheckBoxAt(*this, "CheckBox17", page, "補完の起動指定", 8, 62, 240);
  CheckBox17->OnClick = Handler(this, &TForm1::CheckBox17Click);
  Edit10 = EditAt(*this, "Edit10", page, 8, 82, 196);
  Button7 = BrowseButtonAt(*this, "Button7", page, 208, 81);
  Button7->OnClick = Handler(this, &TForm1::Button7Click);

  CheckBox19 = CheckBoxAt(*this, "CheckBox19", page, "フォルダツリーを出さない", 8, 120, 240);
  CheckBox19->OnClick = Handler(this, &TForm1::CheckBox19Click);
  CheckBox21 =
      CheckBoxAt(*this, "CheckBox21", page, "隠れたエクスプローラのフォルダを監視", 8, 146, 245);
  CheckBox21->OnClick = Handler(this, &TForm1::CheckBox21Click);
  LabelAt(*this, "Label11", page, "（落ちてもそこから復帰しますが、重くなります）", 22, 168, 230,
          30);
  CheckBoxAllMonitors =
      CheckBoxAt(*this, "CheckBoxAllMonitors", page, "すべてのモニタの端で出現", 8, 206, 240);
  CheckBoxAllMonitors->SetHint("どのモニタでも、隣のモニタに続いていない端で出現");
  CheckBoxAllMonitors->OnClick = Handler(this, &TForm1::CheckBoxAllMonitorsClick);
}

void TForm1::CreateLaunchPage() {
  TTabSheet& page = *TabSheet5;
  LabelAt(*this, "Label13", page, "Launch", 8, 10, 60);
  Edit5 = EditAt(*this, "Edit5", page, 8, 27, 196);
  Button6 = BrowseButtonAt(*this, "Button6", page, 208, 26);
  Button6->OnClick = Handler(this, &TForm1::Button6Click);

  LabelAt(*this, "Label15", page, "出現（エクスプローラが優先）", 8, 58, 200);
  CheckBox7 = CheckBoxAt(*this, "CheckBox7", page, "上", 8, 75, 44);
  CheckBox8 = CheckBoxAt(*this, "CheckBox8", page, "左", 56, 75, 44);
  CheckBox9 = CheckBoxAt(*this, "CheckBox9", page, "右", 104, 75, 44);
  CheckBox10 = CheckBoxAt(*this, "CheckBox10", page, "下", 152, 75, 44);
  CheckBox7->OnClick = Handler(this, &TForm1::CheckBox7Click);
  CheckBox8->OnClick = Handler(this, &TForm1::CheckBox8Click);
  CheckBox9->OnClick = Handler(this, &TForm1::CheckBox9Click);
  CheckBox10->OnClick = Handler(this, &TForm1::CheckBox10Click);

  CheckBoxBtnL = CheckBoxAt(*this, "CheckBoxBtnL", page, "ボタンで出現", 8, 108, 100);
  CheckBoxBtnL->OnClick = Handler(this, &TForm1::CheckBoxBtnLClick);
  RadioGroupBtnL = Make<TRadioGroup>(*this, "RadioGroupBtnL", page, "出現ボタン",
                                     std::vector<std::string>{"左ボタン", "右ボタン"}, 2);
  RadioGroupBtnL->SetBounds(112, 98, 140, 36);
  RadioGroupBtnL->OnClick = Handler(this, &TForm1::RadioGroupBtnLClick);

  CheckBox11 = CheckBoxAt(*this, "CheckBox11", page, "ショートカットのみを対象", 8, 144, 240);
  CheckBox11->OnClick = Handler(this, &TForm1::CheckBox11Click);
  CheckBox12 = CheckBoxAt(*this, "CheckBox12", page, "自動読み込み", 8, 167, 240);
  CheckBox12->OnClick = Handler(this, &TForm1::CheckBox12Click);

  LabelAt(*this, "Label16", page, "残存度（大きいと消えにくい）", 8, 194, 170);
  Edit6 = EditAt(*this, "Edit6", page, 180, 190, 40, true);
  UpDown1 = Make<TUpDown>(*this, "UpDown1", page, *Edit6, 1, 50, 6);
  UpDown1->SetBounds(220, 190, 16, 20);
  UpDown1->OnClick = Handler(this, &TForm1::UpDown1Click);
  Edit6->OnChange = Handler(this, &TForm1::Edit6Change);

  CheckBox16 =
      CheckBoxAt(*this, "CheckBox16", page, "エクスプローラの位置でもＰＯＰする", 8, 220, 245);
  CheckBox16->OnClick = Handler(this, &TForm1::CheckBox16Click);
  CheckBox18 = CheckBoxAt(*this, "CheckBox18", page, "「引き出し時固定」を記録する", 8, 243, 245);
  CheckBox18->OnClick = Handler(this, &TForm1::CheckBox18Click);
}

void TForm1::CreateWatchPage() {
  TTabSheet& page = *TabSheet4;
  CheckBox5 = CheckBoxAt(*this, "CheckBox5", page, "監視機能を使う", 8, 6, 240);
  CheckBox5->OnClick = Handler(this, &TForm1::CheckBox5Click);
  LabelAt(*this, "Label10", page, "監視フォルダ", 8, 29, 100);
  Edit2 = EditAt(*this, "Edit2", page, 8, 45, 196);
  Button2 = BrowseButtonAt(*this, "Button2", page, 208, 44);
  Button2->OnClick = Handler(this, &TForm1::Button2Click);

  GroupBox1 = Make<TGroupBox>(*this, "GroupBox1", page, "処理");
  GroupBox1->SetBounds(4, 72, 251, 72);
  RadioButton1 = Make<TRadioButton>(*this, "RadioButton1", *GroupBox1, "移動する");
  RadioButton1->SetBounds(8, 18, 74, 17);
  RadioButton1->SetChecked(true);
  Edit3 = EditAt(*this, "Edit3", *GroupBox1, 84, 16, 114);
  Button3 = BrowseButtonAt(*this, "Button3", *GroupBox1, 201, 15);
  Button3->OnClick = Handler(this, &TForm1::Button3Click);
  RadioButton2 = Make<TRadioButton>(*this, "RadioButton2", *GroupBox1, "アプリ起動");
  RadioButton2->SetBounds(8, 44, 74, 17);
  // The program is chosen with its browse button; typed text would never be taken.
  Edit11 = EditAt(*this, "Edit11", *GroupBox1, 84, 42, 114, true);
  Button8 = BrowseButtonAt(*this, "Button8", *GroupBox1, 201, 41);
  Button8->OnClick = Handler(this, &TForm1::Button8Click);
  RadioButton1->OnClick = Handler(this, &TForm1::RadioButton1Click);
  RadioButton2->OnClick = Handler(this, &TForm1::RadioButton1Click);

  LabelAt(*this, "Label12", page, "対象拡張子", 8, 152, 64);
  LabelAt(*this, "Label6", page, "（ピリオド不要）", 72, 152, 100);
  Edit4 = EditAt(*this, "Edit4", page, 8, 170, 84);
  Button4 = Make<TButton>(*this, "Button4", page, "追加");
  Button4->SetBounds(8, 195, 41, 22);
  Button4->OnClick = Handler(this, &TForm1::Button4Click);
  Button5 = Make<TButton>(*this, "Button5", page, "削除");
  Button5->SetBounds(51, 195, 41, 22);
  Button5->OnClick = Handler(this, &TForm1::Button5Click);
  ListBox1 = Make<TListBox>(*this, "ListBox1", page);
  ListBox1->SetBounds(100, 170, 152, 72);

  CheckBox20 =
      CheckBoxAt(*this, "CheckBox20", page, "Shift+CTL+クリップボード転送で検索", 8, 250, 245);
  CheckBox20->OnClick = Handler(this, &TForm1::CheckBox20Click);
}

void TForm1::CreateAboutPage() {
  TTabSheet& page = *TabSheet2;
  platform::FontSpec title;
  title.height = 32;
  title.bold = true;
  title.italic = true;
  title.color = 0x800000;  // navy
  Label1 = Make<TLabel>(*this, "Label1", page, "Varnel", title);
  Label1->SetBounds(16, 16, 200, 40);
  Label2 = LabelAt(*this, "Label2", page, "Ver0.59  エッジから現れるエクスプローラ", 16, 66, 235);
  platform::FontSpec bold;
  bold.bold = true;
  Label3 = Make<TLabel>(*this, "Label3", page, "Varnel 開発チーム", bold);
  Label3->SetBounds(16, 96, 220, 16);
  platform::FontSpec homePage;
  homePage.underline = true;
  homePage.color = 0x800000;  // navy
  Label4 = Make<TLabel>(*this, "Label4", page, "varnel_help\\help.htm", homePage, true);
  Label4->SetBounds(16, 122, 220, 16);
  Label4->OnClick = Handler(this, &TForm1::Label4Click);
  platform::FontSpec mail;
  mail.underline = true;
  mail.color = 0x800080;  // purple
  Label5 = Make<TLabel>(*this, "Label5", page, "", mail, true);
  Label5->SetBounds(16, 144, 220, 16);
  Label5->SetVisible(false);
  Label5->OnClick = Handler(this, &TForm1::Label5Click);
  BitBtn2 = Make<TBitBtn>(*this, "BitBtn2", page, "ヘルプ", TBitBtnKind::Help);
  BitBtn2->SetBounds(16, 180, 90, 25);
  BitBtn2->OnClick = Handler(this, &TForm1::BitBtn2Click);
}

}  // namespace varnel
