#pragma once
// The only door to the operating system. Every service keeps the name and the arguments of the
// Win32 call it stands for, so a handler above this layer reads like the algorithm it carries
// out. Two implementations exist: platform/win32 (the real system) and platform/sim (a desktop
// in memory for tests). Strings are UTF-8 throughout; the Win32 backend converts at its edge.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace varnel::platform {

class Ui;

// One monitor: where it is, its work area (less the taskbars on it) and its DPI.
struct Monitor {
  Rect rect;
  Rect workArea;
  unsigned dpi = 96;
  bool primary = false;
  friend bool operator==(const Monitor&, const Monitor&) = default;
};

// A small picture the system can draw: a 16 x 16 icon (an HICON on Windows). Shared by whoever
// shows it; released with the last holder.
class Image {
 public:
  virtual ~Image() = default;
};
using ImageRef = std::shared_ptr<const Image>;

// user32's view of windows that are not our own controls: metrics, the work area, other
// programs' windows addressed by handle.
class WindowManager {
 public:
  virtual ~WindowManager() = default;

  // SM_CXSCREEN / SM_CYSCREEN of the primary screen; other indexes return 0.
  virtual int GetSystemMetrics(int index) const = 0;
  // SystemParametersInfo(SPI_GETWORKAREA): the primary screen less the taskbar.
  virtual Rect GetWorkArea() const = 0;
  // Every monitor of the desktop (EnumDisplayMonitors with GetMonitorInfo and its DPI), the
  // primary one first. Coordinates are the virtual screen's: a monitor left of or above the
  // primary one has negative ones.
  virtual std::vector<Monitor> GetMonitors() const = 0;
  // The primary screen's DPI, 96 at a scale of 100 %: how many of its pixels make an inch of
  // what the program designed in 96-DPI pixels. Screen rectangles stay in real pixels.
  virtual unsigned GetDpiForSystem() const = 0;

  virtual bool IsWindow(Hwnd window) const = 0;
  // Synchronous; returns the window's answer, 0 for a handle that is no window.
  virtual std::intptr_t SendMessage(Hwnd window, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
  // Sends like SendMessage but waits at most `timeoutMs` for a window of another thread (with
  // SmtoAbortIfHung, not at all for one the system knows to be hung). True with the window's
  // answer in `result`; false when it did not answer in time or is no window. A message that
  // timed out is not taken back: the window handles it once it runs again.
  virtual bool SendMessageTimeout(Hwnd window, unsigned message, std::uintptr_t wParam,
                                  std::intptr_t lParam, unsigned flags, unsigned timeoutMs,
                                  std::intptr_t* result) = 0;
  virtual std::int32_t GetWindowLong(Hwnd window, int index) const = 0;
  // Returns the previous value, 0 for a handle that is no window.
  virtual std::int32_t SetWindowLong(Hwnd window, int index, std::int32_t value) = 0;
  virtual Rect GetWindowRect(Hwnd window) const = 0;
  // DwmGetWindowAttribute(DwmwaExtendedFrameBounds): the frame of the window the user sees,
  // in screen pixels. On Windows 10 and 11 a framed window's rectangle also holds invisible
  // resize borders, several pixels at the left, the right and the bottom, which this frame
  // leaves out. False, `value` untouched, when the system cannot tell (no composition, an
  // attribute it does not know, a handle that is no window); where nothing of a window is
  // invisible (the classic look, Wine) it is the window's rectangle.
  virtual bool DwmGetWindowAttribute(Hwnd window, unsigned attribute, Rect* value) const = 0;
  virtual std::string GetClassName(Hwnd window) const = 0;
  virtual std::string GetWindowText(Hwnd window) const = 0;
  virtual bool IsWindowVisible(Hwnd window) const = 0;
  virtual int GetWindowTextLength(Hwnd window) const = 0;

  // --- other programs' windows: placement, state, z-order -------------------------------
  virtual bool MoveWindow(Hwnd window, int x, int y, int width, int height, bool repaint) = 0;
  virtual bool ShowWindow(Hwnd window, int command) = 0;
  virtual bool SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int width, int height,
                            unsigned flags) = 0;
  virtual bool UpdateWindow(Hwnd window) = 0;
  virtual bool IsIconic(Hwnd window) const = 0;
  virtual bool IsZoomed(Hwnd window) const = 0;

  // --- relations and enumeration ------------------------------------------------------
  virtual Hwnd GetDesktopWindow() const = 0;
  // The top-level windows in z-order, topmost first (EnumWindows).
  virtual std::vector<Hwnd> EnumWindows() const = 0;
  virtual Hwnd GetParent(Hwnd window) const = 0;
  virtual Hwnd GetWindow(Hwnd window, unsigned relation) const = 0;
  virtual Hwnd GetLastActivePopup(Hwnd window) const = 0;
  // The thread id; `processId` receives the process id.
  virtual std::uint32_t GetWindowThreadProcessId(Hwnd window, std::uint32_t* processId) const = 0;
  virtual Hwnd WindowFromPoint(Point point) const = 0;

  // --- the pointer and the keys --------------------------------------------------------
  virtual Point GetCursorPos() const = 0;
  // The most significant bit is set while the key or button is held.
  virtual std::int16_t GetAsyncKeyState(int virtualKey) const = 0;

  // Whether a screen saver runs now: on the NT platform, whether the desktop "Screen-saver"
  // can be opened (it is closed again at once); on the 9x platform, whether a window of class
  // "WindowsScreenSaverClass" exists.
  virtual bool IsScreenSaverRunning() const = 0;

  // --- activation -----------------------------------------------------------------------
  // The window the user works in now; none while no window has the focus.
  virtual Hwnd GetForegroundWindow() const = 0;
  virtual bool SetForegroundWindow(Hwnd window) = 0;
  // Returns the window that was active before.
  virtual Hwnd SetActiveWindow(Hwnd window) = 0;
  virtual bool ShowOwnedPopups(Hwnd owner, bool show) = 0;

  // --- keystrokes held system-wide ----------------------------------------------------------
  // RegisterHotKey: from now on the keystroke (ModAlt, ModControl, ModShift, ModWin, and
  // ModNoRepeat; a virtual key) sends `window` WmHotKey with `id`, wherever the focus is.
  // False when another window, of this program or another, holds the keystroke already.
  virtual bool RegisterHotKey(Hwnd window, int id, unsigned modifiers, unsigned virtualKey) = 0;
  virtual bool UnregisterHotKey(Hwnd window, int id) = 0;
};

// One entry of a folder listing.
struct FindData {
  std::string name;
  std::uint32_t attributes = 0;
};

// What CreateFile answered: the file opened, another handle's access or sharing was in the
// way (ERROR_SHARING_VIOLATION), or any other failure (no such file, a folder, access denied).
enum class CreateFileResult { Opened, SharingViolation, Failed };

// One process of a tool-help process snapshot.
struct ProcessEntry {
  std::uint32_t processId = 0;
  std::string exeFile;  // as the snapshot reports it: a full path or a bare file name
};

// What GetFileAttributesEx tells of a file or folder without opening it.
struct FileAttributeData {
  std::uint32_t attributes = 0;
  // In 100-nanosecond steps since 1601 (a FILETIME). A folder's changes when an entry is
  // added to it, removed from it or renamed in it, not when a file in it is written.
  std::uint64_t lastWriteTime = 0;
  std::uint64_t size = 0;  // of a file; 0 for a folder
};

// kernel32's file services, on full Windows-style paths.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // InvalidFileAttributes when the path names nothing readable.
  virtual std::uint32_t GetFileAttributes(const std::string& path) const = 0;
  // GetFileAttributesEx(GetFileExInfoStandard): nothing when the path names nothing readable.
  virtual std::optional<FileAttributeData> GetFileAttributesEx(const std::string& path) const = 0;
  // The file's size in bytes, without reading it; nothing when it does not exist or is no file.
  virtual std::optional<std::uint64_t> GetFileSize(const std::string& path) const = 0;
  // The whole file, or nothing when it does not exist or cannot be read.
  virtual std::optional<std::string> ReadFile(const std::string& path) const = 0;
  // Writes `contents` to a new file beside `path` and then puts it in place of `path` in one
  // step, so that a reader sees either the old file whole or the new one whole. A read-only
  // file is not replaced. The files of the step (the new file, and the old one moved aside)
  // have short names of their own in the same folder ("vnl" and hexadecimal digits), so that
  // whatever path the file itself can have, they can have too. Should the system move the old
  // file aside and then fail to put the new one in place, the new one is put there, or else
  // the old one back. On failure the old file is in place as it was and no file of the step is
  // left; only when neither file can be put back in place do both stay under their own names.
  virtual bool ReplaceFile(const std::string& path, std::string_view contents) = 0;
  // FindFirstFile / FindNextFile over `pattern` (a folder and a wildcard): every entry the
  // system reports, "." and ".." and hidden ones included; nothing when nothing matches.
  virtual std::vector<FindData> FindFiles(const std::string& pattern) const = 0;
  // MoveFile: renames or moves the file `from` (a file, never a folder) to `to`. An existing
  // `to` is never replaced. The file is first opened for reading and deletion, sharing only
  // reading: a file that another program holds open for writing, whatever it shares, or that
  // it does not let others read or delete, stays where it is, and while the move runs nobody
  // can start writing to it. Within a volume it is renamed. Across volumes it is copied to a
  // hidden file of a short name of its own ("vnl", hexadecimal digits, ".tmp") in the target
  // folder, written through to the disk, its size checked against the source, renamed to `to`,
  // and only then is the source deleted. On any failure no copy is left and the source stays
  // whole where it was; a read-only file, which cannot be deleted, is therefore renamed within
  // its volume but not moved to another. Whether it moved.
  virtual bool MoveFile(const std::string& from, const std::string& to) = 0;
  // CreateFile(path, access, share, OPEN_EXISTING) on a file, closed again at once. With
  // GenericRead and FileShareRead it tells whether some other program still holds the file
  // open for writing, whatever that program shares (SharingViolation).
  virtual CreateFileResult CreateFile(const std::string& path, std::uint32_t access,
                                      std::uint32_t share) const = 0;
  // Names the folder itself, whatever path leads to it: two paths that reach one folder
  // (through a junction or a link) have the same identity. Nothing when it cannot be opened.
  virtual std::optional<std::string> FolderIdentity(const std::string& path) const = 0;

  bool FolderExists(const std::string& path) const {
    const std::uint32_t attributes = GetFileAttributes(path);
    return attributes != InvalidFileAttributes && (attributes & FileAttributeDirectory) != 0;
  }
  bool FileExists(const std::string& path) const {
    const std::uint32_t attributes = GetFileAttributes(path);
    return attributes != InvalidFileAttributes && (attributes & FileAttributeDirectory) == 0;
  }
};

// Conversions between UTF-8 and the system's ANSI code page (932 on a Japanese Windows).
class Codepage {
 public:
  virtual ~Codepage() = default;
  virtual std::string AnsiToUtf8(std::string_view ansi) const = 0;
  // Nothing when some character has no form in the ANSI code page.
  virtual std::optional<std::string> Utf8ToAnsi(std::string_view utf8) const = 0;
  // MultiByteToWideChar from code page `from`, then WideCharToMultiByte to code page `to`
  // (65001 is UTF-8). Each step asks for the length it needs first; when either length is 0
  // the result is empty.
  virtual std::string ConvertCodePage(unsigned from, unsigned to, std::string_view text) const = 0;
};

// The system's clipboard and its viewer chain (user32).
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Puts `viewer` at the head of the viewer chain; returns the window that was there, the
  // next viewer (none for an empty chain). The system sends `viewer` WM_DRAWCLIPBOARD before
  // this returns.
  virtual Hwnd SetClipboardViewer(Hwnd viewer) = 0;
  // Takes `remove` out of the chain; `next` is the window that followed it. The system sends
  // WM_CHANGECBCHAIN down the chain from its head. Returns within kChainWaitMs whatever the
  // windows of the chain do: false when they had not answered by then (the notice still
  // reaches them when they run again).
  virtual bool ChangeClipboardChain(Hwnd remove, Hwnd next) = 0;
  static constexpr unsigned kChainWaitMs = 1000;
  virtual bool IsClipboardFormatAvailable(unsigned format) const = 0;
  // The number of the format registered under `name` (registered now if it was not), the same
  // for every program and for any spelling of the name's case; 0 when the system refuses.
  virtual unsigned RegisterClipboardFormat(const std::string& name) = 0;
  // OpenClipboard, GetClipboardData, CloseClipboard: the first four bytes of the format's data
  // as a little-endian number (a DWORD). Nothing when the clipboard cannot be opened, holds no
  // such format, or its data is shorter.
  virtual std::optional<std::uint32_t> GetClipboardDword(unsigned format) const = 0;
  // OpenClipboard, GetClipboardData, CloseClipboard: the text in `format` up to its
  // terminating zero. CfText gives the bytes as they are stored (the ANSI code page of the
  // program that put them there); CfUnicodeText gives UTF-8. Nothing when the clipboard
  // cannot be opened or holds no such text.
  virtual std::optional<std::string> GetClipboardData(unsigned format) const = 0;
};

// Something the kernel keeps for the program (a named mutex); released with its holder.
class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

// What CreateMutex gives: the handle, and whether the name was taken before (another holder
// had it already, and this one now shares that mutex). A name taken by a holder that refuses
// this program access (another instance running with other rights) was taken before too,
// with no handle.
struct CreatedMutex {
  std::unique_ptr<KernelObject> handle;
  bool alreadyExisted = false;
};

// The process itself and the clock.
class Kernel {
 public:
  virtual ~Kernel() = default;
  // GetModuleFileName(NULL): the executable's full path.
  virtual std::string GetModuleFileName() const = 0;
  virtual std::uint32_t GetTickCount() const = 0;
  virtual void Sleep(unsigned milliseconds) = 0;
  // GetWindowsDirectory, without a trailing backslash (C:\WINDOWS).
  virtual std::string GetWindowsDirectory() const = 0;
  // A tool-help snapshot of the running processes; nothing when the platform has none.
  virtual std::optional<std::vector<ProcessEntry>> CreateProcessSnapshot() const = 0;
  virtual std::uint32_t GetCurrentProcessId() const = 0;
  // QueryFullProcessImageName: the full path of the process's executable; nothing when the
  // process is gone or does not let itself be asked (one running with higher rights may not).
  virtual std::optional<std::string> QueryFullProcessImageName(std::uint32_t processId) const = 0;
  // CreateMutex(no security attributes, not owned, `name`): creates the named mutex or opens
  // the one that exists, and says which in one step, so that of two processes starting in the
  // same instant exactly one is first. Nothing in `handle` when the system refuses.
  virtual CreatedMutex CreateMutex(const std::string& name) = 0;

  struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int dayOfWeek = 0;  // 0 Sunday ... 6 Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
  };
  virtual LocalTime GetLocalTime() const = 0;
  // The full name of a weekday in the user's locale (LOCALE_SDAYNAME), 0 = Sunday.
  virtual std::string GetDayName(int dayOfWeek) const = 0;
  virtual unsigned GetDoubleClickTime() const = 0;
  // CompareString in the user's locale with NORM_IGNORECASE: below, at or above 0.
  virtual int CompareText(const std::string& a, const std::string& b) const = 0;
};

// The record Shell_NotifyIcon takes.
struct NotifyIconData {
  Hwnd window{};           // receives the callback message
  unsigned id = 0;
  unsigned flags = 0;      // NifMessage | NifIcon | NifTip
  unsigned callbackMessage = 0;
  ImageRef icon;
  std::string tip;
};

// The shell's automation objects keep their interface's names. Every call that the object
// answers with a failure throws ShellCallFailed.
class ShellCallFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One of the shell's windows as IWebBrowser2 shows it.
class WebBrowser {
 public:
  virtual ~WebBrowser() = default;
  virtual Hwnd get_HWND() const = 0;
  // The address the window shows, in UTF-8 ("file:///C:/Windows"); empty for none.
  virtual std::string get_LocationURL() const = 0;
};

// IShellWindows: the shell's open windows (folders and browsers).
class ShellWindows {
 public:
  virtual ~ShellWindows() = default;
  virtual int get_Count() const = 0;
  // Item(index) taken as IWebBrowser2.
  virtual std::unique_ptr<WebBrowser> Item(int index) const = 0;
};

// The shell's automation object (Shell.Application, through IShellDispatch).
class ShellDispatch {
 public:
  virtual ~ShellDispatch() = default;
  // Windows(), taken as IShellWindows.
  virtual std::unique_ptr<ShellWindows> Windows() = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // CoCreateInstance of the shell application object; nothing when it cannot be created.
  virtual std::unique_ptr<ShellDispatch> CreateShellApplication() = 0;
  // ShellExecute; `verb`, `parameters` and `directory` may be empty for none. Returns the
  // system's value (greater than 32 on success).
  virtual std::intptr_t ShellExecute(Hwnd owner, const std::string& verb, const std::string& file,
                                     const std::string& parameters, const std::string& directory,
                                     int showCommand) = 0;
  // SHGetFileInfo(path, FILE_ATTRIBUTE_NORMAL, SHGFI_ICON | SHGFI_SMALLICON |
  // SHGFI_USEFILEATTRIBUTES): the small icon of the file's type, found from the name alone
  // without opening the file. Nothing when the shell has none.
  virtual ImageRef GetFileIcon(const std::string& path) = 0;
  // Shell_NotifyIcon; returns the shell's answer.
  virtual bool ShellNotifyIcon(unsigned action, const NotifyIconData& data) = 0;
  // SHQueryUserNotificationState: what the user is doing as the shell sees it (QunsBusy,
  // QunsRunningD3dFullScreen, QunsPresentationMode...); QunsAcceptsNotifications when the
  // shell cannot say.
  virtual int SHQueryUserNotificationState() = 0;
};

// advapi32's registry: string values of keys under HKEY_CURRENT_USER. `subKey` is the key's
// path below HKEY_CURRENT_USER ("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
// names of keys and values are compared without case, as the system does.
class Registry {
 public:
  virtual ~Registry() = default;
  // The string (REG_SZ or REG_EXPAND_SZ, not expanded) up to its terminating zero; nothing
  // when the key or the value is absent, holds no string, or cannot be read.
  virtual std::optional<std::string> RegQueryValueEx(const std::string& subKey,
                                                     const std::string& name) const = 0;
  // Writes `data` as a REG_SZ value, creating the key when it is absent. Whether it was
  // written.
  virtual bool RegSetValueEx(const std::string& subKey, const std::string& name,
                             const std::string& data) = 0;
  // Whether the value was there and is now deleted; false for an absent value too.
  virtual bool RegDeleteValue(const std::string& subKey, const std::string& name) = 0;
};

// Everything a program object needs from the system, handed down as one value.
struct Platform {
  WindowManager& windows;
  FileSystem& files;
  Codepage& codepage;
  Clipboard& clipboard;
  Kernel& kernel;
  Shell& shell;
  Ui& ui;
  Registry& registry;
};

}  // namespace varnel::platform
