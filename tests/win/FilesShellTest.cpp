// Folder listings, folder identities, shell icons, the notification area and the clock against
// the real system.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Image.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Platform.h"

namespace varnel::win32 {
namespace {

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH + 1, base);
    path_ = std::wstring(base) + L"varnel-files-" + std::to_wstring(::GetCurrentProcessId()) +
            L"-" + std::to_wstring(::GetTickCount());
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempFolder() { Remove(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::wstring Path(const std::wstring& name = L"") const {
    return name.empty() ? path_ : path_ + L"\\" + name;
  }
  std::string Utf8(const std::wstring& name = L"") const { return Narrow(Path(name)); }
  void File(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
    HANDLE file = ::CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << Narrow(name);
    ::CloseHandle(file);
  }
  void Folder(const std::wstring& name) const {
    ASSERT_TRUE(::CreateDirectoryW(Path(name).c_str(), nullptr)) << Narrow(name);
  }

 private:
  static void Remove(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring child = path + L"\\" + name;
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        // A junction is removed as a folder, without touching its target.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
          Remove(child);
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          ::RemoveDirectoryW(child.c_str());
        } else {
          ::DeleteFileW(child.c_str());
        }
      } while (::FindNextFileW(find, &entry));
      ::FindClose(find);
    }
    ::RemoveDirectoryW(path.c_str());
  }

  std::wstring path_;
};

const platform::FindData* Entry(const std::vector<platform::FindData>& entries,
                                const std::string& name) {
  const auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const platform::FindData& e) { return e.name == name; });
  return found == entries.end() ? nullptr : &*found;
}

TEST(FindFilesTest, ListsEveryEntryWithItsAttributesAndUnicodeNames) {
  TempFolder folder;
  folder.File(L"a.lnk");
  folder.File(L"hidden.lnk", FILE_ATTRIBUTE_HIDDEN);
  folder.File(L"日本語のメモ.lnk");
  folder.File(L"readme.txt");
  folder.Folder(L"サブフォルダ");
  Win32FileSystem files;

  const std::vector<platform::FindData> all = files.FindFiles(folder.Utf8(L"*.*"));
  ASSERT_NE(Entry(all, "."), nullptr);
  ASSERT_NE(Entry(all, ".."), nullptr);
  EXPECT_NE(Entry(all, ".")->attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  ASSERT_NE(Entry(all, "hidden.lnk"), nullptr);
  EXPECT_NE(Entry(all, "hidden.lnk")->attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(Entry(all, "a.lnk")->attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY),
            0u);
  ASSERT_NE(Entry(all, "日本語のメモ.lnk"), nullptr);
  ASSERT_NE(Entry(all, "サブフォルダ"), nullptr);
  EXPECT_NE(Entry(all, "サブフォルダ")->attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(all.size(), 7u);

  // The wildcard selects: only the shortcuts, the hidden one included, no folder.
  const std::vector<platform::FindData> shortcuts = files.FindFiles(folder.Utf8(L"*.lnk"));
  EXPECT_EQ(shortcuts.size(), 3u);
  EXPECT_EQ(Entry(shortcuts, "readme.txt"), nullptr);
  EXPECT_EQ(Entry(shortcuts, "サブフォルダ"), nullptr);

  EXPECT_TRUE(files.FindFiles(folder.Utf8(L"*.none")).empty());
  EXPECT_TRUE(files.FindFiles(folder.Utf8(L"missing\\*.*")).empty());
  EXPECT_TRUE(files.FindFiles("").empty());
}

// A junction made the way mklink /J makes one; false where the system cannot.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
  if (!::CreateDirectoryW(link.c_str(), nullptr)) return false;
  HANDLE handle = ::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const std::wstring substitute = L"\\??\\" + target;
  const std::wstring print = target;
  const size_t pathBytes = (substitute.size() + 1 + print.size() + 1) * sizeof(wchar_t);
  std::vector<BYTE> buffer(8 + 8 + pathBytes, 0);
  auto put16 = [&](size_t at, size_t value) {
    buffer[at] = static_cast<BYTE>(value & 0xFF);
    buffer[at + 1] = static_cast<BYTE>(value >> 8);
  };
  const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
  std::copy_n(reinterpret_cast<const BYTE*>(&tag), 4, buffer.begin());
  put16(4, 8 + pathBytes);                              // ReparseDataLength
  put16(8, 0);                                          // SubstituteNameOffset
  put16(10, substitute.size() * sizeof(wchar_t));       // SubstituteNameLength
  put16(12, (substitute.size() + 1) * sizeof(wchar_t));  // PrintNameOffset
  put16(14, print.size() * sizeof(wchar_t));            // PrintNameLength
  std::copy_n(reinterpret_cast<const BYTE*>(substitute.c_str()),
              substitute.size() * sizeof(wchar_t), buffer.begin() + 16);
  std::copy_n(reinterpret_cast<const BYTE*>(print.c_str()), print.size() * sizeof(wchar_t),
              buffer.begin() + 16 + (substitute.size() + 1) * sizeof(wchar_t));
  DWORD returned = 0;
  const BOOL made = ::DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, buffer.data(),
                                      static_cast<DWORD>(buffer.size()), nullptr, 0, &returned,
                                      nullptr);
  ::CloseHandle(handle);
  return made != FALSE;
}

TEST(FolderIdentityTest, OneFolderHasOneIdentityWhateverThePath) {
  TempFolder folder;
  folder.Folder(L"Target");
  folder.Folder(L"Other");
  Win32FileSystem files;

  const std::optional<std::string> target = files.FolderIdentity(folder.Utf8(L"Target"));
  ASSERT_TRUE(target.has_value());
  EXPECT_EQ(target->size(), 25u);  // volume:index, in hexadecimal
  EXPECT_EQ(files.FolderIdentity(folder.Utf8(L"Target") + "\\"), target);
  EXPECT_EQ(files.FolderIdentity(folder.Utf8(L"TARGET")), target);
  EXPECT_EQ(files.FolderIdentity(folder.Utf8(L"Other\\..\\Target")), target);
  EXPECT_NE(files.FolderIdentity(folder.Utf8(L"Other")), target);
  EXPECT_FALSE(files.FolderIdentity(folder.Utf8(L"Missing")).has_value());
  EXPECT_FALSE(files.FolderIdentity("").has_value());

  if (!MakeJunction(folder.Path(L"Link"), folder.Path(L"Target"))) {
    GTEST_SKIP() << "this system makes no junctions; spellings checked only";
  }
  EXPECT_EQ(files.FolderIdentity(folder.Utf8(L"Link")), target);
}

// "\\?\" lifts the length limit, for the set-up and the clean-up.
std::wstring Extended(const std::wstring& path) { return L"\\\\?\\" + path; }

// A settings file whose path is as long as a path may be (MAX_PATH - 1 characters) still
// saves: the files of the replace must fit beside it, however short its own name is, and none
// of them is left.
TEST(LongPathReplaceTest, AFileWithThePathOfLongestLengthSaves) {
  TempFolder folder;
  const std::size_t longest = MAX_PATH - 1;
  for (const std::wstring& name : {std::wstring(L"v.ini"), std::wstring(L"varnel.ini"),
                                   std::wstring(120, L'n') + L".ini"}) {
    // Folders of up to 100 characters down to where the name ends the path at its longest.
    std::vector<std::wstring> folders{folder.Path(L"deep")};
    while (folders.back().size() + 1 + name.size() < longest) {
      std::size_t room = longest - (folders.back().size() + 1 + name.size()) - 1;
      if (room > 100) room = std::min<std::size_t>(100, room - 2);  // leave two for another
      folders.push_back(folders.back() + L"\\" + std::wstring(room, L'd'));
    }
    for (const std::wstring& made : folders) {
      ASSERT_TRUE(::CreateDirectoryW(Extended(made).c_str(), nullptr));
    }
    const std::wstring wide = folders.back() + L"\\" + name;
    ASSERT_EQ(wide.size(), longest);
    Win32FileSystem files;
    EXPECT_TRUE(files.ReplaceFile(Narrow(wide), "[Pos]\r\nSpeed=10\r\n"));
    EXPECT_TRUE(files.ReplaceFile(Narrow(wide), "[Pos]\r\nSpeed=55\r\n"));
    EXPECT_EQ(files.ReadFile(Narrow(wide)), "[Pos]\r\nSpeed=55\r\n");
    EXPECT_EQ(files.GetFileSize(Narrow(wide)), 17u);

    // Nothing but the file is left: it is the only thing between the folder and its removal.
    EXPECT_TRUE(::DeleteFileW(Extended(wide).c_str()));
    EXPECT_TRUE(::RemoveDirectoryW(Extended(folders.back()).c_str())) << Narrow(name);
    for (auto it = folders.rbegin() + 1; it != folders.rend(); ++it) {
      ::RemoveDirectoryW(Extended(*it).c_str());
    }
  }
}

// A watched folder may lie deep enough that its files' paths pass MAX_PATH; they are probed
// and moved all the same.
TEST(LongPathMoveTest, AFileBeyondMaxPathIsProbedAndMoved) {
  TempFolder folder;
  std::vector<std::wstring> folders{folder.Path(L"deep")};
  ASSERT_TRUE(::CreateDirectoryW(Extended(folders.back()).c_str(), nullptr));
  while (folders.back().size() < MAX_PATH + 40) {
    folders.push_back(folders.back() + L"\\" + std::wstring(80, L'd'));
    ASSERT_TRUE(::CreateDirectoryW(Extended(folders.back()).c_str(), nullptr));
  }
  const std::wstring from = folders.back() + L"\\download.zip";
  const std::wstring to = folders.back() + L"\\保存済み.zip";
  {
    const unique_hfile file(::CreateFileW(Extended(from).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
  }
  Win32FileSystem files;
  using platform::CreateFileResult;
  const auto probe = [&files](const std::wstring& path) {
    return files.CreateFile(Narrow(path), platform::GenericRead, platform::FileShareRead);
  };
  EXPECT_EQ(probe(from), CreateFileResult::Opened);
  EXPECT_TRUE(files.MoveFile(Narrow(from), Narrow(to)));
  EXPECT_EQ(::GetFileAttributesW(Extended(from).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesW(Extended(to).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(probe(from), CreateFileResult::Failed);
  EXPECT_EQ(probe(to), CreateFileResult::Opened);

  EXPECT_TRUE(::DeleteFileW(Extended(to).c_str()));
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
    EXPECT_TRUE(::RemoveDirectoryW(Extended(*it).c_str()));
  }
}

TEST(ShellIconTest, TheIconOfAFileTypeComesFromTheNameAlone) {
  Win32Shell shell;
  for (const char* name : {"C:\\nowhere\\x.txt", "C:\\nowhere\\y.lnk", "z.exe"}) {
    const platform::ImageRef icon = shell.GetFileIcon(name);
    ASSERT_NE(icon, nullptr) << name;
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(IconOf(icon), &info)) << name;
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(SM_CXSMICON)) << name;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
  }
  EXPECT_EQ(shell.GetFileIcon(""), nullptr);
}

// The notification area needs the desktop's tray (Wine's explorer provides one).
class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = ::CreateWindowExW(0, L"STATIC", L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    icon_ = MakeImage(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON",
                                                      IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    ASSERT_NE(icon_, nullptr);
  }
  void TearDown() override { ::DestroyWindow(window_); }

  platform::NotifyIconData Record(const std::string& tip) const {
    platform::NotifyIconData data;
    data.window = FromHwnd(window_);
    data.id = 7;
    data.flags = platform::NifMessage | platform::NifIcon | (tip.empty() ? 0 : platform::NifTip);
    data.callbackMessage = 0x4C8;
    data.icon = icon_;
    data.tip = tip;
    return data;
  }

  Win32Shell shell_;
  HWND window_ = nullptr;
  platform::ImageRef icon_;
};

TEST_F(TrayTest, AddModifyAndDeleteTheIcon) {
  ASSERT_TRUE(shell_.ShellNotifyIcon(platform::NimAdd, Record("Varnel")));
  EXPECT_TRUE(shell_.ShellNotifyIcon(platform::NimModify, Record("2024/05/06(月曜日) 12:34")));
  EXPECT_TRUE(shell_.ShellNotifyIcon(platform::NimModify, Record("")));
  // A tip longer than the field is cut, never before the end of a character: 127 units hold
  // 63 characters of two units each and leave the 64th whole out.
  std::string longTip;
  for (int i = 0; i < 100; ++i) longTip += "\xF0\x9F\x93\x81";  // U+1F4C1, a surrogate pair
  EXPECT_TRUE(shell_.ShellNotifyIcon(platform::NimModify, Record(longTip)));
  EXPECT_TRUE(shell_.ShellNotifyIcon(platform::NimDelete, Record("")));
}

TEST(KernelTest, ClockDayNamesAndLocaleOrder) {
  Win32Kernel kernel;
  EXPECT_EQ(kernel.GetCurrentProcessId(), ::GetCurrentProcessId());
  EXPECT_GT(kernel.GetDoubleClickTime(), 0u);

  SYSTEMTIME before{};
  ::GetLocalTime(&before);
  const platform::Kernel::LocalTime now = kernel.GetLocalTime();
  EXPECT_EQ(now.year, before.wYear);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_EQ(now.dayOfWeek, before.wDayOfWeek);  // a test run at midnight may see a flake here
  EXPECT_LE((now.second - before.wSecond + 60) % 60, 1);  // the same second, or the next

  // Day 0 is Sunday, whatever the locale numbers first.
  if (PRIMARYLANGID(::GetUserDefaultLangID()) == LANG_JAPANESE) {
    EXPECT_EQ(kernel.GetDayName(0), "日曜日");
    EXPECT_EQ(kernel.GetDayName(1), "月曜日");
    EXPECT_EQ(kernel.GetDayName(6), "土曜日");
  } else {
    EXPECT_EQ(kernel.GetDayName(0), Narrow([] {
                wchar_t name[80] = {};
                ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME7, name, 80);
                return std::wstring(name);
              }()));
  }
  EXPECT_EQ(kernel.GetDayName(-1), "");
  EXPECT_EQ(kernel.GetDayName(7), "");

  EXPECT_EQ(kernel.CompareText("Report.LNK", "report.lnk"), 0);
  EXPECT_LT(kernel.CompareText("A.lnk", "b.lnk"), 0);
  EXPECT_GT(kernel.CompareText("b.lnk", "A.lnk"), 0);
  EXPECT_LT(kernel.CompareText("0zeta", "1A.lnk"), 0);
}

// Slow on a bare X display (Wine waits up to 2 s for each window it maps or unmaps), so the
// owner stays hidden.
TEST(ActivationTest, ForegroundActiveAndOwnedPopups) {
  Win32WindowManager windows;
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 300, 300, 100, 100, nullptr,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
  HWND popup = ::CreateWindowExW(0, L"STATIC", L"popup", WS_POPUP | WS_VISIBLE, 320, 320, 50, 50,
                                 owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(windows.SetForegroundWindow(FromHwnd(owner)));
  windows.SetActiveWindow(FromHwnd(owner));
  EXPECT_EQ(windows.SetActiveWindow(FromHwnd(owner)), FromHwnd(owner));
  EXPECT_TRUE(windows.ShowOwnedPopups(FromHwnd(owner), false));
  EXPECT_FALSE(::IsWindowVisible(popup));
  EXPECT_TRUE(windows.ShowOwnedPopups(FromHwnd(owner), true));
  EXPECT_TRUE(::IsWindowVisible(popup));
  EXPECT_FALSE(windows.SetForegroundWindow(platform::kNoWindow));
  ::DestroyWindow(popup);
  ::DestroyWindow(owner);
}

}  // namespace
}  // namespace varnel::win32
