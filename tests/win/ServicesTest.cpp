// The system services of the Win32 platform against the real API (under Wine on Linux).

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "base/Ascii.h"
#include "base/Paths.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Codepage.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Platform.h"

namespace varnel::win32 {
namespace {

using namespace std::string_literals;

// A fresh folder of its own under the temporary folder, emptied and removed afterwards.
class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = temp + std::wstring(L"varnel_fs_") + std::to_wstring(::GetCurrentProcessId()) +
              L"_" + std::to_wstring(::GetTickCount());
    ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
  }
  void TearDown() override {
    for (const std::wstring& name : Names()) {
      const std::wstring path = folder_ + L"\\" + name;
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(path.c_str());
    }
    ::RemoveDirectoryW(folder_.c_str());
  }

  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder_ + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
  }
  std::string PathOf(const std::string& name) const { return Narrow(folder_) + "\\" + name; }

  std::wstring folder_;
  Win32FileSystem files_;
};

using ReplaceFileTest = ScratchFolder;

TEST_F(ReplaceFileTest, CreatesMissingFileThenReplacesItWholeLeavingNoTemporary) {
  const std::string path = PathOf("varnel.ini");
  ASSERT_TRUE(files_.ReplaceFile(path, "[Pos]\r\nSpeed=10\r\nOffset=20\r\n"));
  ASSERT_TRUE(files_.ReplaceFile(path, "[Pos]\r\n"));

  EXPECT_EQ(files_.ReadFile(path), "[Pos]\r\n");
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"varnel.ini"});
}

TEST_F(ReplaceFileTest, KeepsEveryByteOfBinaryContents) {
  const std::string path = PathOf("bytes.bin");
  const std::string contents = "\xEF\xBB\xBF" "a\0b\r\n\x83\x5C\xFF"s;
  ASSERT_TRUE(files_.ReplaceFile(path, contents));
  EXPECT_EQ(files_.ReadFile(path), contents);
  ASSERT_TRUE(files_.ReplaceFile(path, ""));
  EXPECT_EQ(files_.ReadFile(path), "");  // an empty file is still a file
}

TEST_F(ReplaceFileTest, WorksWithJapaneseFileNames) {
  const std::string path = PathOf("設定ファイル（ソ表）.ini");
  ASSERT_TRUE(files_.ReplaceFile(path, "[監視]\r\n"));
  ASSERT_TRUE(files_.ReplaceFile(path, "[動作]\r\n"));

  EXPECT_TRUE(files_.FileExists(path));
  EXPECT_EQ(files_.ReadFile(path), "[動作]\r\n");
  EXPECT_EQ(Names(), std::vector<std::wstring>{Widen("設定ファイル（ソ表）.ini")});
}

TEST_F(ReplaceFileTest, RefusesReadOnlyTargetAndLeavesItWhole) {
  const std::string path = PathOf("locked.ini");
  ASSERT_TRUE(files_.ReplaceFile(path, "old contents"));
  ASSERT_TRUE(::SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_FALSE(files_.ReplaceFile(path, "new"));

  EXPECT_EQ(files_.ReadFile(path), "old contents");
  EXPECT_NE(files_.GetFileAttributes(path) & platform::FileAttributeReadOnly, 0u);
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"locked.ini"});
}

TEST_F(ReplaceFileTest, FailsWithoutTraceWhereNothingCanBeWritten) {
  EXPECT_FALSE(files_.ReplaceFile(PathOf("missing\\varnel.ini"), "x"));
  ASSERT_TRUE(::CreateDirectoryW((folder_ + L"\\sub").c_str(), nullptr));
  EXPECT_FALSE(files_.ReplaceFile(PathOf("sub"), "x"));  // a folder is no file to replace
  EXPECT_TRUE(files_.FolderExists(PathOf("sub")));
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"sub"});
  ::RemoveDirectoryW((folder_ + L"\\sub").c_str());
}

TEST_F(ReplaceFileTest, ReadsNothingFromMissingFilesAndFolders) {
  EXPECT_EQ(files_.ReadFile(PathOf("nothing.ini")), std::nullopt);
  EXPECT_EQ(files_.ReadFile(Narrow(folder_)), std::nullopt);
  EXPECT_EQ(files_.GetFileAttributes(PathOf("nothing.ini")), platform::InvalidFileAttributes);
  EXPECT_TRUE(files_.FolderExists(Narrow(folder_)));
  EXPECT_FALSE(files_.FileExists(Narrow(folder_)));
}

// The Wine prefix of the test run is Japanese (LC_ALL=ja_JP.UTF-8): code page 932.
class CodepageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::GetACP() != 932) GTEST_SKIP() << "needs the Japanese ANSI code page, have " << ::GetACP();
  }
  Win32Codepage codepage_;
};

TEST_F(CodepageTest, RoundTripsJapaneseIncludingBackslashTrailBytes) {
  // "ソ" and "表" end in 0x5C, the byte that naive code mistakes for a backslash.
  EXPECT_EQ(codepage_.Utf8ToAnsi("動作"), "\x93\xae\x8d\xec");
  EXPECT_EQ(codepage_.Utf8ToAnsi("ソ表"), "\x83\x5c\x95\x5c");
  EXPECT_EQ(codepage_.AnsiToUtf8("\x83\x5c\x95\x5c"), "ソ表");
  for (const char* text : {"Ｐｏｐｕｐの左右入替", "C:\\Users\\太郎\\", "ｶﾀｶﾅ abc 123"}) {
    const std::optional<std::string> ansi = codepage_.Utf8ToAnsi(text);
    ASSERT_TRUE(ansi.has_value()) << text;
    EXPECT_EQ(codepage_.AnsiToUtf8(*ansi), text);
  }
  EXPECT_EQ(codepage_.Utf8ToAnsi(""), "");
  EXPECT_EQ(codepage_.AnsiToUtf8(""), "");
}

TEST_F(CodepageTest, RefusesWhatTheCodePageCannotHoldInsteadOfApproximating) {
  EXPECT_EQ(codepage_.Utf8ToAnsi("caf\xC3\xA9"), std::nullopt);  // é would become e
  EXPECT_EQ(codepage_.Utf8ToAnsi("한글"), std::nullopt);
  EXPECT_EQ(codepage_.Utf8ToAnsi("broken \xE6\x97"), std::nullopt);  // cut UTF-8
}

TEST(KernelTest, ModuleFileNameIsThisExecutableAndTheClockMoves) {
  Win32Kernel kernel;
  const std::string path = kernel.GetModuleFileName();
  ASSERT_GT(path.size(), 4u);
  EXPECT_EQ(path.substr(path.size() - 4), ".exe");
  EXPECT_TRUE(Win32FileSystem().FileExists(path));

  const std::uint32_t before = kernel.GetTickCount();
  kernel.Sleep(50);
  EXPECT_GE(kernel.GetTickCount() - before, 30u);  // the tick has a coarse step
}

TEST(WindowManagerTest, ReadsAndWritesRealWindowsAndIgnoresDeadHandles) {
  Win32Platform system;
  platform::Platform& platform = system.Get();
  struct : platform::ControlSink {} sink;
  platform::ControlSpec spec;
  spec.kind = platform::ControlKind::ApplicationWindow;
  spec.className = "TApplication";
  spec.text = "Varnel（設定）";
  auto application = platform.ui.CreateControl(spec, nullptr, sink);
  const platform::Hwnd window = application->Handle();
  platform::WindowManager& windows = platform.windows;

  EXPECT_TRUE(windows.IsWindow(window));
  EXPECT_EQ(windows.GetClassName(window), "TApplication");
  EXPECT_EQ(windows.GetWindowText(window), "Varnel（設定）");
  EXPECT_FALSE(windows.IsWindowVisible(window));
  windows.SetWindowLong(window, platform::GwlExStyle, platform::WsExToolWindow);
  EXPECT_EQ(windows.GetWindowLong(window, platform::GwlExStyle) & 0xFF,
            static_cast<std::int32_t>(platform::WsExToolWindow));
  EXPECT_EQ(windows.SendMessage(window, WM_GETTEXTLENGTH, 0, 0), 10);

  const platform::Rect work = windows.GetWorkArea();
  EXPECT_GT(windows.GetSystemMetrics(platform::SmCxScreen), 0);
  EXPECT_LE(work.Right, windows.GetSystemMetrics(platform::SmCxScreen));
  EXPECT_LE(work.Bottom, windows.GetSystemMetrics(platform::SmCyScreen));
  EXPECT_GT(work.Width(), 0);
  EXPECT_EQ(windows.GetSystemMetrics(SM_CMOUSEBUTTONS), 0);  // only the screen size is offered

  application.reset();
  EXPECT_FALSE(windows.IsWindow(window));
  EXPECT_EQ(windows.GetClassName(window), "");
  EXPECT_EQ(windows.SendMessage(window, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(windows.GetWindowRect(window), platform::Rect{});
}

TEST(ShellTest, CreatesTheShellApplicationObject) {
  Win32Platform system;
  auto shell = system.Get().shell.CreateShellApplication();
  ASSERT_NE(shell, nullptr);
  EXPECT_NE(static_cast<Win32ShellDispatch&>(*shell).Get(), nullptr);
}

// Wine answers the window collection with E_NOTIMPL; Windows lists its open folders. Either
// way nothing crashes, and a failure is a ShellCallFailed that names the call.
TEST(ShellTest, TheShellsWindowsAreListedOrTheFailureIsThrown) {
  Win32Platform system;
  auto shell = system.Get().shell.CreateShellApplication();
  ASSERT_NE(shell, nullptr);
  std::unique_ptr<platform::ShellWindows> windows;
  int count = 0;
  try {
    windows = shell->Windows();
    count = windows->get_Count();
  } catch (const platform::ShellCallFailed& failure) {
    const std::string what = failure.what();
    EXPECT_TRUE(what.find("Windows") != std::string::npos ||
                what.find("get_Count") != std::string::npos)
        << what;
    return;
  }
  EXPECT_GE(count, 0);
  for (int i = 0; i < count; ++i) {
    try {
      const auto browser = windows->Item(i);
      browser->get_HWND();
      browser->get_LocationURL();
    } catch (const platform::ShellCallFailed&) {
      // The window closed while it was being read.
    }
  }
  // Past the last window the collection hands back nothing, which is a failure too.
  EXPECT_THROW(windows->Item(count), platform::ShellCallFailed);
}

// A plain top-level window of this process, away from Wine's tray window at (0, 0), for the
// calls the engine makes on the Explorer's window.
class OwnWindowTest : public ::testing::Test {
 protected:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VarnelServicesTestWindow";
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::RegisterClassW(&windowClass);  // a second test finds it registered; that is fine
    handle_ = ::CreateWindowExW(0, L"VarnelServicesTestWindow", L"エクスプローラ test",
                                WS_OVERLAPPEDWINDOW, 300, 200, 400, 300, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(handle_, nullptr);
    window_ = FromHwnd(handle_);
  }
  void TearDown() override {
    if (handle_) ::DestroyWindow(handle_);
  }
  void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  }

  Win32WindowManager windows_;
  HWND handle_ = nullptr;
  platform::Hwnd window_{};
};

TEST_F(OwnWindowTest, EnumerationRelationsAndOwnershipOfATopLevelWindow) {
  const std::vector<platform::Hwnd> all = windows_.EnumWindows();
  EXPECT_NE(std::find(all.begin(), all.end(), window_), all.end());
  EXPECT_EQ(std::count(all.begin(), all.end(), window_), 1);

  std::uint32_t process = 0;
  EXPECT_EQ(windows_.GetWindowThreadProcessId(window_, &process), ::GetCurrentThreadId());
  EXPECT_EQ(process, ::GetCurrentProcessId());
  EXPECT_EQ(windows_.GetWindowThreadProcessId(window_, nullptr), ::GetCurrentThreadId());
  EXPECT_EQ(windows_.GetParent(window_), platform::kNoWindow);
  EXPECT_EQ(windows_.GetWindow(window_, platform::GwOwner), platform::kNoWindow);
  EXPECT_EQ(windows_.GetLastActivePopup(window_), window_);  // no popup: the window itself
  EXPECT_EQ(windows_.GetWindowTextLength(window_), 12);      // UTF-16 units
  EXPECT_EQ(windows_.GetWindowText(window_), "エクスプローラ test");
  const platform::Hwnd desktop = windows_.GetDesktopWindow();
  EXPECT_EQ(ToHwnd(desktop), ::GetDesktopWindow());
  EXPECT_EQ(windows_.GetClassName(desktop), "#32769");
  EXPECT_EQ(std::count(all.begin(), all.end(), desktop), 0);  // the root, not one of them

  // An owned popup: listed apart, with its owner, and the owner's last active popup once used.
  HWND popup = ::CreateWindowExW(0, L"VarnelServicesTestWindow", L"popup",
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU, 350, 250, 100, 80, handle_,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(windows_.GetWindow(FromHwnd(popup), platform::GwOwner), window_);
  EXPECT_EQ(windows_.GetParent(FromHwnd(popup)), window_);  // GetParent reports the owner of a popup
  EXPECT_EQ(windows_.GetWindowLong(FromHwnd(popup), platform::GwlHwndParent),
            static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(handle_)));
  ::DestroyWindow(popup);

  const platform::Hwnd gone = window_;
  ::DestroyWindow(handle_);
  handle_ = nullptr;
  const std::vector<platform::Hwnd> after = windows_.EnumWindows();
  EXPECT_EQ(std::find(after.begin(), after.end(), gone), after.end());
  std::uint32_t noProcess = 77;
  EXPECT_EQ(windows_.GetWindowThreadProcessId(gone, &noProcess), 0u);
  EXPECT_EQ(noProcess, 0u);
  EXPECT_EQ(windows_.GetLastActivePopup(gone), platform::kNoWindow);
  EXPECT_EQ(windows_.GetWindowTextLength(gone), 0);
  EXPECT_FALSE(windows_.MoveWindow(gone, 0, 0, 10, 10, true));
  EXPECT_FALSE(windows_.IsIconic(gone));
}

// The moves of a slide and a park, on a window we own.
TEST_F(OwnWindowTest, MovesParksAndRestoresLikeTheEngineDoes) {
  ASSERT_TRUE(windows_.MoveWindow(window_, 0, 1, 400, 798, true));
  EXPECT_EQ(windows_.GetWindowRect(window_), platform::Rect::FromSize(0, 1, 400, 798));

  windows_.ShowWindow(window_, platform::SwShowNoActivate);
  EXPECT_TRUE(windows_.IsWindowVisible(window_));
  EXPECT_TRUE(windows_.UpdateWindow(window_));
  Pump();

  // Parked: hidden, tool window only, far off screen, shown again. The system grants a
  // minimum size instead of 0 x 0; the corner is what counts.
  const int width = windows_.GetSystemMetrics(platform::SmCxScreen);
  const int height = windows_.GetSystemMetrics(platform::SmCyScreen);
  windows_.ShowWindow(window_, platform::SwHide);
  EXPECT_FALSE(windows_.IsWindowVisible(window_));
  windows_.SetWindowLong(window_, platform::GwlExStyle, platform::WsExToolWindow);
  windows_.MoveWindow(window_, -width, -height, 0, 0, true);
  windows_.ShowWindow(window_, platform::SwShowNormal);
  const platform::Rect parked = windows_.GetWindowRect(window_);
  EXPECT_EQ(parked.Left, -width);
  EXPECT_EQ(parked.Top, -height);
  EXPECT_LE(parked.Right, 0);
  EXPECT_LE(parked.Bottom, 0);
  EXPECT_TRUE(windows_.IsWindowVisible(window_));
  EXPECT_EQ(windows_.GetWindowLong(window_, platform::GwlExStyle) &
                static_cast<std::int32_t>(platform::WsExToolWindow | platform::WsExAppWindow),
            static_cast<std::int32_t>(platform::WsExToolWindow));

  // Topmost and back, through the opaque -1 and -2 handles.
  EXPECT_EQ(ToHwnd(platform::HwndTopmost), HWND_TOPMOST);
  EXPECT_EQ(ToHwnd(platform::HwndNoTopmost), HWND_NOTOPMOST);
  const unsigned keep = platform::SwpNoSize | platform::SwpNoMove | platform::SwpNoActivate;
  ASSERT_TRUE(windows_.SetWindowPos(window_, platform::HwndTopmost, 0, 0, 0, 0, keep));
  EXPECT_NE(windows_.GetWindowLong(window_, platform::GwlExStyle) &
                static_cast<std::int32_t>(platform::WsExTopmost), 0);
  ASSERT_TRUE(windows_.SetWindowPos(window_, platform::HwndNoTopmost, 0, 0, 0, 0, keep));
  EXPECT_EQ(windows_.GetWindowLong(window_, platform::GwlExStyle) &
                static_cast<std::int32_t>(platform::WsExTopmost), 0);
  EXPECT_EQ(windows_.GetWindowRect(window_).Left, -width);  // SWP_NOMOVE kept it in place

  // Minimised and maximised, then restored to the placement before.
  windows_.MoveWindow(window_, 300, 200, 400, 300, true);
  windows_.ShowWindow(window_, platform::SwShowMinimized);
  EXPECT_TRUE(windows_.IsIconic(window_));
  EXPECT_FALSE(windows_.IsZoomed(window_));
  windows_.ShowWindow(window_, platform::SwRestore);
  EXPECT_FALSE(windows_.IsIconic(window_));
  windows_.ShowWindow(window_, platform::SwShowMaximized);
  EXPECT_TRUE(windows_.IsZoomed(window_));
  windows_.SendMessage(window_, platform::WmSysCommand, platform::ScRestore, 0);
  EXPECT_FALSE(windows_.IsZoomed(window_));
  EXPECT_EQ(windows_.GetWindowRect(window_), platform::Rect::FromSize(300, 200, 400, 300));
}

TEST_F(OwnWindowTest, PointerWindowUnderItAndButtons) {
  windows_.SetWindowPos(window_, platform::HwndTopmost, 0, 0, 0, 0,
                        platform::SwpNoSize | platform::SwpNoMove | platform::SwpNoActivate);
  windows_.ShowWindow(window_, platform::SwShowNoActivate);
  windows_.UpdateWindow(window_);
  Pump();
  // The middle of the window's client area, which has no child.
  RECT client{};
  ::GetClientRect(handle_, &client);
  POINT middle{client.right / 2, client.bottom / 2};
  ::ClientToScreen(handle_, &middle);
  EXPECT_EQ(windows_.WindowFromPoint({middle.x, middle.y}), window_);

  ASSERT_TRUE(::SetCursorPos(middle.x, middle.y));
  EXPECT_EQ(windows_.GetCursorPos(), (platform::Point{middle.x, middle.y}));
  ASSERT_TRUE(::SetCursorPos(0, 400));
  EXPECT_EQ(windows_.GetCursorPos(), (platform::Point{0, 400}));

  // Nobody holds a button during the tests; only the most significant bit means "held".
  EXPECT_EQ(windows_.GetAsyncKeyState(platform::VkLButton) & 0x8000, 0);
  EXPECT_EQ(windows_.GetAsyncKeyState(platform::VkRButton) & 0x8000, 0);
  EXPECT_FALSE(windows_.IsScreenSaverRunning());
}

TEST(KernelTest, ProcessSnapshotListsThisProcessByItsExecutable) {
  Win32Kernel kernel;
  const auto processes = kernel.CreateProcessSnapshot();
  ASSERT_TRUE(processes.has_value());
  EXPECT_GT(processes->size(), 1u);  // at least this test and Wine's own services

  const std::string name = AsciiLowered(FileNamePart(kernel.GetModuleFileName()));
  const auto self = std::find_if(processes->begin(), processes->end(),
                                 [](const platform::ProcessEntry& entry) {
                                   return entry.processId == ::GetCurrentProcessId();
                                 });
  ASSERT_NE(self, processes->end());
  // Windows reports a bare file name; a full path ends with it all the same.
  const std::string reported = AsciiLowered(self->exeFile);
  ASSERT_GE(reported.size(), name.size());
  EXPECT_EQ(reported.substr(reported.size() - name.size()), name);

  // A second snapshot works as well: the first one's handle was given back.
  EXPECT_TRUE(kernel.CreateProcessSnapshot().has_value());
}

TEST(KernelTest, WindowsDirectoryHasNoTrailingBackslashAndHoldsExplorer) {
  Win32Kernel kernel;
  const std::string folder = kernel.GetWindowsDirectory();
  ASSERT_GE(folder.size(), 3u);
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(folder[1], ':');
  Win32FileSystem files;
  EXPECT_TRUE(files.FolderExists(folder));
  EXPECT_TRUE(files.FileExists(folder + "\\explorer.exe"));
}

TEST(ShellTest, ShellExecuteOfAMissingFileFailsWithTheSystemsCode) {
  Win32Platform system;
  platform::Shell& shell = system.Get().shell;
  const std::intptr_t result =
      shell.ShellExecute(platform::kNoWindow, "", "C:\\no-such-folder\\no-such-program.exe", "",
                         "", platform::SwShowNoActivate);
  EXPECT_LE(result, 32);
  EXPECT_GE(result, 0);
  // With a verb, parameters and a folder that does not exist either.
  EXPECT_LE(shell.ShellExecute(platform::kNoWindow, "open", "C:\\no-such-program.exe",
                               " /n,/e,\"C:\\\"", "C:\\no-such-folder\\", platform::SwShowNormal),
            32);
}

// --- Handle owners -------------------------------------------------------------------------

using HandleOwnerTest = ScratchFolder;

TEST_F(HandleOwnerTest, FileAndFindOwnersCloseWhatTheyHoldAndTakeTheInvalidValueForNone) {
  const std::wstring path = Widen(PathOf("held.txt"));
  const auto openAlone = [&path](DWORD disposition) {
    return unique_hfile(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  };
  {
    unique_hfile file = openAlone(CREATE_NEW);
    ASSERT_TRUE(file);
    EXPECT_FALSE(openAlone(OPEN_EXISTING));  // held without sharing
    const unique_hfile moved = std::move(file);
    EXPECT_FALSE(file);
    EXPECT_EQ(file.get(), INVALID_HANDLE_VALUE);
  }
  EXPECT_TRUE(openAlone(OPEN_EXISTING));  // closed with its last owner

  WIN32_FIND_DATAW entry{};
  const unique_hfind none(::FindFirstFileW((folder_ + L"\\*.none").c_str(), &entry));
  EXPECT_FALSE(none);
  const unique_hfind listing(::FindFirstFileW((folder_ + L"\\*.txt").c_str(), &entry));
  ASSERT_TRUE(listing);
  EXPECT_EQ(std::wstring(entry.cFileName), L"held.txt");
}

TEST(HandleOwners, ASelectionEndsWithItsOwnerAndPutsBackWhatItReplaced) {
  const unique_hdc dc(::CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  const HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_FONT);
  LOGFONTW spec{};
  spec.lfHeight = -12;
  const unique_hfont font(::CreateFontIndirectW(&spec));
  ASSERT_TRUE(font);
  {
    const unique_select_object selected = SelectInto(dc.get(), font.get());
    EXPECT_TRUE(selected);
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), font.get());
  }
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), original);
  EXPECT_FALSE(SelectInto(dc.get(), nullptr));  // nothing selected, nothing to put back
}

}  // namespace
}  // namespace varnel::win32
