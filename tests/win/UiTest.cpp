// Control peers on real windows: what the user does reaches the sink, what code sets does not.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/ScopeExit.h"
#include "platform/win32/Fonts.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"

namespace varnel::win32 {
namespace {

using platform::ControlKind;
using platform::ControlPeer;
using platform::ControlSpec;
using platform::Rect;

struct RecordingSink : platform::ControlSink {
  void PeerClicked() override { ++clicks; }
  void PeerTextChanged(const std::string& text) override { texts.push_back(text); }
  void PeerPositionChanged(int position) override { positions.push_back(position); }
  void PeerSelectionChanged(int index) override { selections.push_back(index); }
  bool PeerCloseQuery(bool endSession) override {
    closeQueries.push_back(endSession);
    return allowClose;
  }
  void PeerActivated() override { ++activations; }
  void PeerDisplayChanged() override { ++displayChanges; }
  void PeerEndSession(bool ending) override { endSessions.push_back(ending); }

  int clicks = 0;
  std::vector<std::string> texts;
  std::vector<int> positions;
  std::vector<int> selections;
  std::vector<bool> closeQueries;
  std::vector<bool> endSessions;
  bool allowClose = true;
  int activations = 0;
  int displayChanges = 0;
};

HWND H(const ControlPeer& peer) { return ToHwnd(peer.Handle()); }

// Design pixels (96 DPI) in the screen's pixels: peers take and give design pixels for
// children and client sizes, and show them at the screen's scale.
int Scaled(int design) {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return ::MulDiv(design, dpi, 96);
}

// The settings window as the program creates it: hidden application window, then the form.
class SettingsForm : public ::testing::Test {
 protected:
  SettingsForm() {
    ControlSpec application;
    application.kind = ControlKind::ApplicationWindow;
    application.className = "TApplication";
    application.text = "Varnel";
    application_ = ui().CreateControl(application, nullptr, applicationSink_);

    ControlSpec form;
    form.kind = ControlKind::Form;
    form.className = "TForm1";
    form.text = "Varnel（設定）";
    form.bounds = Rect::FromSize(100, 80, 275, 380);
    form.dialogFrame = true;
    form.font = {"ＭＳ Ｐゴシック", 12};
    form_ = ui().CreateControl(form, nullptr, formSink_);
  }

  platform::Ui& ui() { return system_.Get().ui; }

  std::unique_ptr<ControlPeer> Child(ControlKind kind, const std::string& text, Rect bounds,
                                     ControlPeer& parent, RecordingSink& sink) {
    ControlSpec spec;
    spec.kind = kind;
    spec.text = text;
    spec.bounds = bounds;
    return ui().CreateControl(spec, &parent, sink);
  }

  Win32Platform system_;
  RecordingSink applicationSink_;
  RecordingSink formSink_;
  std::unique_ptr<ControlPeer> application_;
  std::unique_ptr<ControlPeer> form_;
};

TEST_F(SettingsForm, ApplicationWindowIsShownWithoutSizeNamedAndOwnsTheForm) {
  platform::WindowManager& windows = system_.Get().windows;
  EXPECT_EQ(windows.GetClassName(application_->Handle()), "TApplication");
  EXPECT_EQ(windows.GetWindowText(application_->Handle()), "Varnel");
  application_->SetVisible(true);
  // Visible, so that the menus it owns have a visible owner, but nothing of it can be seen.
  EXPECT_TRUE(windows.IsWindowVisible(application_->Handle()));
  EXPECT_EQ(windows.GetWindowRect(application_->Handle()).Width(), 0);
  EXPECT_EQ(windows.GetWindowRect(application_->Handle()).Height(), 0);

  EXPECT_EQ(windows.GetClassName(form_->Handle()), "TForm1");
  EXPECT_EQ(::GetWindow(H(*form_), GW_OWNER), H(*application_));
}

TEST_F(SettingsForm, DialogFrameHasCaptionWithoutSystemMenuOrSizingBorder) {
  const LONG style = ::GetWindowLongW(H(*form_), GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_EQ(style & WS_CHILD, 0);
}

TEST_F(SettingsForm, BoundsAreTheOuterScreenRectangleDownToOnePixelOffScreen) {
  EXPECT_EQ(form_->GetBounds(), Rect::FromSize(100, 80, 275, 380));
  form_->SetBounds(Rect::FromSize(300, 200, 280, 390));
  EXPECT_EQ(form_->GetBounds(), Rect::FromSize(300, 200, 280, 390));
  // The closed settings window.
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  form_->SetBounds(Rect::FromSize(-width, -height, 1, 1));
  EXPECT_EQ(form_->GetBounds(), Rect::FromSize(-width, -height, 1, 1));

  // The designed client area at the screen's scale, whatever frame the system draws around it.
  form_->SetClientSize(267, 346);
  RECT client{};
  ::GetClientRect(H(*form_), &client);
  EXPECT_EQ(client.right, Scaled(267));
  EXPECT_EQ(client.bottom, Scaled(346));
  EXPECT_EQ(form_->GetBounds().Left, -width);
}

TEST_F(SettingsForm, CloseRequestsAskTheSinkAndNeverDestroyTheWindow) {
  formSink_.allowClose = true;
  ::SendMessageW(H(*form_), WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(H(*form_)));

  formSink_.allowClose = false;
  EXPECT_EQ(::SendMessageW(H(*form_), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
  formSink_.allowClose = true;
  EXPECT_EQ(::SendMessageW(H(*form_), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  EXPECT_EQ(formSink_.closeQueries, (std::vector<bool>{false, true, true}));
  ::SendMessageW(H(*form_), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  ::SendMessageW(H(*form_), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(formSink_.endSessions, (std::vector<bool>{false, true}));
  EXPECT_TRUE(::IsWindow(H(*form_)));
}

TEST_F(SettingsForm, ShowingTheFormActivatesIt) {
  form_->SetVisible(true);
  ui().ProcessMessages();
  EXPECT_TRUE(::IsWindowVisible(H(*form_)));
  EXPECT_GE(formSink_.activations, 1);
}

TEST_F(SettingsForm, MonitorAndWorkAreaChangesReachTheSinkOtherSettingsDoNot) {
  for (const UINT setting : {SPI_SETWORKAREA, SPI_SETDESKWALLPAPER}) {
    ::SendMessageW(H(*form_), WM_SETTINGCHANGE, setting, 0);
  }
  ::SendMessageW(H(*form_), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
  EXPECT_EQ(formSink_.displayChanges, 2);
}

TEST_F(SettingsForm, ChildrenUseTheFormsJapaneseFontAndParentRelativeBounds) {
  RecordingSink sink;
  auto box = Child(ControlKind::CheckBox, "上", Rect::FromSize(10, 20, 60, 17), *form_, sink);
  EXPECT_EQ(box->GetBounds(), Rect::FromSize(10, 20, 60, 17));
  box->SetBounds(Rect::FromSize(12, 30, 70, 18));
  EXPECT_EQ(box->GetBounds(), Rect::FromSize(12, 30, 70, 18));

  const auto font = reinterpret_cast<HFONT>(::SendMessageW(H(*box), WM_GETFONT, 0, 0));
  LOGFONTW logFont{};
  ASSERT_NE(::GetObjectW(font, sizeof(logFont), &logFont), 0);
  EXPECT_EQ(logFont.lfHeight, -Scaled(12));
  EXPECT_EQ(logFont.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_TRUE(FontFaceExists(logFont.lfFaceName)) << Narrow(logFont.lfFaceName);
}

TEST_F(SettingsForm, ClicksOnCheckBoxesAndRadioButtonsReachTheirSinks) {
  RecordingSink checkSink, radioSink;
  auto box = Child(ControlKind::CheckBox, "上", Rect::FromSize(10, 10, 60, 17), *form_, checkSink);
  RecordingSink groupSink;
  auto group =
      Child(ControlKind::GroupBox, "処理", Rect::FromSize(10, 40, 200, 80), *form_, groupSink);
  auto radio =
      Child(ControlKind::RadioButton, "移動する", Rect::FromSize(8, 16, 90, 17), *group, radioSink);

  ::SendMessageW(H(*box), BM_CLICK, 0, 0);
  EXPECT_EQ(checkSink.clicks, 1);
  EXPECT_EQ(::SendMessageW(H(*box), BM_GETCHECK, 0, 0), BST_CHECKED);

  // Inside the group box, and not an automatic radio button: the framework checks it.
  ::SendMessageW(H(*radio), BM_CLICK, 0, 0);
  EXPECT_EQ(radioSink.clicks, 1);
  EXPECT_EQ(::SendMessageW(H(*radio), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  radio->SetChecked(true);
  EXPECT_EQ(::SendMessageW(H(*radio), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(radioSink.clicks, 1);
  EXPECT_EQ(groupSink.clicks, 0);
}

TEST_F(SettingsForm, EditReportsOnlyChangesThatCodeDidNotMake) {
  RecordingSink sink;
  auto edit = Child(ControlKind::Edit, "", Rect::FromSize(10, 10, 120, 20), *form_, sink);
  edit->SetText("C:\\Users\\");
  EXPECT_TRUE(sink.texts.empty());

  ::SendMessageW(H(*edit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"監視フォルダ"));
  EXPECT_EQ(sink.texts, std::vector<std::string>{"監視フォルダ"});
  ::SendMessageW(H(*edit), EM_SETSEL, 6, 6);  // caret to the end
  ::SendMessageW(H(*edit), WM_CHAR, L'x', 0);
  EXPECT_EQ(sink.texts.back(), "監視フォルダx");
}

TEST_F(SettingsForm, UpDownArrowsReportTheClampedNewPosition) {
  RecordingSink sink;
  ControlSpec spec;
  spec.kind = ControlKind::UpDown;
  spec.vertical = true;
  spec.bounds = Rect::FromSize(10, 10, 17, 24);
  auto upDown = ui().CreateControl(spec, form_.get(), sink);
  upDown->SetRange(1, 500);
  upDown->SetPosition(30);
  EXPECT_TRUE(sink.positions.empty());

  const auto clickUpperHalf = [&] {
    ::SendMessageW(H(*upDown), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 3));
    ::SendMessageW(H(*upDown), WM_LBUTTONUP, 0, MAKELPARAM(8, 3));
  };
  clickUpperHalf();
  EXPECT_EQ(sink.positions, std::vector<int>{31});
  EXPECT_EQ(::SendMessageW(H(*upDown), UDM_GETPOS32, 0, 0), 31);

  upDown->SetPosition(500);
  clickUpperHalf();
  EXPECT_EQ(sink.positions.back(), 500);
  EXPECT_EQ(::SendMessageW(H(*upDown), UDM_GETPOS32, 0, 0), 500);
}

TEST_F(SettingsForm, TrackBarReportsUserMovesOnly) {
  RecordingSink sink;
  auto track = Child(ControlKind::TrackBar, "", Rect::FromSize(10, 10, 150, 30), *form_, sink);
  track->SetRange(1, 100);
  track->SetPosition(10);
  EXPECT_TRUE(sink.positions.empty());

  ::SendMessageW(H(*track), WM_KEYDOWN, VK_RIGHT, 0);
  ::SendMessageW(H(*track), WM_KEYUP, VK_RIGHT, 0);
  EXPECT_EQ(sink.positions, std::vector<int>{11});
}

TEST_F(SettingsForm, ListBoxReportsUserSelection) {
  RecordingSink sink;
  auto list = Child(ControlKind::ListBox, "", Rect::FromSize(10, 10, 100, 80), *form_, sink);
  list->SetItems({"pdf", "txt", "日本語"});
  list->SetItemIndex(2);
  EXPECT_EQ(::SendMessageW(H(*list), LB_GETCOUNT, 0, 0), 3);
  EXPECT_TRUE(sink.selections.empty());

  ::SendMessageW(H(*list), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(sink.selections, std::vector<int>{1});
  list->SetItems({});
  EXPECT_EQ(::SendMessageW(H(*list), LB_GETCOUNT, 0, 0), 0);
}

TEST_F(SettingsForm, PageControlShowsOnlyTheActiveSheet) {
  RecordingSink pageSink, sheetSink;
  auto pages =
      Child(ControlKind::PageControl, "", Rect::FromSize(0, 0, 267, 305), *form_, pageSink);
  auto first = Child(ControlKind::TabSheet, "動作", {}, *pages, sheetSink);
  auto second = Child(ControlKind::TabSheet, "フォルダ", {}, *pages, sheetSink);
  auto third = Child(ControlKind::TabSheet, "Launch", {}, *pages, sheetSink);
  form_->SetVisible(true);

  ASSERT_EQ(::SendMessageW(H(*pages), TCM_GETITEMCOUNT, 0, 0), 3);
  wchar_t caption[32] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption;
  item.cchTextMax = 32;
  ::SendMessageW(H(*pages), TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(Narrow(caption), "フォルダ");

  pages->SetItemIndex(1);
  EXPECT_FALSE(::IsWindowVisible(H(*first)));
  EXPECT_TRUE(::IsWindowVisible(H(*second)));
  EXPECT_FALSE(::IsWindowVisible(H(*third)));
  EXPECT_TRUE(pageSink.selections.empty());

  // The user moves one tab to the left.
  ::SendMessageW(H(*pages), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(pageSink.selections, std::vector<int>{0});
  EXPECT_TRUE(::IsWindowVisible(H(*first)));
  EXPECT_FALSE(::IsWindowVisible(H(*second)));

  // A sheet fills the display area; its own controls sit relative to it.
  RECT sheet{};
  ::GetClientRect(H(*first), &sheet);
  EXPECT_GT(sheet.right, 200);
  EXPECT_GT(sheet.bottom, 200);
  RecordingSink boxSink;
  auto box = Child(ControlKind::CheckBox, "上", Rect::FromSize(8, 8, 40, 17), *first, boxSink);
  ::SendMessageW(H(*box), BM_CLICK, 0, 0);
  EXPECT_EQ(boxSink.clicks, 1);

  second.reset();
  EXPECT_EQ(::SendMessageW(H(*pages), TCM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(SettingsForm, ButtonsClickWithGlyphAndLabelsAsLinks) {
  RecordingSink okSink, linkSink;
  ControlSpec ok;
  ok.kind = ControlKind::Button;
  ok.text = "OK";
  ok.bounds = Rect::FromSize(168, 312, 97, 25);
  ok.glyph = platform::ButtonGlyph::Ok;
  ok.defaultButton = true;
  auto button = ui().CreateControl(ok, form_.get(), okSink);
  EXPECT_EQ(::GetWindowLongW(H(*button), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
  BUTTON_IMAGELIST images{};
  ::SendMessageW(H(*button), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
  EXPECT_NE(images.himl, nullptr);
  ::SendMessageW(H(*button), BM_CLICK, 0, 0);
  EXPECT_EQ(okSink.clicks, 1);

  ControlSpec link;
  link.kind = ControlKind::Label;
  link.text = "ホームページ";
  link.clickable = true;
  link.font.underline = true;
  link.font.color = RGB(0, 0, 255);
  link.bounds = Rect::FromSize(10, 10, 100, 14);
  auto label = ui().CreateControl(link, form_.get(), linkSink);
  ::SendMessageW(H(*label), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  ::SendMessageW(H(*label), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(linkSink.clicks, 1);
  LOGFONTW logFont{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(H(*label), WM_GETFONT, 0, 0)),
               sizeof(logFont), &logFont);
  EXPECT_TRUE(logFont.lfUnderline);
  EXPECT_EQ(logFont.lfHeight, -Scaled(12));  // the form's height, kept
}

BOOL CALLBACK CollectToolTip(HWND window, LPARAM found) {
  wchar_t name[64];
  ::GetClassNameW(window, name, 64);
  if (std::wstring(name) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(found) = window;
  return TRUE;
}

TEST_F(SettingsForm, HintsBecomeToolTipsOfTheForm) {
  RecordingSink sink;
  auto box = Child(ControlKind::CheckBox, "上", Rect::FromSize(10, 10, 60, 17), *form_, sink);
  box->SetHint("上から出現");
  box->SetHint("上から出現します");  // replaced, not added

  HWND toolTip = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectToolTip, reinterpret_cast<LPARAM>(&toolTip));
  ASSERT_NE(toolTip, nullptr);
  EXPECT_EQ(::GetWindow(toolTip, GW_OWNER), H(*form_));
  EXPECT_EQ(::SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[80] = {};
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = H(*form_);
  info.uId = reinterpret_cast<UINT_PTR>(H(*box));
  info.lpszText = text;
  ::SendMessageW(toolTip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(Narrow(text), "上から出現します");
}

TEST_F(SettingsForm, TimerFiresFromTheLoopUntilQuit) {
  int ticks = 0;
  platform::TimerId id = 0;
  id = ui().SetTimer(10, [&] {
    if (++ticks == 3) {
      ui().KillTimer(id);
      ui().PostQuitMessage();
    }
  });
  ui().Run();
  EXPECT_EQ(ticks, 3);
}

TEST_F(SettingsForm, PostedTasksRunInOrderFromTheLoop) {
  std::string order;
  ui().PostTask([&] { order += 'a'; });
  ui().PostTask([&] {
    order += 'b';
    ui().PostTask([&] { order += 'c'; });  // runs after what was already waiting
  });
  EXPECT_EQ(order, "");
  ui().ProcessMessages();
  EXPECT_EQ(order, "abc");

  // A quit seen by ProcessMessages stays for the outer loop.
  ui().PostQuitMessage();
  ui().ProcessMessages();
  MSG message;
  EXPECT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// --- Utility windows ---------------------------------------------------------------------------

// Answers a question of its own, a notification, and when told to a system message too.
struct AnsweringSink : platform::ControlSink {
  std::optional<std::intptr_t> PeerWindowMessage(unsigned message, std::uintptr_t wParam,
                                                 std::intptr_t lParam) override {
    if (message == WM_APP + 5) return static_cast<std::intptr_t>(wParam * 2 + lParam);
    if (message == WM_COMMAND) return 7;
    if (message == WM_GETTEXTLENGTH && answerTextLength) return 99;
    return std::nullopt;
  }
  bool answerTextLength = false;
};

std::unique_ptr<ControlPeer> MakeUtilityWindow(platform::Ui& ui, platform::ControlSink& sink,
                                               const std::string& text = "") {
  ControlSpec spec;
  spec.kind = ControlKind::UtilityWindow;
  spec.text = text;
  return ui.CreateControl(spec, nullptr, sink);
}

// Made after the application window and the form, as the program makes it, yet owned by
// neither.
TEST_F(SettingsForm, AUtilityWindowIsHiddenUnownedAndAnswersWhatItsSinkAnswers) {
  AnsweringSink sink;
  auto utility = MakeUtilityWindow(ui(), sink, "ユーティリティ");
  const HWND window = H(*utility);
  EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);
  EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & (WS_POPUP | WS_CHILD), WS_POPUP);
  EXPECT_NE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  utility->SetVisible(true);
  EXPECT_FALSE(::IsWindowVisible(window));

  platform::WindowManager& windows = system_.Get().windows;
  EXPECT_EQ(windows.SendMessage(utility->Handle(), WM_APP + 5, 20, 2), 42);
  // Unanswered, a message gets the system's handling; answered, the sink's answer wins.
  EXPECT_EQ(windows.SendMessage(utility->Handle(), WM_GETTEXTLENGTH, 0, 0), 7);
  EXPECT_EQ(windows.SendMessage(utility->Handle(), WM_APP + 6, 1, 1), 0);
  sink.answerTextLength = true;
  EXPECT_EQ(windows.SendMessage(utility->Handle(), WM_GETTEXTLENGTH, 0, 0), 99);

  // A notification naming one of our controls is still the utility window's own message.
  RecordingSink boxSink;
  auto box = Child(ControlKind::CheckBox, "上", Rect::FromSize(10, 10, 60, 17), *form_, boxSink);
  EXPECT_EQ(::SendMessageW(window, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED),
                           reinterpret_cast<LPARAM>(H(*box))),
            7);
  EXPECT_EQ(boxSink.clicks, 0);
}

// --- The clipboard viewer chain ------------------------------------------------------------

// A viewer as the chain wants one: every change is passed on to the next viewer, and a repair
// of the chain is either its own to make or passed on.
struct ViewerSink : platform::ControlSink {
  std::optional<std::intptr_t> PeerWindowMessage(unsigned message, std::uintptr_t wParam,
                                                 std::intptr_t lParam) override {
    if (message == WM_DRAWCLIPBOARD) {
      ++draws;
    } else if (message == WM_CHANGECBCHAIN) {
      ++repairs;
      if (reinterpret_cast<HWND>(wParam) == next) {
        next = reinterpret_cast<HWND>(lParam);
        return 0;
      }
    } else {
      return std::nullopt;
    }
    if (next) ::SendMessageW(next, message, wParam, lParam);
    return 0;
  }
  HWND next = nullptr;
  int draws = 0;
  int repairs = 0;
};

class ClipboardChain : public SettingsForm {
 protected:
  // Changes the clipboard as another program would, from a window that then owns it.
  void SetClipboardText(const wchar_t* text) {
    ASSERT_TRUE(::OpenClipboard(H(*form_)));
    const auto close = ScopeExit([] { ::CloseClipboard(); });
    ASSERT_TRUE(::EmptyClipboard());
    const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    ASSERT_NE(memory, nullptr);
    std::memcpy(::GlobalLock(memory), text, bytes);
    ::GlobalUnlock(memory);
    ASSERT_NE(::SetClipboardData(CF_UNICODETEXT, memory), nullptr);
  }
  // Lets messages run until `done`, or for `ms` at most. A change seen through X11 may be
  // reported twice, the second time late, so even "nothing more" is waited for.
  template <typename Done>
  bool RunUntil(Done done, DWORD ms = 2000) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
      if (::GetTickCount() - start >= ms) return false;
      ui().WaitForMessages(20);
    }
    return true;
  }
  void Settle() { RunUntil([] { return false; }, 300); }
  platform::Clipboard& clipboard() { return system_.Get().clipboard; }
};

TEST_F(ClipboardChain, ViewersHearOfChangesUntilTheyLeaveTheChain) {
  ViewerSink first, second;
  auto firstWindow = MakeUtilityWindow(ui(), first);
  auto secondWindow = MakeUtilityWindow(ui(), second);
  bool firstIn = false, secondIn = false;
  // However the test ends, the chain is left as it was found.
  const auto leave = ScopeExit([&] {
    if (secondIn) clipboard().ChangeClipboardChain(secondWindow->Handle(), FromHwnd(second.next));
    if (firstIn) clipboard().ChangeClipboardChain(firstWindow->Handle(), FromHwnd(first.next));
  });

  first.next = ToHwnd(clipboard().SetClipboardViewer(firstWindow->Handle()));
  firstIn = true;
  EXPECT_EQ(first.draws, 1);  // told at once, before the call returns
  Settle();
  int firstBefore = first.draws;
  SetClipboardText(L"最初の変更");
  EXPECT_TRUE(RunUntil([&] { return first.draws > firstBefore; }));

  // A second viewer goes ahead of the first and passes changes on to it.
  EXPECT_EQ(clipboard().SetClipboardViewer(secondWindow->Handle()), firstWindow->Handle());
  second.next = H(*firstWindow);
  secondIn = true;
  Settle();
  firstBefore = first.draws;
  int secondBefore = second.draws;
  SetClipboardText(L"second change");
  EXPECT_TRUE(RunUntil([&] { return first.draws > firstBefore && second.draws > secondBefore; }));

  // The first leaves: the head learns of it and passes changes on past it.
  Settle();
  clipboard().ChangeClipboardChain(firstWindow->Handle(), FromHwnd(first.next));
  firstIn = false;
  EXPECT_EQ(second.repairs, 1);
  EXPECT_EQ(second.next, first.next);
  firstBefore = first.draws;
  secondBefore = second.draws;
  SetClipboardText(L"third change");
  EXPECT_TRUE(RunUntil([&] { return second.draws > secondBefore; }));
  Settle();
  EXPECT_EQ(first.draws, firstBefore);

  // The head leaves too: neither hears of anything any more.
  clipboard().ChangeClipboardChain(secondWindow->Handle(), FromHwnd(second.next));
  secondIn = false;
  secondBefore = second.draws;
  SetClipboardText(L"fourth change");
  Settle();
  EXPECT_EQ(second.draws, secondBefore);
  EXPECT_EQ(first.draws, firstBefore);
}

}  // namespace
}  // namespace varnel::win32
