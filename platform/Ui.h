#pragma once
// The native side of the framework's windows and controls. A framework object owns the state
// (checked, position, text...) and mirrors it into its peer; the peer reports what the user
// did through the object's ControlSink. On the simulated desktop peers are plain records that
// a test can read and "click"; on Windows they are real windows.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Types.h"

namespace varnel::platform {

enum class ControlKind {
  ApplicationWindow,  // the hidden top-level window of class "TApplication"
  Form,               // a top-level form window
  PageControl,
  TabSheet,
  CheckBox,
  RadioButton,
  GroupBox,  // also the frame of a radio group
  TrackBar,
  UpDown,
  Edit,
  HotKey,  // the system's hotkey control: its position is the keystroke it shows
  ListBox,
  Button,
  Label,
  CallbackWindow,  // a hidden child window that hands its messages to the sink
  UtilityWindow,   // a hidden top-level window of its own that may answer any message
};

enum class ButtonGlyph { None, Ok, Help };

struct FontSpec {
  std::string face;
  int height = 0;  // pixels; 0 keeps the parent's font
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::uint32_t color = 0;  // 0x00BBGGRR as the system writes colours
};

// What a peer is created with. Top-level bounds are screen coordinates in real pixels; a
// child's are relative to its parent's client area, in design pixels (96 to the inch) that the
// peer scales by the DPI of its form's monitor, as it scales fonts.
struct ControlSpec {
  ControlKind kind = ControlKind::Label;
  std::string className;  // window class of top-level windows ("TApplication", "TForm1")
  std::string text;
  Rect bounds;
  bool readOnly = false;   // edits
  bool vertical = false;   // up-downs point up and down
  bool clickable = false;  // labels that act as links
  ButtonGlyph glyph = ButtonGlyph::None;
  bool defaultButton = false;
  // Forms: fixed single border, a title bar with neither system menu nor buttons.
  bool dialogFrame = false;
  FontSpec font;
};

// Calls from a peer into the framework object behind it, always on the UI thread. Each is a
// user's action (or the system's request); setting a value from code never calls back.
class ControlSink {
 public:
  virtual void PeerClicked() {}
  virtual void PeerTextChanged(const std::string& /*text*/) {}
  virtual void PeerPositionChanged(int /*position*/) {}
  virtual void PeerSelectionChanged(int /*index*/) {}
  // A close request (WM_CLOSE) or the session ending (WM_QUERYENDSESSION with `endSession`).
  // Returns whether the window may close.
  virtual bool PeerCloseQuery(bool /*endSession*/) { return true; }
  // The session ends (WM_ENDSESSION): `ending` is false when the logoff was cancelled after
  // the query. When it is true the process may be ended as soon as this returns.
  virtual void PeerEndSession(bool /*ending*/) {}
  // The shell's taskbar has been created anew (Explorer restarted): every icon the program
  // had in the notification area is gone and must be added again. Callback windows only.
  virtual void PeerTaskbarCreated() {}
  virtual void PeerActivated() {}
  // The monitors or their resolution changed (WM_DISPLAYCHANGE), or a work area did
  // (WM_SETTINGCHANGE with SPI_SETWORKAREA). Forms only.
  virtual void PeerDisplayChanged() {}
  // A message to a callback window.
  virtual void PeerMessage(unsigned /*message*/, std::uintptr_t /*wParam*/,
                           std::intptr_t /*lParam*/) {}
  // Any message to a utility window, the system's own included: the answer, or nothing for
  // the system's default handling.
  virtual std::optional<std::intptr_t> PeerWindowMessage(unsigned /*message*/,
                                                         std::uintptr_t /*wParam*/,
                                                         std::intptr_t /*lParam*/) {
    return std::nullopt;
  }

 protected:
  ~ControlSink() = default;
};

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual Hwnd Handle() const = 0;
  virtual void SetBounds(const Rect& bounds) = 0;
  // Top-level windows: resizes the window so that its client area has this size in design
  // pixels at the window's DPI; the outer size follows from the frame the system draws.
  // Children treat it like SetBounds' size.
  virtual void SetClientSize(int width, int height) = 0;
  // Where the window really is now: the user may have moved it.
  virtual Rect GetBounds() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetHint(const std::string& hint) = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual void SetRange(int minimum, int maximum) = 0;
  virtual void SetPosition(int position) = 0;
  virtual void SetItems(const std::vector<std::string>& items) = 0;
  // List box: the selected item; page control: the active page; -1 for none.
  virtual void SetItemIndex(int index) = 0;
};

using TimerId = std::uint32_t;

// One item of a popup menu as it is shown.
struct MenuEntry {
  std::string caption;  // "-" for a separator
  unsigned id = 0;      // what TrackPopupMenu returns when the item is chosen; 0 for none
  bool checked = false;
  ImageRef image;       // drawn left of the caption, 16 x 16
  std::vector<MenuEntry> children;  // a submenu
  // A submenu made when it first opens: called once, as the user opens it and before it shows;
  // what it returns are its entries. An entry with neither children nor this is an item.
  std::function<std::vector<MenuEntry>()> fill;
  bool IsSubmenu() const { return !children.empty() || fill != nullptr; }
};

class Ui {
 public:
  virtual ~Ui() = default;

  // `parent` is null for top-level windows; the application window owns every form.
  virtual std::unique_ptr<ControlPeer> CreateControl(const ControlSpec& spec, ControlPeer* parent,
                                                     ControlSink& sink) = 0;

  // A periodic timer on the UI thread; the callback runs from the message loop.
  virtual TimerId SetTimer(unsigned intervalMs, std::function<void()> callback) = 0;
  virtual void KillTimer(TimerId id) = 0;

  // The message loop: Run returns after PostQuitMessage; ProcessMessages lets every pending
  // message run and returns ("let pending messages run").
  virtual void Run() = 0;
  virtual void ProcessMessages() = 0;
  // MsgWaitForMultipleObjects on the thread's queue alone: sleeps until a message, a timer
  // that falls due or a posted task is there, or until `timeoutMs` has passed, then lets every
  // pending message run as ProcessMessages does. Returns whether something arrived before the
  // time-out. The thread uses no processor while it sleeps. A quit left for the outer loop
  // may end every wait at once: a caller that waits in a loop stops when the program ends.
  virtual bool WaitForMessages(unsigned timeoutMs) = 0;
  virtual void PostQuitMessage() = 0;
  // Runs `task` from the message loop, after the messages already waiting.
  virtual void PostTask(std::function<void()> task) = 0;

  virtual int MessageBox(Hwnd owner, const std::string& text, const std::string& caption,
                         unsigned flags) = 0;

  // Shows a popup menu at a screen point and returns when it closes: the id of the chosen
  // item, 0 when none was chosen. Timers and other messages keep running meanwhile.
  virtual unsigned TrackPopupMenu(const std::vector<MenuEntry>& items, Point at, Hwnd owner) = 0;
  // Ends the menu the thread shows now, as if the user had cancelled it.
  virtual void EndMenu() = 0;
  // The window class of the menus TrackPopupMenu shows ("#32768").
  virtual std::string MenuWindowClass() const = 0;

  // The shell's folder dialog (SHBrowseForFolder), modal to `owner`: file-system folders only,
  // `title` as its instruction line, `folder` selected at the start when it names an existing
  // folder, the selected folder's path shown as the status line. Returns the confirmed
  // folder's path (a drive root with its backslash, any other folder without one), an empty
  // string when the confirmed item has no path in the file system, nothing when the user
  // cancelled or the dialog could not be shown.
  virtual std::optional<std::string> BrowseForFolder(Hwnd owner, const std::string& title,
                                                     const std::string& folder) = 0;
  // The system's file-open dialog (GetOpenFileName), modal to `owner`, for an existing file.
  // `filter` is "description|pattern" pairs joined by "|"; `defaultExtension` is added to a
  // name typed without one. The chosen file's full path; nothing when cancelled.
  virtual std::optional<std::string> GetOpenFileName(Hwnd owner, const std::string& filter,
                                                     const std::string& defaultExtension) = 0;

  // A picture of the program's own: its icon ("MAINICON") or the Launch menu's fixed items'.
  virtual ImageRef LoadImageResource(const std::string& name) = 0;
};

}  // namespace varnel::platform
