// One set of cases for every platform backend: the simulated desktop must answer as Windows
// does wherever the program relies on the answer. Built into the host tests (on the sim) and
// into the Windows tests (on the real system).

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Ascii.h"
#include "tests/contract/PlatformContract.h"

using namespace std::string_literals;

namespace varnel::contract {
namespace {

using platform::Hwnd;
using platform::Rect;

constexpr std::uint32_t kOverlappedWindow = 0x00CF0000;  // caption, frame, system menu, boxes
const Rect kHome = Rect::FromSize(300, 200, 400, 300);

std::string OwnerName(const ::testing::TestParamInfo<Owner>& info) {
  return info.param == Owner::ThisProcess ? "OwnWindow" : "OtherProcessWindow";
}

class PlatformContract : public ::testing::Test {
 protected:
  void SetUp() override { backend_ = MakeContractBackend(); }
  void TearDown() override { backend_.reset(); }

  platform::WindowManager& Windows() { return backend_->Get().windows; }
  platform::FileSystem& Files() { return backend_->Get().files; }
  platform::Codepage& Codepage() { return backend_->Get().codepage; }
  platform::Clipboard& Clipboard() { return backend_->Get().clipboard; }
  platform::Kernel& Kernel() { return backend_->Get().kernel; }
  std::uint32_t ExStyle(Hwnd window) {
    return static_cast<std::uint32_t>(Windows().GetWindowLong(window, platform::GwlExStyle));
  }
  bool Topmost(Hwnd window) { return (ExStyle(window) & platform::WsExTopmost) != 0; }
  bool MakeTopmost(Hwnd window, bool topmost) {
    const Hwnd band = topmost ? platform::HwndTopmost : platform::HwndNoTopmost;
    return Windows().SetWindowPos(window, band, 0, 0, 0, 0,
                                  platform::SwpNoMove | platform::SwpNoSize |
                                      platform::SwpNoActivate);
  }

  std::unique_ptr<ContractBackend> backend_;
};

class WindowContract : public PlatformContract, public ::testing::WithParamInterface<Owner> {};

// --- A destroyed window ---------------------------------------------------------------------

// Every call on a handle whose window is gone answers "nothing" and changes nothing: the
// Explorer's window can close between two ticks.
TEST_P(WindowContract, ADestroyedWindowAnswersNothingAndIgnoresEveryChange) {
  const Hwnd window = backend_->MakeWindow(GetParam(), kHome);
  ASSERT_TRUE(Windows().IsWindow(window));
  backend_->DestroyWindow(window);

  struct Call {
    const char* name;
    std::function<std::int64_t(platform::WindowManager&, Hwnd)> call;
  };
  const Call calls[] = {
      {"IsWindow", [](auto& w, Hwnd h) { return w.IsWindow(h); }},
      {"IsWindowVisible", [](auto& w, Hwnd h) { return w.IsWindowVisible(h); }},
      {"GetWindowLong(style)",
       [](auto& w, Hwnd h) { return w.GetWindowLong(h, platform::GwlStyle); }},
      {"SetWindowLong(exstyle)",
       [](auto& w, Hwnd h) {
         return w.SetWindowLong(h, platform::GwlExStyle, platform::WsExToolWindow);
       }},
      {"SetWindowLong(style)",
       [](auto& w, Hwnd h) { return w.SetWindowLong(h, platform::GwlStyle, kOverlappedWindow); }},
      {"ShowWindow(hide)", [](auto& w, Hwnd h) { return w.ShowWindow(h, platform::SwHide); }},
      {"ShowWindow(show)", [](auto& w, Hwnd h) { return w.ShowWindow(h, platform::SwShowNormal); }},
      {"MoveWindow", [](auto& w, Hwnd h) { return w.MoveWindow(h, 10, 10, 200, 100, true); }},
      {"SetWindowPos(topmost)",
       [](auto& w, Hwnd h) {
         return w.SetWindowPos(h, platform::HwndTopmost, 0, 0, 0, 0,
                               platform::SwpNoMove | platform::SwpNoSize);
       }},
      {"IsIconic", [](auto& w, Hwnd h) { return w.IsIconic(h); }},
      {"GetWindowTextLength", [](auto& w, Hwnd h) { return w.GetWindowTextLength(h); }},
      {"DwmGetWindowAttribute(extended frame bounds)",
       [](auto& w, Hwnd h) { Rect f; return w.DwmGetWindowAttribute(h, 9, &f); }},
  };
  for (const Call& call : calls) {
    EXPECT_EQ(call.call(Windows(), window), 0) << call.name;
  }
  EXPECT_EQ(Windows().GetWindowRect(window), Rect{});
  EXPECT_EQ(Windows().GetClassName(window), "");
  const std::vector<Hwnd> all = Windows().EnumWindows();
  EXPECT_EQ(std::find(all.begin(), all.end(), window), all.end());
  EXPECT_FALSE(Windows().IsWindow(window));  // none of the calls brought it back
}

// --- The minimum size -------------------------------------------------------------------------

// A window with a caption cannot be made smaller than the system's minimum: a park asks for
// 0 x 0 and gets that minimum, at the corner it asked for.
TEST_P(WindowContract, AZeroSizeIsGrantedAsTheMinimumAtTheCornerAsked) {
  const Hwnd window = backend_->MakeWindow(GetParam(), kHome);
  struct Ask {
    int x, y, width, height;
  };
  const Ask asks[] = {{-1280, -800, 0, 0}, {50, 60, 0, 300}, {70, 80, 400, 0}, {-400, 10, 0, 0}};
  for (const Ask& ask : asks) {
    SCOPED_TRACE(::testing::Message() << ask.x << "," << ask.y << " " << ask.width << "x"
                                      << ask.height);
    EXPECT_TRUE(Windows().MoveWindow(window, ask.x, ask.y, ask.width, ask.height, true));
    const Rect granted = Windows().GetWindowRect(window);
    EXPECT_EQ(granted.Left, ask.x);
    EXPECT_EQ(granted.Top, ask.y);
    EXPECT_GT(granted.Width(), 0);
    EXPECT_GT(granted.Height(), 0);
    if (ask.width > 0) {
      EXPECT_EQ(granted.Width(), ask.width);
    }
    if (ask.height > 0) {
      EXPECT_EQ(granted.Height(), ask.height);
    }
  }
  // Large enough is granted as asked.
  EXPECT_TRUE(Windows().MoveWindow(window, 20, 30, 640, 480, true));
  EXPECT_EQ(Windows().GetWindowRect(window), Rect::FromSize(20, 30, 640, 480));
}

INSTANTIATE_TEST_SUITE_P(BothOwners, WindowContract,
                         ::testing::Values(Owner::ThisProcess, Owner::OtherProcess), OwnerName);

// --- Z-order ----------------------------------------------------------------------------------

// Our own windows: Wine does not make the Explorer's window topmost, Windows does.
TEST_F(PlatformContract, TopmostLeadsTheWindowListAndNoTopmostHeadsTheOrdinaryWindows) {
  const Hwnd first = backend_->MakeWindow(Owner::ThisProcess, kHome);
  const Hwnd second = backend_->MakeWindow(Owner::ThisProcess, Rect::FromSize(350, 250, 400, 300));
  ASSERT_FALSE(Topmost(first));

  ASSERT_TRUE(MakeTopmost(first, true));
  EXPECT_TRUE(Topmost(first));
  EXPECT_FALSE(Topmost(second));
  std::vector<Hwnd> order = Windows().EnumWindows();
  ASSERT_FALSE(order.empty());
  EXPECT_EQ(order.front(), first);

  ASSERT_TRUE(MakeTopmost(first, false));
  EXPECT_FALSE(Topmost(first));
  // Out of the topmost band it goes to the top of the ordinary windows: behind every topmost
  // window, ahead of `second`.
  order = Windows().EnumWindows();
  const auto at = std::find(order.begin(), order.end(), first);
  ASSERT_NE(at, order.end());
  EXPECT_TRUE(std::all_of(order.begin(), at, [this](Hwnd w) { return Topmost(w); }));
  EXPECT_LT(at, std::find(order.begin(), order.end(), second));

  // Asked twice, each answer is the same.
  ASSERT_TRUE(MakeTopmost(first, true));
  ASSERT_TRUE(MakeTopmost(first, true));
  EXPECT_EQ(Windows().EnumWindows().front(), first);
  ASSERT_TRUE(MakeTopmost(first, false));
  ASSERT_TRUE(MakeTopmost(first, false));
  EXPECT_FALSE(Topmost(first));
}

// --- The extended style -----------------------------------------------------------------------

// What SetWindowLong(GWL_EXSTYLE) leaves is not always what was asked: the topmost bit follows
// the z-order band alone, and a framed window keeps its raised edge. The engine compares what
// it reads with what it wants, so it must expect the same bits the system reports.
TEST_F(PlatformContract, TheExtendedStyleReadBackCarriesTheBandAndTheEdge) {
  struct Case {
    const char* name;
    bool topmost;
    std::uint32_t asked;
    std::uint32_t readBack;
  };
  using namespace platform;
  const Case cases[] = {
      {"tool window, topmost", true, WsExToolWindow, WsExToolWindow | WsExTopmost | WsExWindowEdge},
      {"tool window", false, WsExToolWindow, WsExToolWindow | WsExWindowEdge},
      {"nothing, topmost", true, 0, WsExTopmost | WsExWindowEdge},
      {"app window", false, WsExAppWindow, WsExAppWindow | WsExWindowEdge},
      {"topmost asked, not in the band", false, WsExToolWindow | WsExTopmost,
       WsExToolWindow | WsExWindowEdge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Hwnd window = backend_->MakeWindow(Owner::ThisProcess, kHome);
    ASSERT_TRUE(MakeTopmost(window, c.topmost));
    Windows().SetWindowLong(window, GwlExStyle, static_cast<std::int32_t>(c.asked));
    EXPECT_EQ(ExStyle(window), c.readBack);
    EXPECT_EQ(Topmost(window), c.topmost);
    backend_->DestroyWindow(window);
  }
}

// --- Replacing a file -------------------------------------------------------------------------

TEST_F(PlatformContract, ReplaceFileWritesWholeRefusesReadOnlyAndLeavesNothingBeside) {
  struct Case {
    const char* name;
    std::optional<std::string> before;  // nothing: no file yet
    std::uint32_t attributes;
    std::string contents;
    bool replaced;
    std::string after;
  };
  const std::string longer(5000, 'x');
  const Case cases[] = {
      {"new file", std::nullopt, 0, "[Exp]\r\nWidth=400\r\n", true, "[Exp]\r\nWidth=400\r\n"},
      {"longer file replaced whole", longer, 0, "short", true, "short"},
      {"shorter file replaced whole", "a", 0, longer, true, longer},
      {"emptied", "something", 0, "", true, ""},
      {"hidden file", "old", platform::FileAttributeHidden, "new", true, "new"},
      {"read-only file", "keep me", platform::FileAttributeReadOnly, "lost", false, "keep me"},
  };
  const std::string folder = backend_->Folder();
  int number = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder + "\\case" + std::to_string(++number) + ".ini";
    if (c.before) backend_->MakeFile(path, *c.before, c.attributes);

    EXPECT_EQ(Files().ReplaceFile(path, c.contents), c.replaced);
    EXPECT_EQ(Files().ReadFile(path), c.after);
    if (c.before && !c.replaced) {
      // Refused, the file stays as it was, its attributes too. (Replaced, Windows keeps the
      // old file's attributes but Wine does not, so that is not part of the contract.)
      const std::uint32_t given = platform::FileAttributeReadOnly | platform::FileAttributeHidden;
      EXPECT_EQ(Files().GetFileAttributes(path) & given, c.attributes);
    }
    EXPECT_TRUE(Files().FindFiles(folder + "\\vnl*").empty());
  }
}

// --- Moving files ----------------------------------------------------------------------------

// What a move may never do is lose a file: an existing target keeps its bytes and so does the
// file that was not moved, and a file another program is still writing stays where it is.
TEST_F(PlatformContract, MoveFileMovesIntoAFolderButNeverOverAFileNorAFileHeldOpen) {
  const std::string folder = backend_->Folder();
  const std::string sorted = folder + "\\Sorted";
  backend_->MakeFolder(sorted);

  backend_->MakeFile(folder + "\\report.pdf", "%PDF bytes", 0);
  EXPECT_TRUE(Files().MoveFile(folder + "\\report.pdf", sorted + "\\report.pdf"));
  EXPECT_FALSE(Files().FileExists(folder + "\\report.pdf"));
  EXPECT_EQ(Files().ReadFile(sorted + "\\report.pdf"), "%PDF bytes");

  backend_->MakeFile(folder + "\\memo.txt", "newer", 0);
  backend_->MakeFile(sorted + "\\memo.txt", "older", 0);
  EXPECT_FALSE(Files().MoveFile(folder + "\\memo.txt", sorted + "\\memo.txt"));
  EXPECT_EQ(Files().ReadFile(folder + "\\memo.txt"), "newer");
  EXPECT_EQ(Files().ReadFile(sorted + "\\memo.txt"), "older");

  backend_->MakeFile(folder + "\\download.zip", "partial", 0);
  backend_->HoldOpen(folder + "\\download.zip", true);
  EXPECT_FALSE(Files().MoveFile(folder + "\\download.zip", sorted + "\\download.zip"));
  EXPECT_TRUE(Files().FileExists(folder + "\\download.zip"));
  EXPECT_FALSE(Files().FileExists(sorted + "\\download.zip"));
  backend_->HoldOpen(folder + "\\download.zip", false);
  EXPECT_TRUE(Files().MoveFile(folder + "\\download.zip", sorted + "\\download.zip"));
  EXPECT_EQ(Files().ReadFile(sorted + "\\download.zip"), "partial");

  // A rename in place, to a Japanese name.
  EXPECT_TRUE(Files().MoveFile(sorted + "\\memo.txt", sorted + "\\議事録（ソ表）.txt"));
  EXPECT_EQ(Files().ReadFile(sorted + "\\議事録（ソ表）.txt"), "older");

  // Nothing to move: a missing file, or a folder.
  EXPECT_FALSE(Files().MoveFile(folder + "\\missing.txt", sorted + "\\missing.txt"));
  EXPECT_FALSE(Files().FileExists(sorted + "\\missing.txt"));
  backend_->MakeFolder(folder + "\\Inner");
  EXPECT_FALSE(Files().MoveFile(folder + "\\Inner", sorted + "\\Inner"));
  EXPECT_TRUE(Files().FolderExists(folder + "\\Inner"));
}

// Only a sharing violation says another program still has the file; a missing file or a
// folder is another failure.
// A folder's last-write time tells whether its entries may have changed: the same while
// nothing is added, another once a file is.
TEST_F(PlatformContract, AFoldersWriteTimeMovesWhenAnEntryIsAdded) {
  platform::FileSystem& files = backend_->Get().files;
  const std::string folder = backend_->Folder();
  backend_->MakeFile(folder + "\\a.txt", "12345", 0);
  const auto before = files.GetFileAttributesEx(folder);
  ASSERT_TRUE(before.has_value());
  EXPECT_NE(before->attributes & platform::FileAttributeDirectory, 0u);
  EXPECT_EQ(files.GetFileAttributesEx(folder)->lastWriteTime, before->lastWriteTime);
  EXPECT_EQ(files.GetFileAttributesEx(folder + "\\a.txt")->size, 5u);
  EXPECT_EQ(files.GetFileAttributesEx(folder + "\\none.txt"), std::nullopt);
  // Past the file system's clock step, a few milliseconds here.
  backend_->Get().kernel.Sleep(20);
  backend_->MakeFile(folder + "\\b.txt", "", 0);
  EXPECT_NE(files.GetFileAttributesEx(folder)->lastWriteTime, before->lastWriteTime);
}

TEST_F(PlatformContract, CreateFileTellsASharingViolationFromOtherFailures) {
  using platform::CreateFileResult;
  const std::string folder = backend_->Folder();
  const std::string file = folder + "\\download.zip";
  backend_->MakeFile(file, "partial", 0);
  const auto probe = [this](const std::string& path) {
    return Files().CreateFile(path, platform::GenericRead, platform::FileShareRead);
  };
  EXPECT_EQ(probe(file), CreateFileResult::Opened);
  EXPECT_EQ(probe(file), CreateFileResult::Opened);  // the first probe let it go at once
  backend_->HoldOpen(file, true);
  EXPECT_EQ(probe(file), CreateFileResult::SharingViolation);
  backend_->HoldOpen(file, false);
  EXPECT_EQ(probe(file), CreateFileResult::Opened);
  EXPECT_EQ(probe(folder + "\\missing.zip"), CreateFileResult::Failed);
  EXPECT_EQ(probe(folder), CreateFileResult::Failed);
}

// --- Code pages ------------------------------------------------------------------------------

TEST_F(PlatformContract, ConvertCodePageReadsUpToTheFirstZeroAndGivesNothingForNothing) {
  struct Case {
    const char* name;
    unsigned from, to;
    std::string text, converted;
  };
  const Case cases[] = {
      {"Shift_JIS to UTF-8", 932, 65001, "\x82\xa0" "a", "\xE3\x81\x82" "a"},
      {"UTF-8 to Shift_JIS, 0x5C trail bytes kept", 65001, 932, "ソ表", "\x83\x5c\x95\x5c"},
      {"cut at the first zero", 932, 65001, "\x82\xa0\0b"s, "あ"},
      {"empty", 932, 65001, "", ""},
      {"only a zero", 65001, 932, "\0abc"s, ""},
      {"a code page the system does not know", 12345, 65001, "abc", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Codepage().ConvertCodePage(c.from, c.to, c.text), c.converted);
  }
}

// --- Named mutexes ---------------------------------------------------------------------------

// The single-instance check: the first holder of a name is told it was first, every later one
// that it was not, until the last handle is let go.
TEST_F(PlatformContract, AMutexNameIsTakenUntilEveryHandleIsReleased) {
  const std::string name = "VarnelContract_" + std::to_string(Kernel().GetCurrentProcessId()) +
                           "_" + std::to_string(Kernel().GetTickCount());
  platform::CreatedMutex first = Kernel().CreateMutex(name);
  ASSERT_NE(first.handle, nullptr);
  EXPECT_FALSE(first.alreadyExisted);
  platform::CreatedMutex second = Kernel().CreateMutex(name);
  ASSERT_NE(second.handle, nullptr);
  EXPECT_TRUE(second.alreadyExisted);

  // Names differ by case: another spelling is another mutex.
  EXPECT_FALSE(Kernel().CreateMutex(name + "_X").alreadyExisted);
  EXPECT_FALSE(Kernel().CreateMutex(name + "_x").alreadyExisted);

  first.handle.reset();
  EXPECT_TRUE(Kernel().CreateMutex(name).alreadyExisted);  // `second` still holds it
  second.handle.reset();
  const platform::CreatedMutex again = Kernel().CreateMutex(name);
  ASSERT_NE(again.handle, nullptr);
  EXPECT_FALSE(again.alreadyExisted);
}

// --- Keystrokes held system-wide, and a process's executable -------------------------------

// A keystroke has one holder at a time; let go, it is free again. A process names the file it
// runs from.
TEST_F(PlatformContract, AKeystrokeHasOneHolderAndAProcessNamesItsExecutable) {
  platform::WindowManager& windows = backend_->Get().windows;
  const platform::Hwnd window = backend_->MakeWindow(Owner::ThisProcess, {0, 0, 200, 100});
  constexpr unsigned kKeys = platform::ModControl | platform::ModAlt | platform::ModShift;
  ASSERT_TRUE(windows.RegisterHotKey(window, 1, kKeys | platform::ModNoRepeat, 0x7B));
  EXPECT_FALSE(windows.RegisterHotKey(window, 2, kKeys, 0x7B));
  EXPECT_TRUE(windows.UnregisterHotKey(window, 1));
  EXPECT_FALSE(windows.UnregisterHotKey(window, 1));
  EXPECT_TRUE(windows.RegisterHotKey(window, 2, kKeys, 0x7B));
  EXPECT_TRUE(windows.UnregisterHotKey(window, 2));

  const platform::Kernel& kernel = Kernel();
  const std::optional<std::string> own =
      kernel.QueryFullProcessImageName(kernel.GetCurrentProcessId());
  ASSERT_TRUE(own.has_value());
  EXPECT_TRUE(EqualNoCase(*own, kernel.GetModuleFileName())) << *own;
  const platform::Hwnd other = backend_->MakeWindow(Owner::OtherProcess, {0, 0, 200, 100});
  std::uint32_t process = 0;
  windows.GetWindowThreadProcessId(other, &process);
  const std::optional<std::string> its = kernel.QueryFullProcessImageName(process);
  ASSERT_TRUE(its.has_value());
  EXPECT_FALSE(EqualNoCase(*its, *own)) << *its;
  backend_->DestroyWindow(other);
}

// --- The clipboard ---------------------------------------------------------------------------

TEST_F(PlatformContract, ClipboardTextReadsBackAsUnicodeAndAnsiTextUpToItsZero) {
  struct Case {
    const char* name;
    std::string put, read;
  };
  const Case cases[] = {
      {"ASCII", "Varnel clipboard 123", "Varnel clipboard 123"},
      {"Japanese", "検索語（ソ表）ｶﾅ abc", "検索語（ソ表）ｶﾅ abc"},
      {"cut at the first zero", "abc\0def"s, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!backend_->PutClipboardText(c.put)) GTEST_SKIP() << "this backend cannot set the clipboard";
    EXPECT_TRUE(Clipboard().IsClipboardFormatAvailable(platform::CfUnicodeText));
    EXPECT_TRUE(Clipboard().IsClipboardFormatAvailable(platform::CfText));
    EXPECT_EQ(Clipboard().GetClipboardData(platform::CfUnicodeText), c.read);
    EXPECT_EQ(Clipboard().GetClipboardData(platform::CfText), Codepage().Utf8ToAnsi(c.read));
    EXPECT_EQ(Clipboard().GetClipboardData(2 /* a bitmap */), std::nullopt);
  }
}

}  // namespace
}  // namespace varnel::contract

namespace varnel::contract {
namespace {

TEST_F(PlatformContract, ThePrimaryMonitorComesFirstAndIsTheScreenOfTheMetrics) {
  platform::WindowManager& windows = Windows();
  const std::vector<platform::Monitor> monitors = windows.GetMonitors();
  ASSERT_FALSE(monitors.empty());
  EXPECT_TRUE(monitors.front().primary);
  EXPECT_EQ(std::count_if(monitors.begin(), monitors.end(),
                          [](const platform::Monitor& m) { return m.primary; }),
            1);
  const platform::Monitor& primary = monitors.front();
  EXPECT_EQ(primary.rect, (platform::Rect{0, 0, windows.GetSystemMetrics(platform::SmCxScreen),
                                          windows.GetSystemMetrics(platform::SmCyScreen)}));
  EXPECT_EQ(primary.workArea, windows.GetWorkArea());
  EXPECT_EQ(primary.dpi, windows.GetDpiForSystem());
}

}  // namespace
}  // namespace varnel::contract

namespace varnel::contract {
namespace {

// --- The registry ----------------------------------------------------------------------------

// A string reads back whole under any spelling of its key's and its name's case, until it is
// deleted; an absent value reads as nothing and cannot be deleted.
TEST_F(PlatformContract, ARegistryStringReadsBackUntilDeleted) {
  platform::Registry& registry = backend_->Get().registry;
  const std::string key = kContractRegistryKey;
  const std::string data = "\"C:\\Program Files\\ヴァーネル\\varnel.exe\" /x";
  EXPECT_EQ(registry.RegQueryValueEx("Software\\VarnelNoSuchKey", "Varnel"), std::nullopt);
  EXPECT_EQ(registry.RegQueryValueEx(key, "Varnel"), std::nullopt);
  ASSERT_TRUE(registry.RegSetValueEx(key, "Varnel", data));
  EXPECT_EQ(registry.RegQueryValueEx("software\\varnelcontract", "VARNEL"), data);
  EXPECT_TRUE(registry.RegDeleteValue(key, "varnel"));
  EXPECT_EQ(registry.RegQueryValueEx(key, "Varnel"), std::nullopt);
  EXPECT_FALSE(registry.RegDeleteValue(key, "Varnel"));
}

}  // namespace
}  // namespace varnel::contract
