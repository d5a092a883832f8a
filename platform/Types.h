#pragma once
// Plain value types shared by every layer. Nothing here knows about <windows.h>; the Win32
// backend converts at its boundary and checks with static_assert that the numbers agree.

#include <cstdint>

namespace varnel::platform {

// A window handle as an opaque integer: comparable, hashable, printable, never dereferenced.
enum class Hwnd : std::uintptr_t {};
inline constexpr Hwnd kNoWindow{};

struct Point {
  int X = 0;
  int Y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Left, top, right, bottom, as the system reports rectangles.
struct Rect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  static Rect FromSize(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The few message, style and metric numbers the program speaks in. They keep the system's
// values so that a recorded call on the simulated desktop reads like the real one.
inline constexpr unsigned WmClose = 0x0010;
inline constexpr unsigned WmSysCommand = 0x0112;
inline constexpr std::uintptr_t ScClose = 0xF060;
inline constexpr int GwlStyle = -16;
inline constexpr int GwlExStyle = -20;
inline constexpr std::uint32_t WsExToolWindow = 0x00000080;
inline constexpr std::uint32_t WsExAppWindow = 0x00040000;
inline constexpr std::uint32_t WsVisible = 0x10000000;
inline constexpr unsigned WmSetText = 0x000C;
inline constexpr std::uintptr_t ScRestore = 0xF120;
inline constexpr int GwlHwndParent = -8;
inline constexpr std::uint32_t WsPopup = 0x80000000;
inline constexpr std::uint32_t WsDisabled = 0x08000000;
inline constexpr std::uint32_t WsSysMenu = 0x00080000;
inline constexpr std::uint32_t WsMinimizeBox = 0x00020000;
inline constexpr std::uint32_t WsExTopmost = 0x00000008;
inline constexpr std::uint32_t WsExWindowEdge = 0x00000100;

// ShowWindow commands.
inline constexpr int SwHide = 0;
inline constexpr int SwShowNormal = 1;
inline constexpr int SwShowMinimized = 2;
inline constexpr int SwShowMaximized = 3;
inline constexpr int SwShowNoActivate = 4;
inline constexpr int SwShow = 5;
inline constexpr int SwRestore = 9;

// SetWindowPos: the z-order places and the flags.
inline constexpr Hwnd HwndTopmost{static_cast<std::uintptr_t>(-1)};
inline constexpr Hwnd HwndNoTopmost{static_cast<std::uintptr_t>(-2)};
inline constexpr unsigned SwpNoSize = 0x0001;
inline constexpr unsigned SwpNoMove = 0x0002;
inline constexpr unsigned SwpNoZOrder = 0x0004;
inline constexpr unsigned SwpNoActivate = 0x0010;
inline constexpr unsigned SwpFrameChanged = 0x0020;

// GetWindow relations.
inline constexpr unsigned GwOwner = 4;

// Virtual keys of the mouse buttons and the modifier keys.
inline constexpr int VkLButton = 0x01;
inline constexpr int VkRButton = 0x02;
inline constexpr int VkShift = 0x10;
inline constexpr int VkControl = 0x11;

// RegisterHotKey's modifiers, and the message a registered keystroke sends: wParam the id it
// was registered under, lParam the modifiers in its low word and the virtual key in its high.
inline constexpr unsigned ModAlt = 0x0001;
inline constexpr unsigned ModControl = 0x0002;
inline constexpr unsigned ModShift = 0x0004;
inline constexpr unsigned ModWin = 0x0008;
inline constexpr unsigned ModNoRepeat = 0x4000;
inline constexpr unsigned WmHotKey = 0x0312;

// SHQueryUserNotificationState's answers.
inline constexpr int QunsNotPresent = 1;
inline constexpr int QunsBusy = 2;
inline constexpr int QunsRunningD3dFullScreen = 3;
inline constexpr int QunsPresentationMode = 4;
inline constexpr int QunsAcceptsNotifications = 5;

// The clipboard viewer chain's messages and the text formats.
inline constexpr unsigned WmDrawClipboard = 0x0308;
inline constexpr unsigned WmChangeCbChain = 0x030D;
inline constexpr unsigned CfText = 1;
inline constexpr unsigned CfUnicodeText = 13;

// SendMessageTimeout: return at once for a window the system already knows to be hung.
inline constexpr unsigned SmtoAbortIfHung = 0x0002;

inline constexpr int SmCxScreen = 0;
inline constexpr int SmCyScreen = 1;

// DwmGetWindowAttribute: the rectangle of the frame the user sees.
inline constexpr unsigned DwmwaExtendedFrameBounds = 9;

inline constexpr std::uint32_t FileAttributeReadOnly = 0x01;
inline constexpr std::uint32_t FileAttributeHidden = 0x02;
inline constexpr std::uint32_t FileAttributeSystem = 0x04;
inline constexpr std::uint32_t FileAttributeDirectory = 0x10;
inline constexpr std::uint32_t InvalidFileAttributes = 0xFFFFFFFF;

inline constexpr std::uint32_t FileAttributeNormal = 0x80;
inline constexpr std::uint32_t FileAttributeReparsePoint = 0x400;

// CreateFile's access rights and share modes.
inline constexpr std::uint32_t GenericRead = 0x80000000;
inline constexpr std::uint32_t GenericWrite = 0x40000000;
inline constexpr std::uint32_t AccessDelete = 0x00010000;  // DELETE
inline constexpr std::uint32_t FileShareRead = 0x1;
inline constexpr std::uint32_t FileShareWrite = 0x2;
inline constexpr std::uint32_t FileShareDelete = 0x4;

// Shell_NotifyIcon actions and flags.
inline constexpr unsigned NimAdd = 0;
inline constexpr unsigned NimModify = 1;
inline constexpr unsigned NimDelete = 2;
inline constexpr unsigned NifMessage = 0x1;
inline constexpr unsigned NifIcon = 0x2;
inline constexpr unsigned NifTip = 0x4;

// Mouse messages, as the tray's callback carries them.
inline constexpr unsigned WmMouseMove = 0x0200;
inline constexpr unsigned WmLButtonDown = 0x0201;
inline constexpr unsigned WmLButtonUp = 0x0202;
inline constexpr unsigned WmLButtonDblClk = 0x0203;
inline constexpr unsigned WmRButtonDown = 0x0204;
inline constexpr unsigned WmRButtonUp = 0x0205;
inline constexpr unsigned WmRButtonDblClk = 0x0206;
inline constexpr unsigned WmMButtonDown = 0x0207;
inline constexpr unsigned WmMButtonUp = 0x0208;
inline constexpr unsigned WmUser = 0x0400;

// Message box flags and answers used by the program.
inline constexpr unsigned MbOk = 0x00;
inline constexpr unsigned MbIconError = 0x10;
inline constexpr unsigned MbIconWarning = 0x30;
inline constexpr unsigned MbIconInformation = 0x40;

// ShellExecute's answer when no program is registered for the file's type.
inline constexpr std::intptr_t SeErrNoAssoc = 31;

}  // namespace varnel::platform
