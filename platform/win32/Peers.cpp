#include "platform/win32/Peers.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <vector>

#include "base/ScopeExit.h"
#include "platform/Refusal.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Fonts.h"
#include "platform/win32/Text.h"

namespace varnel::win32 {

using platform::ControlKind;

namespace {

constexpr UINT_PTR kSubclassId = 0x56524E4C;  // "VRNL"
// The peer of a window, for notifications its parent receives. (GetWindowSubclass would do,
// but MinGW's import library lacks it: comctl32 exports it by ordinal only.)
constexpr wchar_t kPeerProperty[] = L"VarnelPeer";
constexpr wchar_t kSheetClass[] = L"VarnelTabSheet";
constexpr wchar_t kCallbackClass[] = L"VarnelCallbackWindow";
constexpr wchar_t kMainIcon[] = L"MAINICON";

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

// Broadcast by the shell to every top-level window when its taskbar starts.
UINT TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

// Top-level windows get the class name the program asks for: other instances and tools find
// the program by it.
std::wstring RegisterTopLevelClass(const std::string& name) {
  std::wstring className = Widen(name);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = ::DefWindowProcW;  // the peer's subclass procedure does the work
  windowClass.hInstance = Instance();
  windowClass.hIcon = ::LoadIconW(Instance(), kMainIcon);
  windowClass.hIconSm = static_cast<HICON>(::LoadImageW(
      Instance(), kMainIcon, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
      ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className.c_str();
  ::RegisterClassExW(&windowClass);  // an existing class of that name is just as good
  return className;
}

std::wstring WindowTextOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

HFONT ParentFont(const PeerCreateArgs& args) {
  return args.parent ? args.parent->Font() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

UINT ParentDpi(const PeerCreateArgs& args) {
  return args.parent ? args.parent->Dpi() : SystemDpi();
}

}  // namespace

void RegisterPeerClasses() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = Instance();
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kSheetClass;
  ::RegisterClassExW(&windowClass);
  windowClass.hbrBackground = nullptr;
  windowClass.lpszClassName = kCallbackClass;
  ::RegisterClassExW(&windowClass);
}

// --- The common part -----------------------------------------------------------------------

WindowPeer::~WindowPeer() {
  // Unhook first: destroying the window sends it messages, and this object is half gone.
  if (HWND window = window_.get()) {
    ::RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    ::RemovePropW(window, kPeerProperty);
  }
}

WindowPeer* WindowPeer::FromWindow(HWND window) {
  return window ? static_cast<WindowPeer*>(::GetPropW(window, kPeerProperty)) : nullptr;
}

void WindowPeer::Attach(HWND window, HFONT font) {
  if (!window) throw platform::SystemRefusal(platform::Refused::Window, "CreateWindowExW");
  window_.reset(window);
  ::SetPropW(window, kPeerProperty, this);
  ::SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  if (font) SetFont(font);
}

HWND WindowPeer::CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle,
                             const PeerCreateArgs& args) {
  if (!args.parent || !args.parent->Window()) {
    throw std::invalid_argument("a control needs a parent window");
  }
  design_ = args.spec.bounds;
  const RECT bounds = ToDevice(args.spec.bounds, args.parent->Dpi());
  return ::CreateWindowExW(exStyle, windowClass, Widen(args.spec.text).c_str(),
                           WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top,
                           args.parent->Window(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.controlId)),
                           Instance(), nullptr);
}

void WindowPeer::SetFont(HFONT font) {
  font_ = font;
  ::SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void WindowPeer::ApplyDpi(UINT dpi) {
  const unique_hfont retired = ApplyOwnDpi(dpi);
  for (HWND child = ::GetWindow(window_.get(), GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (WindowPeer* peer = FromWindow(child)) peer->ApplyDpi(dpi);
  }
}

unique_hfont WindowPeer::ApplyOwnDpi(UINT dpi) {
  if (const WindowPeer* parent = FromWindow(::GetAncestor(window_.get(), GA_PARENT))) {
    SetFont(parent->Font());
  }
  if (design_) Place(*design_, dpi);
  return {};
}

LRESULT CALLBACK WindowPeer::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam, UINT_PTR, DWORD_PTR reference) {
  auto* peer = reinterpret_cast<WindowPeer*>(reference);
  if (message == WM_NCDESTROY) {
    // Destroyed with its parent before the framework let go of the peer.
    ::RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    ::RemovePropW(window, kPeerProperty);
    (void)peer->window_.release();
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  try {
    LRESULT result = 0;
    if (peer->Route(message, wParam, lParam, result)) return result;
  } catch (const std::exception& error) {
    ReportCallbackFailure(error.what());
    return 0;
  } catch (...) {
    ReportCallbackFailure(nullptr);
    return 0;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

bool WindowPeer::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // A utility window holds no controls: whatever it receives is its own, for its sink, even
  // a WM_COMMAND whose lParam happens to name a control of ours.
  if (kind_ == ControlKind::UtilityWindow) return OnMessage(message, wParam, lParam, result);
  switch (message) {
    case WM_COMMAND:
      if (WindowPeer* child = FromWindow(reinterpret_cast<HWND>(lParam))) {
        child->OnCommand(HIWORD(wParam));
        return true;
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      WindowPeer* child = header ? FromWindow(header->hwndFrom) : nullptr;
      if (child && child != this) return child->OnNotify(*header, result);
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (WindowPeer* child = FromWindow(reinterpret_cast<HWND>(lParam))) {
        child->OnScroll();
        return true;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (WindowPeer* child = FromWindow(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = child->OnControlColor(reinterpret_cast<HDC>(wParam))) {
          result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      break;
    default:
      break;
  }
  return OnMessage(message, wParam, lParam, result);
}

platform::Hwnd WindowPeer::Handle() const { return FromHwnd(window_.get()); }

bool WindowPeer::IsChild() const {
  return (::GetWindowLongW(window_.get(), GWL_STYLE) & WS_CHILD) != 0;
}

// A top-level window's bounds are screen pixels, as the user and the system see them.
void WindowPeer::SetBounds(const platform::Rect& bounds) {
  if (IsChild()) {
    design_ = bounds;
    Place(bounds, Dpi());
    return;
  }
  ::SetWindowPos(window_.get(), nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void WindowPeer::Place(const platform::Rect& design, UINT dpi) {
  const RECT bounds = ToDevice(design, dpi);
  ::SetWindowPos(window_.get(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// The client size is in design pixels, the frame the system's at the window's scale. The
// frame is computed from the styles rather than measured: a shrunk 1 x 1 window has no client
// area to measure against.
void WindowPeer::SetClientSize(int width, int height) {
  if (IsChild()) {
    const platform::Rect at = design_.value_or(GetBounds());
    SetBounds(platform::Rect::FromSize(at.Left, at.Top, width, height));
    return;
  }
  const UINT dpi = Dpi();
  const RECT outer = OuterForClient(
      {ToDevice(width, dpi), ToDevice(height, dpi)},
      static_cast<DWORD>(::GetWindowLongW(window_.get(), GWL_STYLE)),
      static_cast<DWORD>(::GetWindowLongW(window_.get(), GWL_EXSTYLE)),
      ::GetMenu(window_.get()) != nullptr, dpi);
  ::SetWindowPos(window_.get(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

platform::Rect WindowPeer::GetBounds() const {
  RECT rect{};
  if (!::GetWindowRect(window_.get(), &rect)) return {};
  if (!IsChild()) return {rect.left, rect.top, rect.right, rect.bottom};
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window_.get()), reinterpret_cast<POINT*>(&rect), 2);
  return ToDesign(rect, Dpi());
}

void WindowPeer::SetText(const std::string& text) {
  ::SetWindowTextW(window_.get(), Widen(text).c_str());
}

void WindowPeer::SetVisible(bool visible) {
  ::ShowWindow(window_.get(), visible ? SW_SHOW : SW_HIDE);
}

void WindowPeer::SetEnabled(bool enabled) { ::EnableWindow(window_.get(), enabled); }

// --- Top-level windows -----------------------------------------------------------------------

namespace {

// The hidden window that stands for the program: other instances find it by class and text.
class ApplicationPeer final : public WindowPeer {
 public:
  explicit ApplicationPeer(const PeerCreateArgs& args)
      : WindowPeer(ControlKind::ApplicationWindow, args.sink) {
    const std::wstring windowClass =
        RegisterTopLevelClass(args.spec.className.empty() ? "TApplication" : args.spec.className);
    const platform::Rect& bounds = args.spec.bounds;
    // No caption: the system then grants the window the size of nothing it asks for.
    Attach(::CreateWindowExW(0, windowClass.c_str(), Widen(args.spec.text).c_str(),
                             WS_POPUP | WS_CLIPSIBLINGS, bounds.Left, bounds.Top, bounds.Width(),
                             bounds.Height(), nullptr, nullptr, Instance(), nullptr),
           static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  }
  // Shown, but of no size: nothing of it is seen, yet the menus it owns have a visible owner.
  void SetVisible(bool visible) override {
    ::ShowWindow(Window(), visible ? SW_SHOWNOACTIVATE : SW_HIDE);
  }

 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message != WM_CLOSE) return false;
    sink_.PeerCloseQuery(false);
    result = 0;
    return true;
  }
};

}  // namespace

class FormPeer final : public WindowPeer {
 public:
  explicit FormPeer(const PeerCreateArgs& args)
      : WindowPeer(ControlKind::Form, args.sink), fontSpec_(args.spec.font) {
    const std::wstring windowClass =
        RegisterTopLevelClass(args.spec.className.empty() ? "TForm" : args.spec.className);
    // A fixed single border and a caption without system menu has no title-bar buttons.
    const DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                        (args.spec.dialogFrame ? WS_CAPTION : WS_OVERLAPPEDWINDOW);
    const platform::Rect& bounds = args.spec.bounds;
    Attach(::CreateWindowExW(WS_EX_CONTROLPARENT, windowClass.c_str(),
                             Widen(args.spec.text).c_str(), style, bounds.Left, bounds.Top,
                             bounds.Width(), bounds.Height(), args.owner, nullptr, Instance(),
                             nullptr),
           nullptr);
    // The font's size depends on the monitor the window turned out to be on.
    dpi_ = WindowDpi(Window());
    font_ = CreateFormFont(fontSpec_, dpi_);
    SetFont(font_.get());
    toolTip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window(),
                                     nullptr, Instance(), nullptr));
    SetToolTipFont();
  }

  ~FormPeer() override { toolTip_.reset(); }

  UINT LayoutDpi() const { return dpi_; }

  void SetVisible(bool visible) override {
    ::ShowWindow(Window(), visible ? SW_SHOWNORMAL : SW_HIDE);
  }

  void SetToolTip(HWND tool, const std::string& hint) {
    if (!toolTip_) return;
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = Window();
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    ::SendMessageW(toolTip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (hint.empty()) return;
    std::wstring text = Widen(hint);
    info.lpszText = text.data();
    ::SendMessageW(toolTip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_CLOSE:
        // The framework decides; when it agrees it ends the program itself.
        sink_.PeerCloseQuery(false);
        result = 0;
        return true;
      case WM_QUERYENDSESSION:
        result = sink_.PeerCloseQuery(true) ? TRUE : FALSE;
        return true;
      case WM_ENDSESSION:
        sink_.PeerEndSession(wParam != FALSE);
        result = 0;
        return true;
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) sink_.PeerActivated();
        return false;  // the default handling still gives the focus
      case WM_DISPLAYCHANGE:
        sink_.PeerDisplayChanged();
        return false;
      case WM_SETTINGCHANGE:
        // A taskbar moved, resized or set to hide itself changes a work area; no display
        // change is sent for that.
        if (wParam == SPI_SETWORKAREA) sink_.PeerDisplayChanged();
        return false;
      case WM_GETMINMAXINFO:
        // The closed settings window is 1 x 1 pixel; the system's minimum would spoil that.
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {1, 1};
        result = 0;
        return true;
      case WM_DPICHANGED:
        FollowDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        result = 0;
        return true;
      default:
        // The shell tells top-level windows only; the tray icons' callback windows are the
        // form's children.
        if (message == TaskbarCreatedMessage()) {
          ::EnumChildWindows(Window(), ForwardToCallbackWindow, static_cast<LPARAM>(message));
        }
        return false;
    }
  }

 private:
  static BOOL CALLBACK ForwardToCallbackWindow(HWND child, LPARAM message) {
    const WindowPeer* peer = FromWindow(child);
    if (peer && peer->Kind() == ControlKind::CallbackWindow) {
      ::SendMessageW(child, static_cast<UINT>(message), 0, 0);
    }
    return TRUE;
  }

  // The window is on a monitor of another scale now. The system suggests the rectangle that
  // keeps it under the pointer at its new size; a shrunk window (the closed settings window,
  // 1 x 1 off screen) keeps its rectangle, which the program set and reads back.
  void FollowDpi(UINT dpi, const RECT& suggested) {
    if (dpi == 0 || dpi == dpi_) return;
    dpi_ = dpi;
    RECT client{};
    ::GetClientRect(Window(), &client);
    if (client.right > 0 && client.bottom > 0) {
      ::SetWindowPos(Window(), nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    ApplyDpi(dpi);
    ::RedrawWindow(Window(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }

  unique_hfont ApplyOwnDpi(UINT dpi) override {
    unique_hfont retired = std::move(font_);
    font_ = CreateFormFont(fontSpec_, dpi);
    SetFont(font_.get());
    SetToolTipFont();
    return retired;
  }

  void SetToolTipFont() {
    if (!toolTip_) return;
    ::SendMessageW(toolTip_.get(), TTM_SETMAXTIPWIDTH, 0, ToDevice(400, dpi_));
    ::SendMessageW(toolTip_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }

  const platform::FontSpec fontSpec_;
  UINT dpi_ = kDesignDpi;
  unique_hfont font_;
  unique_hwnd toolTip_;
};

UINT WindowPeer::Dpi() const {
  if (const FormPeer* form = Form()) return form->LayoutDpi();
  return WindowDpi(window_.get());
}

FormPeer* WindowPeer::Form() const {
  return dynamic_cast<FormPeer*>(FromWindow(::GetAncestor(window_.get(), GA_ROOT)));
}

void WindowPeer::SetHint(const std::string& hint) {
  if (FormPeer* form = Form()) form->SetToolTip(window_.get(), hint);
}

// --- Pages ----------------------------------------------------------------------------------

namespace {

// The tab control; its sheets are child windows placed over its display area, one shown.
class PageControlPeer final : public WindowPeer {
 public:
  explicit PageControlPeer(const PeerCreateArgs& args)
      : WindowPeer(ControlKind::PageControl, args.sink) {
    Attach(CreateChild(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, args),
           ParentFont(args));
    SetPadding(args.parent->Dpi());
  }

  void SetText(const std::string&) override {}

  void SetBounds(const platform::Rect& bounds) override {
    WindowPeer::SetBounds(bounds);
    for (HWND sheet : sheets_) PlaceSheet(sheet);
  }
  void SetClientSize(int width, int height) override {
    WindowPeer::SetClientSize(width, height);
    for (HWND sheet : sheets_) PlaceSheet(sheet);
  }

  void SetItemIndex(int index) override {
    ::SendMessageW(Window(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowSelectedSheet();
  }

  RECT DisplayArea() const {
    RECT area{};
    ::GetClientRect(Window(), &area);
    ::SendMessageW(Window(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
  }

  void AddSheet(HWND sheet, const std::string& caption) {
    std::wstring text = Widen(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    ::SendMessageW(Window(), TCM_INSERTITEMW, sheets_.size(), reinterpret_cast<LPARAM>(&item));
    sheets_.push_back(sheet);
    // The first tab changes the display area's height.
    for (HWND each : sheets_) PlaceSheet(each);
    ShowSelectedSheet();
  }

  void RemoveSheet(HWND sheet) {
    const auto found = std::find(sheets_.begin(), sheets_.end(), sheet);
    if (found == sheets_.end()) return;
    ::SendMessageW(Window(), TCM_DELETEITEM, static_cast<WPARAM>(found - sheets_.begin()), 0);
    sheets_.erase(found);
    ShowSelectedSheet();
  }

  void SetSheetCaption(HWND sheet, const std::string& caption) {
    const auto found = std::find(sheets_.begin(), sheets_.end(), sheet);
    if (found == sheets_.end()) return;
    std::wstring text = Widen(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    ::SendMessageW(Window(), TCM_SETITEMW, static_cast<WPARAM>(found - sheets_.begin()),
                   reinterpret_cast<LPARAM>(&item));
  }

 protected:
  bool OnNotify(const NMHDR& header, LRESULT& result) override {
    if (header.code != TCN_SELCHANGE) return false;
    ShowSelectedSheet();
    sink_.PeerSelectionChanged(static_cast<int>(::SendMessageW(Window(), TCM_GETCURSEL, 0, 0)));
    result = 0;
    return true;
  }

 private:
  void PlaceSheet(HWND sheet) const {
    const RECT area = DisplayArea();
    ::SetWindowPos(sheet, nullptr, area.left, area.top, area.right - area.left,
                   area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // The padding first: the tabs are measured again when the font and the size change.
  unique_hfont ApplyOwnDpi(UINT dpi) override {
    SetPadding(dpi);
    unique_hfont retired = WindowPeer::ApplyOwnDpi(dpi);
    for (HWND sheet : sheets_) PlaceSheet(sheet);
    return retired;
  }

  // The settings window is narrow: with the system's padding its five tabs would not fit and
  // the last one would hide behind scroll arrows.
  void SetPadding(UINT dpi) {
    ::SendMessageW(Window(), TCM_SETPADDING, 0, MAKELPARAM(ToDevice(4, dpi), ToDevice(3, dpi)));
  }

  void ShowSelectedSheet() {
    const auto selected = ::SendMessageW(Window(), TCM_GETCURSEL, 0, 0);
    for (size_t i = 0; i < sheets_.size(); ++i) {
      ::ShowWindow(sheets_[i], static_cast<LRESULT>(i) == selected ? SW_SHOW : SW_HIDE);
    }
  }

  std::vector<HWND> sheets_;  // in tab order
};

class TabSheetPeer final : public WindowPeer {
 public:
  explicit TabSheetPeer(const PeerCreateArgs& args)
      : WindowPeer(ControlKind::TabSheet, args.sink) {
    auto* page = dynamic_cast<PageControlPeer*>(args.parent);
    if (!page) throw std::invalid_argument("a tab sheet belongs in a page control");
    const RECT area = page->DisplayArea();
    Attach(::CreateWindowExW(WS_EX_CONTROLPARENT, kSheetClass, L"",
                             WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, area.left, area.top,
                             area.right - area.left, area.bottom - area.top, page->Window(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.controlId)),
                             Instance(), nullptr),
           page->Font());
    page->AddSheet(Window(), args.spec.text);
  }

  ~TabSheetPeer() override {
    if (PageControlPeer* page = Page()) page->RemoveSheet(Window());
  }

  void SetText(const std::string& text) override {
    if (PageControlPeer* page = Page()) page->SetSheetCaption(Window(), text);
  }
  void SetBounds(const platform::Rect&) override {}  // the page control places its sheets
  void SetClientSize(int, int) override {}
  void SetVisible(bool) override {}                  // the page control shows the active one

 private:
  PageControlPeer* Page() const {
    return Window() ? dynamic_cast<PageControlPeer*>(FromWindow(::GetParent(Window()))) : nullptr;
  }
};

// --- Buttons --------------------------------------------------------------------------------

class ButtonPeer final : public WindowPeer {
 public:
  explicit ButtonPeer(const PeerCreateArgs& args)
      : WindowPeer(args.spec.kind, args.sink), glyphKind_(args.spec.glyph) {
    DWORD style = WS_TABSTOP;
    DWORD exStyle = 0;
    switch (args.spec.kind) {
      case ControlKind::CheckBox:
        style |= BS_AUTOCHECKBOX;
        break;
      case ControlKind::RadioButton:
        style |= BS_RADIOBUTTON;  // the framework keeps the group's exclusivity
        break;
      case ControlKind::GroupBox:
        style = BS_GROUPBOX | WS_CLIPSIBLINGS;
        exStyle = WS_EX_CONTROLPARENT;  // Tab walks into the buttons it holds
        break;
      default:
        style |= args.spec.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        break;
    }
    Attach(CreateChild(WC_BUTTONW, style, exStyle, args), ParentFont(args));
    SetGlyph(args.parent->Dpi());
  }

  void SetChecked(bool checked) override {
    ::SendMessageW(Window(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }

 protected:
  void OnCommand(WORD code) override {
    if (code == BN_CLICKED && Kind() != ControlKind::GroupBox) sink_.PeerClicked();
  }

  unique_hfont ApplyOwnDpi(UINT dpi) override {
    unique_hfont retired = WindowPeer::ApplyOwnDpi(dpi);
    SetGlyph(dpi);
    return retired;
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    // A group box paints only its frame; with its parent clipping children, the inside would
    // keep whatever was on screen before.
    if (message != WM_ERASEBKGND || Kind() != ControlKind::GroupBox) return false;
    RECT client{};
    ::GetClientRect(Window(), &client);
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
    result = TRUE;
    return true;
  }

 private:
  // The button keeps using its image list: the old one goes only once the new one is in.
  void SetGlyph(UINT dpi) {
    unique_himagelist glyph = CreateGlyphImageList(glyphKind_, dpi);
    if (!glyph) return;
    BUTTON_IMAGELIST images{};
    images.himl = glyph.get();
    images.margin = {ToDevice(4, dpi), 0, 0, 0};
    images.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    ::SendMessageW(Window(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
    glyph_ = std::move(glyph);
  }

  platform::ButtonGlyph glyphKind_;
  unique_himagelist glyph_;
};

// --- Position controls -------------------------------------------------------------------------

class TrackBarPeer final : public WindowPeer {
 public:
  explicit TrackBarPeer(const PeerCreateArgs& args)
      : WindowPeer(ControlKind::TrackBar, args.sink) {
    const DWORD orientation = args.spec.vertical ? (TBS_VERT | TBS_RIGHT) : (TBS_HORZ | TBS_BOTTOM);
    Attach(CreateChild(TRACKBAR_CLASSW, WS_TABSTOP | TBS_AUTOTICKS | orientation, 0, args),
           ParentFont(args));
    reported_ = CurrentPosition();
  }

  void SetRange(int minimum, int maximum) override {
    ::SendMessageW(Window(), TBM_SETRANGEMIN, FALSE, minimum);
    ::SendMessageW(Window(), TBM_SETRANGEMAX, TRUE, maximum);
    ::SendMessageW(Window(), TBM_SETTICFREQ, std::max(1, (maximum - minimum) / 10), 0);
    reported_ = CurrentPosition();
  }

  void SetPosition(int position) override {
    ::SendMessageW(Window(), TBM_SETPOS, TRUE, position);
    reported_ = CurrentPosition();
  }

 protected:
  // Every drag step, key and page click arrives here; report each new position once.
  void OnScroll() override {
    const int position = CurrentPosition();
    if (position == reported_) return;
    reported_ = position;
    sink_.PeerPositionChanged(position);
  }

 private:
  int CurrentPosition() const {
    return static_cast<int>(::SendMessageW(Window(), TBM_GETPOS, 0, 0));
  }
  int reported_ = 0;
};

class UpDownPeer final : public WindowPeer {
 public:
  explicit UpDownPeer(const PeerCreateArgs& args) : WindowPeer(ControlKind::UpDown, args.sink) {
    Attach(CreateChild(UPDOWN_CLASSW, args.spec.vertical ? 0 : UDS_HORZ, 0, args),
           ParentFont(args));
  }

  void SetRange(int minimum, int maximum) override {
    ::SendMessageW(Window(), UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
  }
  void SetPosition(int position) override {
    ::SendMessageW(Window(), UDM_SETPOS32, 0, position);
  }

 protected:
  // The arrow click is reported with the position it leads to; the control is moved here and
  // its own step is cancelled, so the two never disagree.
  bool OnNotify(const NMHDR& header, LRESULT& result) override {
    if (header.code != UDN_DELTAPOS) return false;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    int low = 0, high = 0;
    ::SendMessageW(Window(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                   reinterpret_cast<LPARAM>(&high));
    if (low > high) std::swap(low, high);
    const long long wanted = static_cast<long long>(change.iPos) + change.iDelta;
    const int position = static_cast<int>(std::clamp<long long>(wanted, low, high));
    ::SendMessageW(Window(), UDM_SETPOS32, 0, position);
    result = TRUE;
    sink_.PeerPositionChanged(position);
    return true;
  }
};

// The keystroke is the control's own code, the one HKM_GETHOTKEY answers.
class HotKeyPeer final : public WindowPeer {
 public:
  explicit HotKeyPeer(const PeerCreateArgs& args) : WindowPeer(ControlKind::HotKey, args.sink) {
    Attach(CreateChild(HOTKEY_CLASSW, WS_TABSTOP, WS_EX_CLIENTEDGE, args), ParentFont(args));
  }

  void SetPosition(int code) override {
    const auto setting = RaiseForScope(settingValue_);
    ::SendMessageW(Window(), HKM_SETHOTKEY, static_cast<WPARAM>(code & 0xFFFF), 0);
  }

 protected:
  void OnCommand(WORD code) override {
    if (code != EN_CHANGE || settingValue_) return;
    const auto keystroke = ::SendMessageW(Window(), HKM_GETHOTKEY, 0, 0);
    sink_.PeerPositionChanged(static_cast<int>(keystroke & 0xFFFF));
  }

 private:
  bool settingValue_ = false;
};

// --- Text controls --------------------------------------------------------------------------

class EditPeer final : public WindowPeer {
 public:
  explicit EditPeer(const PeerCreateArgs& args) : WindowPeer(ControlKind::Edit, args.sink) {
    Attach(CreateChild(WC_EDITW,
                       WS_TABSTOP | ES_AUTOHSCROLL | (args.spec.readOnly ? ES_READONLY : 0),
                       WS_EX_CLIENTEDGE, args),
           ParentFont(args));
  }

  // The edit reports EN_CHANGE for our own WM_SETTEXT too; code setting a value is not a user
  // typing, so that one is swallowed.
  void SetText(const std::string& text) override {
    const std::wstring wide = Widen(text);
    const auto setting = RaiseForScope(settingText_);
    ::SetWindowTextW(Window(), wide.c_str());
  }

 protected:
  void OnCommand(WORD code) override {
    if (code == EN_CHANGE && !settingText_) sink_.PeerTextChanged(Narrow(WindowTextOf(Window())));
  }

 private:
  bool settingText_ = false;
};

class ListBoxPeer final : public WindowPeer {
 public:
  explicit ListBoxPeer(const PeerCreateArgs& args) : WindowPeer(ControlKind::ListBox, args.sink) {
    Attach(CreateChild(WC_LISTBOXW,
                       WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE,
                       args),
           ParentFont(args));
  }

  void SetText(const std::string&) override {}

  void SetItems(const std::vector<std::string>& items) override {
    ::SendMessageW(Window(), WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(Window(), LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      ::SendMessageW(Window(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    }
    ::SendMessageW(Window(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(Window(), nullptr, TRUE);
  }

  void SetItemIndex(int index) override {
    ::SendMessageW(Window(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }

 protected:
  void OnCommand(WORD code) override {
    if (code != LBN_SELCHANGE) return;
    sink_.PeerSelectionChanged(static_cast<int>(::SendMessageW(Window(), LB_GETCURSEL, 0, 0)));
  }
};

class LabelPeer final : public WindowPeer {
 public:
  explicit LabelPeer(const PeerCreateArgs& args)
      : WindowPeer(ControlKind::Label, args.sink),
        fontSpec_(args.spec.font),
        font_(CreateDerivedFont(ParentFont(args), fontSpec_, ParentDpi(args))),
        color_(args.spec.font.color),
        clickable_(args.spec.clickable) {
    Attach(CreateChild(WC_STATICW, SS_LEFT | (clickable_ ? SS_NOTIFY : 0), 0, args),
           font_ ? font_.get() : ParentFont(args));
  }

  void SetHint(const std::string& hint) override {
    // A static control lets the mouse through unless it notifies; the tooltip needs it.
    ::SetWindowLongW(Window(), GWL_STYLE, ::GetWindowLongW(Window(), GWL_STYLE) | SS_NOTIFY);
    WindowPeer::SetHint(hint);
  }

 protected:
  HBRUSH OnControlColor(HDC dc) override {
    ::SetTextColor(dc, color_);
    ::SetBkMode(dc, TRANSPARENT);
    return ::GetSysColorBrush(COLOR_BTNFACE);
  }

  void OnCommand(WORD code) override {
    if (code == STN_CLICKED && clickable_) sink_.PeerClicked();
  }

  bool OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
    if (message != WM_SETCURSOR || !clickable_ || LOWORD(lParam) != HTCLIENT) return false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    result = TRUE;
    return true;
  }

  unique_hfont ApplyOwnDpi(UINT dpi) override {
    (void)WindowPeer::ApplyOwnDpi(dpi);  // the parent's new font, which ours derives from
    unique_hfont own = CreateDerivedFont(Font(), fontSpec_, dpi);
    if (own) SetFont(own.get());
    unique_hfont retired = std::move(font_);
    font_ = std::move(own);
    return retired;
  }

 private:
  const platform::FontSpec fontSpec_;
  unique_hfont font_;
  COLORREF color_;
  bool clickable_;
};

// --- Message receivers ------------------------------------------------------------------------

// A hidden child window whose own messages (WM_USER and above: the shell's tray callbacks and
// the like) go to the sink; the system's messages get the default handling.
class CallbackWindowPeer final : public WindowPeer {
 public:
  explicit CallbackWindowPeer(const PeerCreateArgs& args)
      : WindowPeer(ControlKind::CallbackWindow, args.sink) {
    if (!args.parent || !args.parent->Window()) {
      throw std::invalid_argument("a callback window needs a parent window");
    }
    Attach(::CreateWindowExW(0, kCallbackClass, L"", WS_CHILD, 0, 0, 0, 0, args.parent->Window(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.controlId)),
                             Instance(), nullptr),
           nullptr);
  }

  void SetBounds(const platform::Rect&) override {}
  void SetClientSize(int, int) override {}
  void SetText(const std::string&) override {}
  void SetVisible(bool) override {}  // never shown
  void SetHint(const std::string&) override {}

 protected:
  unique_hfont ApplyOwnDpi(UINT) override { return {}; }  // nothing of it is seen

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message < WM_USER) return false;
    result = 0;
    if (message == TaskbarCreatedMessage()) {
      sink_.PeerTaskbarCreated();
    } else {
      sink_.PeerMessage(message, wParam, lParam);
    }
    return true;
  }
};

// A hidden top-level window of its own, neither child nor owned, so that the system's
// messages for top-level windows (the clipboard chain's, broadcasts) reach it and nothing
// else's life decides its own. Every message it receives goes to the sink first; what the
// sink leaves unanswered gets the default handling.
class UtilityWindowPeer final : public WindowPeer {
 public:
  explicit UtilityWindowPeer(const PeerCreateArgs& args)
      : WindowPeer(ControlKind::UtilityWindow, args.sink) {
    const std::wstring windowClass = RegisterTopLevelClass(
        args.spec.className.empty() ? "VarnelUtilityWindow" : args.spec.className);
    const platform::Rect& bounds = args.spec.bounds;
    Attach(::CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.c_str(), Widen(args.spec.text).c_str(),
                             WS_POPUP, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                             nullptr, nullptr, Instance(), nullptr),
           nullptr);
  }

  void SetVisible(bool) override {}  // never shown
  void SetHint(const std::string&) override {}

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    const std::optional<std::intptr_t> answer = sink_.PeerWindowMessage(message, wParam, lParam);
    if (!answer) return false;
    result = static_cast<LRESULT>(*answer);
    return true;
  }
};

}  // namespace

std::unique_ptr<WindowPeer> CreatePeer(const PeerCreateArgs& args) {
  switch (args.spec.kind) {
    case ControlKind::ApplicationWindow:
      return std::make_unique<ApplicationPeer>(args);
    case ControlKind::Form:
      return std::make_unique<FormPeer>(args);
    case ControlKind::PageControl:
      return std::make_unique<PageControlPeer>(args);
    case ControlKind::TabSheet:
      return std::make_unique<TabSheetPeer>(args);
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox:
    case ControlKind::Button:
      return std::make_unique<ButtonPeer>(args);
    case ControlKind::TrackBar:
      return std::make_unique<TrackBarPeer>(args);
    case ControlKind::UpDown:
      return std::make_unique<UpDownPeer>(args);
    case ControlKind::Edit:
      return std::make_unique<EditPeer>(args);
    case ControlKind::HotKey:
      return std::make_unique<HotKeyPeer>(args);
    case ControlKind::ListBox:
      return std::make_unique<ListBoxPeer>(args);
    case ControlKind::Label:
      return std::make_unique<LabelPeer>(args);
    case ControlKind::CallbackWindow:
      return std::make_unique<CallbackWindowPeer>(args);
    case ControlKind::UtilityWindow:
      return std::make_unique<UtilityWindowPeer>(args);
  }
  throw std::invalid_argument("unknown control kind");
}

}  // namespace varnel::win32
