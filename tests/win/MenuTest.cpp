// Popup menus, the program's pictures and the callback window on real windows.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Image.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"

namespace varnel::win32 {
namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::MenuEntry;

struct MessageSink : platform::ControlSink {
  struct Message {
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  void PeerMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    messages.push_back({message, wParam, lParam});
  }
  void PeerTaskbarCreated() override { ++taskbarsCreated; }
  std::vector<Message> messages;
  int taskbarsCreated = 0;
};

// One item; a helper so that the aggregates need not spell every member.
MenuEntry Item(const char* caption, unsigned id = 0, varnel::platform::ImageRef image = nullptr,
               bool checked = false) {
  MenuEntry entry;
  entry.caption = caption;
  entry.id = id;
  entry.image = std::move(image);
  entry.checked = checked;
  return entry;
}

// The visible menu window of this thread, if one is open.
HWND OpenMenuWindow() {
  HWND found = nullptr;
  ::EnumWindows(
      [](HWND window, LPARAM result) -> BOOL {
        wchar_t name[16];
        if (::GetClassNameW(window, name, 16) && std::wstring(name) == L"#32768" &&
            ::IsWindowVisible(window) &&
            ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
          *reinterpret_cast<HWND*>(result) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::filesystem::path ArtifactsFolder() {
  const char* configured = std::getenv("VARNEL_ARTIFACTS");
  std::filesystem::path folder = configured != nullptr ? configured : "artifacts";
  std::filesystem::create_directories(folder);
  return folder;
}

// What the screen shows inside `rect`, top row first, as 0x00RRGGBB.
std::vector<std::uint32_t> CaptureScreen(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory, previous);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  for (auto& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

void SaveBmp(const std::vector<std::uint32_t>& pixels, int width, int height,
             const std::filesystem::path& file) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = -height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof(header) + sizeof(info);
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size() * 4);
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(reinterpret_cast<const char*>(pixels.data()),
            static_cast<std::streamsize>(pixels.size() * 4));
}

class MenuTest : public ::testing::Test {
 protected:
  MenuTest() {
    ControlSpec application;
    application.kind = ControlKind::ApplicationWindow;
    application.className = "TApplication";
    application.text = "Varnel";
    application_ = ui().CreateControl(application, nullptr, sink_);
  }

  platform::Ui& ui() { return system_.Get().ui; }

  // Shows `items` and runs `step` on every tick of a 50 ms timer while the menu loop runs;
  // gives up (ending the menu) after 5 s so that a broken case fails instead of hanging.
  unsigned Show(const std::vector<MenuEntry>& items, std::function<void(int tick)> step) {
    int tick = 0;
    const platform::TimerId timer = ui().SetTimer(50, [&] {
      ++tick;
      if (tick > 100) {
        ui().EndMenu();
        return;
      }
      step(tick);
    });
    const unsigned chosen = ui().TrackPopupMenu(items, {200, 150}, application_->Handle());
    ui().KillTimer(timer);
    ticks_ = tick;
    return chosen;
  }

  Win32Platform system_;
  MessageSink sink_;
  std::unique_ptr<platform::ControlPeer> application_;
  int ticks_ = 0;
};

TEST_F(MenuTest, TimersRunWhileTheMenuIsOpenAndEndMenuCancelsIt) {
  bool sawMenu = false;
  const unsigned chosen = Show({Item("最初", 11), Item("二番目", 22)}, [&](int tick) {
    if (tick == 3) {
      sawMenu = OpenMenuWindow() != nullptr;
      ui().EndMenu();
    }
  });
  EXPECT_TRUE(sawMenu);
  EXPECT_EQ(chosen, 0u);
  EXPECT_EQ(ticks_, 3);
  EXPECT_EQ(OpenMenuWindow(), nullptr);
  EXPECT_EQ(ui().MenuWindowClass(), "#32768");

  // A second menu right after the first opens and closes the same way.
  EXPECT_EQ(Show({Item("再び", 5)}, [&](int tick) {
              if (tick == 2) ui().EndMenu();
            }),
            0u);
  EXPECT_EQ(ticks_, 2);
}

TEST_F(MenuTest, KeysChooseAnItemAndItsIdIsReturned) {
  const std::vector<MenuEntry> items = {Item("最初", 11), Item("-"), Item("二番目", 22), Item("三番目", 33)};
  const unsigned chosen = Show(items, [&](int tick) {
    HWND menu = OpenMenuWindow();
    if (tick != 2 || !menu) return;
    // Down to the first item, over the separator to the second, then Enter.
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) ::PostMessageW(menu, WM_KEYDOWN, key, 0);
  });
  EXPECT_EQ(chosen, 22u);
}

TEST_F(MenuTest, TheTreeBecomesNativeItemsWithChecksSubmenusAndLiteralAmpersands) {
  std::vector<MenuEntry> items = {Item("Pop終了", 1), Item("引出時固定", 3, nullptr, true), Item("Varnel", 0), Item("-"),
                                  Item("Tom & Jerry", 1000)};
  items[2].children = {Item("Launch読込", 5), Item("設定", 6)};
  std::vector<std::wstring> captions;
  UINT checkedState = 0, plainState = 0;
  int count = 0, subCount = 0;
  UINT separatorType = 0;
  Show(items, [&](int tick) {
    HWND window = OpenMenuWindow();
    if (tick < 2 || !window) return;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
    count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
      wchar_t text[64] = {};
      ::GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
      captions.push_back(text);
    }
    checkedState = ::GetMenuState(menu, 1, MF_BYPOSITION);
    plainState = ::GetMenuState(menu, 0, MF_BYPOSITION);
    subCount = ::GetMenuItemCount(::GetSubMenu(menu, 2));
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoW(menu, 3, TRUE, &info);
    separatorType = info.fType;
    ui().EndMenu();
  });
  ASSERT_EQ(count, 5);
  EXPECT_EQ(captions[0], L"Pop終了");
  EXPECT_EQ(captions[2], L"Varnel");
  EXPECT_EQ(captions[4], L"Tom && Jerry");  // shown as "Tom & Jerry", no access key
  EXPECT_NE(checkedState & MF_CHECKED, 0u);
  EXPECT_EQ(plainState & MF_CHECKED, 0u);
  EXPECT_EQ(subCount, 2);
  EXPECT_NE(separatorType & MFT_SEPARATOR, 0u);
}

TEST_F(MenuTest, ProgramPicturesLoadAndMenuIconsAreDrawn) {
  const char* names[] = {"LAUNCH_DUAL",     "LAUNCH_PIN",  "LAUNCH_SUPPLEMENT", "LAUNCH_EXIT",
                         "LAUNCH_SETTINGS", "LAUNCH_LOAD", "MAINICON"};
  std::vector<platform::ImageRef> images;
  for (const char* name : names) {
    images.push_back(ui().LoadImageResource(name));
    ASSERT_NE(images.back(), nullptr) << name;
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(IconOf(images.back()), &info)) << name;
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 16) << name;
    EXPECT_EQ(bitmap.bmBitsPixel, 32) << name;  // the alpha entry, not the 16-colour one
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
  EXPECT_EQ(ui().LoadImageResource("NO_SUCH_PICTURE"), nullptr);
  EXPECT_EQ(ui().LoadImageResource(""), nullptr);

  // The Launch menu's head as the program shows it; the exit icon is the only red thing.
  std::vector<MenuEntry> items = {Item("Pop終了", 1, images[3]),
                                  Item("補完Exp", 2, images[2]),
                                  Item("引出時固定", 3, images[1], true),
                                  Item("ＤｕａｌEｘｐ", 4, images[0]),
                                  Item("Varnel", 0),
                                  Item("-"),
                                  Item("メモ帳", 1000, system_.Get().shell.GetFileIcon("a.txt"))};
  items[4].children = {Item("Launch読込", 5, images[5]),
                       Item("設定", 6, images[4]),
                       Item("終了", 7, images[3])};
  int redPixels = -1;
  Show(items, [&](int tick) {
    HWND window = OpenMenuWindow();
    if (!window) return;
    if (tick == 2) {
      // Open the submenu too, for the picture.
      for (WPARAM key : {VK_UP, VK_UP, VK_RIGHT}) ::PostMessageW(window, WM_KEYDOWN, key, 0);
    }
    if (tick != 8) return;
    RECT area{};
    ::GetWindowRect(window, &area);
    // Every open menu window: the main menu and its submenu.
    ::EnumWindows(
        [](HWND each, LPARAM bounds) -> BOOL {
          wchar_t name[16];
          RECT rect{};
          if (::GetClassNameW(each, name, 16) && std::wstring(name) == L"#32768" &&
              ::IsWindowVisible(each) && ::GetWindowRect(each, &rect)) {
            auto* all = reinterpret_cast<RECT*>(bounds);
            ::UnionRect(all, all, &rect);
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&area));
    const std::vector<std::uint32_t> pixels = CaptureScreen(area);
    redPixels = 0;
    const int width = area.right - area.left;
    for (int y = 0; y < area.bottom - area.top; ++y) {
      for (int x = 0; x < 40; ++x) {  // the main menu's check and icon columns
        const std::uint32_t pixel = pixels[static_cast<size_t>(y) * width + x];
        const int red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
        if (red > 150 && green < 100 && blue < 100) ++redPixels;
      }
    }
    SaveBmp(pixels, width, area.bottom - area.top, ArtifactsFolder() / "launch-menu.bmp");
    ui().EndMenu();
  });
  EXPECT_GT(redPixels, 12) << "the exit icon was not drawn";
}

TEST_F(MenuTest, CallbackWindowHandsItsOwnMessagesToTheSink) {
  MessageSink formSink, callbackSink;
  ControlSpec formSpec;
  formSpec.kind = ControlKind::Form;
  formSpec.className = "TForm1";
  formSpec.bounds = platform::Rect::FromSize(10, 10, 1, 1);
  auto form = ui().CreateControl(formSpec, nullptr, formSink);
  ControlSpec callbackSpec;
  callbackSpec.kind = ControlKind::CallbackWindow;
  auto callback = ui().CreateControl(callbackSpec, form.get(), callbackSink);
  HWND window = ToHwnd(callback->Handle());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(::GetParent(window), ToHwnd(form->Handle()));
  EXPECT_FALSE(::IsWindowVisible(window));
  callback->SetVisible(true);
  EXPECT_FALSE(::IsWindowVisible(window));

  ::PostMessageW(window, 0x4C8, 1, WM_RBUTTONDOWN);
  ::PostMessageW(window, WM_APP + 3, 2, 3);
  ::PostMessageW(window, WM_NULL, 0, 0);  // the system's own messages stay with the system
  ::SendMessageW(window, WM_USER, 4, 5);
  ui().ProcessMessages();
  ASSERT_EQ(callbackSink.messages.size(), 3u);
  EXPECT_EQ(callbackSink.messages[0].message, WM_USER);  // sent, so first
  EXPECT_EQ(callbackSink.messages[1].message, 0x4C8u);
  EXPECT_EQ(callbackSink.messages[1].wParam, 1u);
  EXPECT_EQ(callbackSink.messages[1].lParam, WM_RBUTTONDOWN);
  EXPECT_EQ(callbackSink.messages[2].message, static_cast<unsigned>(WM_APP + 3));
  EXPECT_TRUE(formSink.messages.empty());

  // The shell's new-taskbar broadcast reaches top-level windows only; the form passes it on.
  ::SendMessageW(ToHwnd(form->Handle()), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_EQ(callbackSink.taskbarsCreated, 1);
  EXPECT_EQ(callbackSink.messages.size(), 3u);
}

}  // namespace
}  // namespace varnel::win32
