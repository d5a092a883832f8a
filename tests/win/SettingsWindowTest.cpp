// The real settings window under the real system: it opens where the settings say with its
// designed size, its five pages carry their Japanese captions, OK shrinks it away and writes
// the file. Each page is saved as a picture for a person to look at.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "platform/win32/Win32Platform.h"
#include "settings/Rw_ini.h"

namespace varnel {
namespace {

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                      length);
  return wide;
}

// Saves what the screen shows inside `rect` as a 24-bit BMP file.
bool SaveScreenRect(const RECT& rect, const std::filesystem::path& file) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = ((width * 3) + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

std::filesystem::path ArtifactsFolder() {
  const char* configured = std::getenv("VARNEL_ARTIFACTS");
  std::filesystem::path folder = configured != nullptr ? configured : "artifacts";
  std::filesystem::create_directories(folder);
  return folder;
}

// Lets the windows paint.
void Settle(TApplication& application) {
  for (int i = 0; i < 20; ++i) {
    application.ProcessMessages();
    Sleep(10);
  }
}

class SettingsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::remove(Wide(SettingsFilePath(system.Get()))); }
  void TearDown() override { std::filesystem::remove(Wide(SettingsFilePath(system.Get()))); }

  win32::Win32Platform system;
};

TEST_F(SettingsWindowTest, OpensAtItsPlaceShowsFivePagesAndOkWritesTheFile) {
  TApplication application(system.Get());
  application.SetTitle("Varnel");
  TForm1& form = application.CreateForm<TForm1>();
  // The settings window is the subject here, not the Explorer that the first activation, or a
  // tick with the pointer left at an edge by an earlier test, would start.
  form.FirstActivate = false;
  form.Timer1->SetEnabled(false);
  form.SetVisible(true);
  Settle(application);

  const HWND window = reinterpret_cast<HWND>(form.Handle());
  RECT rect{};
  GetWindowRect(window, &rect);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(rect.left, -screenWidth);
  EXPECT_EQ(rect.top, -screenHeight);
  EXPECT_EQ(rect.right - rect.left, 1);
  EXPECT_EQ(rect.bottom - rect.top, 1);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_SYSMENU, 0);

  form.mnuSettingClick(form);
  Settle(application);
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, form.Settings.Pos.Left);
  EXPECT_EQ(rect.top, form.Settings.Pos.Top);
  EXPECT_EQ(rect.right - rect.left, form.DesignWidth);
  EXPECT_EQ(rect.bottom - rect.top, form.DesignHeight);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 267);
  EXPECT_EQ(client.bottom, 346);

  const HWND tabs = reinterpret_cast<HWND>(form.PageControl1->Handle());
  ASSERT_EQ(TabCtrl_GetItemCount(tabs), 5);
  const wchar_t* captions[] = {L"動作", L"フォルダ", L"Launch", L"監視", L"About"};
  const std::filesystem::path artifacts = ArtifactsFolder();
  for (int page = 0; page < 5; ++page) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    TabCtrl_GetItem(tabs, page, &item);
    EXPECT_STREQ(text, captions[page]);

    form.PageControl1->SetActivePageIndex(page);
    Settle(application);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), page);
    GetWindowRect(window, &rect);
    char name[64];
    std::snprintf(name, sizeof name, "settings-page-%d.bmp", page + 1);
    EXPECT_TRUE(SaveScreenRect(rect, artifacts / name));
  }

  form.BitBtn1->Click();
  Settle(application);
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, -screenWidth);
  EXPECT_EQ(rect.right - rect.left, 1);
  EXPECT_FALSE(form.SettingsOpen);
  EXPECT_TRUE(std::filesystem::exists(Wide(SettingsFilePath(system.Get()))));
}

}  // namespace
}  // namespace varnel
