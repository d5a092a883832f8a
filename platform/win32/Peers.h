#pragma once
// Real windows behind the framework's controls. Every peer subclasses its window with one
// procedure (SetWindowSubclass) and marks it with a window property, which is how a window
// finds the peer of a child that sends it a notification: WM_COMMAND, WM_NOTIFY, WM_HSCROLL/WM_VSCROLL and WM_CTLCOLOR* go
// to the peer of the child that sent them, whatever window the child sits in (form, tab sheet,
// group box). The procedure is a thin switch; the peers hold the logic.
//
// Children are placed in design pixels (96 DPI) and scaled here for the monitor their form is
// on; a form follows its monitor's scale (WM_DPICHANGED) with every font, glyph and child.

#include <memory>
#include <optional>

#include "platform/Ui.h"
#include "platform/win32/Resource.h"

namespace varnel::win32 {

class FormPeer;

struct PeerCreateArgs {
  const platform::ControlSpec& spec;
  class WindowPeer* parent;  // null for top-level windows
  HWND owner;                // the application window, for forms
  platform::ControlSink& sink;
  int controlId;
};

class WindowPeer : public platform::ControlPeer {
 public:
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;
  ~WindowPeer() override;

  platform::Hwnd Handle() const override;
  void SetBounds(const platform::Rect& bounds) override;
  void SetClientSize(int width, int height) override;
  platform::Rect GetBounds() const override;
  void SetText(const std::string& text) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetHint(const std::string& hint) override;
  void SetChecked(bool) override {}
  void SetRange(int, int) override {}
  void SetPosition(int) override {}
  void SetItems(const std::vector<std::string>&) override {}
  void SetItemIndex(int) override {}

  HWND Window() const { return window_.get(); }
  platform::ControlKind Kind() const { return kind_; }
  // The font this window's children are given.
  HFONT Font() const { return font_; }
  // The DPI this window is laid out for: its form's, which follows the form's monitor.
  UINT Dpi() const;

  // The peer of one of our windows; null for a window that is not ours.
  static WindowPeer* FromWindow(HWND window);

 protected:
  WindowPeer(platform::ControlKind kind, platform::ControlSink& sink) : sink_(sink), kind_(kind) {}

  // Takes the window over: owns it, subclasses it, gives it `font`.
  void Attach(HWND window, HFONT font);
  // A child window of `args.parent` at the bounds of `args.spec`, scaled for the parent's DPI.
  HWND CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle,
                   const PeerCreateArgs& args);
  // The font this window shows and hands its children.
  void SetFont(HFONT font);
  FormPeer* Form() const;

  // This window and everything inside it take the scale `dpi`, parents before children.
  void ApplyDpi(UINT dpi);
  // This window alone: its font (its parent's, already changed), glyphs and place. Returns
  // the font it owned before, which its children may still be showing.
  virtual unique_hfont ApplyOwnDpi(UINT dpi);

  // Messages to this window itself. Return true when handled, with `result` set.
  virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
  // Notifications this window sent to its parent, handed back to it.
  virtual void OnCommand(WORD /*code*/) {}
  virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual void OnScroll() {}
  virtual HBRUSH OnControlColor(HDC) { return nullptr; }
  virtual bool OnSetCursor() { return false; }

  platform::ControlSink& sink_;

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool IsChild() const;
  void Place(const platform::Rect& design, UINT dpi);

  const platform::ControlKind kind_;
  unique_hwnd window_;
  HFONT font_ = nullptr;
  // Where the framework put a child, in design pixels: the place to keep at any scale.
  std::optional<platform::Rect> design_;
};

// Makes the peer of the kind `args.spec.kind` asks for. Throws platform::SystemRefusal when
// the window cannot be created.
std::unique_ptr<WindowPeer> CreatePeer(const PeerCreateArgs& args);

// Window classes of our own; safe to call more than once.
void RegisterPeerClasses();

}  // namespace varnel::win32
