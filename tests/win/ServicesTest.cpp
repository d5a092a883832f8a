// The system services of the Win32 platform against the real API (under Wine on Linux).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Services.h"
#include "platform/win32/Text.h"
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

}  // namespace
}  // namespace varnel::win32
