// The real settings window under the real system: it opens where the settings say with its
// designed size, its five pages carry their Japanese captions, OK shrinks it away and writes
// the file. Each page is saved as a picture for a person to look at. At a scale above 100 %
// everything grows with the screen's DPI and every caption still fits; CTest runs this file a
// second time in a prefix set to 144 DPI.

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

std::string Utf8(const std::wstring& wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length,
                      nullptr, nullptr);
  return utf8;
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

// The screen's DPI as the system tells any program.
int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// Design pixels (96 DPI) on this screen.
int Scaled(int design) { return MulDiv(design, ScreenDpi(), 96); }

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

TEST_F(SettingsWindowTest, OpensAtItsPlaceShowsSixPagesAndOkWritesTheFile) {
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
  EXPECT_EQ(client.right, Scaled(320));
  EXPECT_EQ(client.bottom, Scaled(346));

  const HWND tabs = reinterpret_cast<HWND>(form.PageControl1->Handle());
  ASSERT_EQ(TabCtrl_GetItemCount(tabs), 6);
  const wchar_t* captions[] = {L"動作", L"フォルダ", L"Launch", L"監視", L"その他", L"About"};
  const std::filesystem::path artifacts = ArtifactsFolder();
  for (int page = 0; page < 6; ++page) {
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
    if (ScreenDpi() == 96) {
      std::snprintf(name, sizeof name, "settings-page-%d.bmp", page + 1);
    } else {
      std::snprintf(name, sizeof name, "settings-page-%d-%ddpi.bmp", page + 1, ScreenDpi());
    }
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

// The settings window opened as the tray menu opens it, with nothing else of the program
// running: no Explorer from the first activation, no tick.
TForm1& OpenSettings(TApplication& application) {
  TForm1& form = application.CreateForm<TForm1>();
  form.FirstActivate = false;
  form.Timer1->SetEnabled(false);
  form.SetVisible(true);
  form.mnuSettingClick(form);
  Settle(application);
  return form;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// Where a control is inside its parent's client area, in the screen's pixels.
RECT PlaceInParent(const TControl& control) {
  const HWND window = reinterpret_cast<HWND>(control.Handle());
  RECT rect = WindowRect(window);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Each edge where the design puts it, times the scale of `dpi`; exact at 100 %, within the
// rounding of a pixel above it.
void ExpectPlacedAsDesigned(const TControl& control, int left, int top, int width, int height,
                            int dpi = ScreenDpi()) {
  const RECT rect = PlaceInParent(control);
  const double scale = dpi / 96.0;
  const double slack = dpi == 96 ? 0 : 1;
  SCOPED_TRACE(control.Name());
  EXPECT_NEAR(rect.left, left * scale, slack);
  EXPECT_NEAR(rect.top, top * scale, slack);
  EXPECT_NEAR(rect.right, (left + width) * scale, slack);
  EXPECT_NEAR(rect.bottom, (top + height) * scale, slack);
}

LONG FontHeight(const TControl& control) {
  const auto font = reinterpret_cast<HFONT>(
      SendMessageW(reinterpret_cast<HWND>(control.Handle()), WM_GETFONT, 0, 0));
  LOGFONTW logFont{};
  GetObjectW(font, sizeof logFont, &logFont);
  return logFont.lfHeight;
}

// Every check box, radio button, push button and label in `parent`, however deep, shows its
// whole caption in its own font: the button's own measure of what it needs, the label's text
// laid out in its width.
void ExpectEveryCaptionFits(HWND parent) {
  for (HWND window = GetWindow(parent, GW_CHILD); window;
       window = GetWindow(window, GW_HWNDNEXT)) {
    ExpectEveryCaptionFits(window);
    wchar_t text[256] = {}, kind[64] = {};
    GetWindowTextW(window, text, 256);
    GetClassNameW(window, kind, 64);
    if (text[0] == L'\0') continue;
    SCOPED_TRACE(Utf8(text));
    RECT client{};
    GetClientRect(window, &client);
    if (std::wstring(kind) == L"Button") {
      // A group box's caption is drawn on its frame, as wide as it needs.
      if ((GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) continue;
      SIZE ideal{};
      ASSERT_TRUE(SendMessageW(window, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
      EXPECT_LE(ideal.cx, client.right);
    } else if (std::wstring(kind) == L"Static") {
      HDC dc = GetDC(window);
      const HGDIOBJ previous =
          SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
      RECT needed{0, 0, client.right, 0};
      DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      SelectObject(dc, previous);
      ReleaseDC(window, dc);
      EXPECT_LE(needed.right, client.right);
      EXPECT_LE(needed.bottom, client.bottom);
    }
  }
}

TEST_F(SettingsWindowTest, GrowsWithTheScreensScaleAndEveryCaptionFits) {
  // A run prepared for another scale must really have it, or it would test 100 % again.
  if (const char* expected = std::getenv("VARNEL_EXPECTED_DPI")) {
    ASSERT_EQ(ScreenDpi(), std::atoi(expected));
  }
  EXPECT_EQ(system.Get().windows.GetDpiForSystem(), static_cast<unsigned>(ScreenDpi()));

  TApplication application(system.Get());
  TForm1& form = OpenSettings(application);
  ExpectPlacedAsDesigned(*form.PageControl1, 0, 0, 320, 305);
  ExpectPlacedAsDesigned(*form.BitBtn1, 221, 312, 97, 25);
  ExpectPlacedAsDesigned(*form.CheckBox13, 8, 150, 240, 17);
  ExpectPlacedAsDesigned(*form.RadioButton2, 8, 44, 74, 17);
  // The framework still speaks design pixels.
  EXPECT_EQ(form.CheckBox13->Bounds(), platform::Rect::FromSize(8, 150, 240, 17));
  EXPECT_EQ(FontHeight(*form.CheckBox13), -Scaled(12));
  EXPECT_EQ(FontHeight(*form.Label1), -Scaled(32));

  // Every tab in one row, none behind scroll arrows.
  const HWND tabs = reinterpret_cast<HWND>(form.PageControl1->Handle());
  EXPECT_EQ(TabCtrl_GetRowCount(tabs), 1);
  RECT lastTab{}, tabArea{};
  TabCtrl_GetItemRect(tabs, TabCtrl_GetItemCount(tabs) - 1, &lastTab);
  GetClientRect(tabs, &tabArea);
  EXPECT_LE(lastTab.right, tabArea.right);

  ExpectEveryCaptionFits(reinterpret_cast<HWND>(form.Handle()));
}

// What the system sends when the user drags the window onto a monitor of another scale.
void MoveToScale(HWND window, int dpi, const RECT& suggested) {
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(SettingsWindowTest, FollowsItsMonitorsScaleAndComesBackPixelForPixel) {
  TApplication application(system.Get());
  TForm1& form = OpenSettings(application);
  const HWND window = reinterpret_cast<HWND>(form.Handle());
  const int dpi = ScreenDpi();
  const int larger = dpi + 24;  // the next step of the scales Windows offers, 25 % more
  const RECT before = WindowRect(window);
  const RECT radioBefore = PlaceInParent(*form.RadioButton2);

  // Dragged to the screen's top-left corner, where the grown window is seen whole.
  const RECT suggested{0, 0, MulDiv(before.right - before.left, larger, dpi),
                       MulDiv(before.bottom - before.top, larger, dpi)};
  MoveToScale(window, larger, suggested);
  Settle(application);
  EXPECT_TRUE(SameRect(WindowRect(window), suggested));
  ExpectPlacedAsDesigned(*form.BitBtn1, 221, 312, 97, 25, larger);
  ExpectPlacedAsDesigned(*form.RadioButton2, 8, 44, 74, 17, larger);
  EXPECT_EQ(FontHeight(*form.Label1), -MulDiv(32, larger, 96));
  EXPECT_EQ(form.RadioButton2->Bounds(), platform::Rect::FromSize(8, 44, 74, 17));
  char name[64];
  std::snprintf(name, sizeof name, "settings-page-1-moved-from-%d-to-%ddpi.bmp", dpi, larger);
  EXPECT_TRUE(SaveScreenRect(WindowRect(window), ArtifactsFolder() / name));

  MoveToScale(window, dpi, before);
  Settle(application);
  EXPECT_TRUE(SameRect(WindowRect(window), before));
  EXPECT_TRUE(SameRect(PlaceInParent(*form.RadioButton2), radioBefore));
  EXPECT_EQ(FontHeight(*form.Label1), -Scaled(32));

  // The closed window stays the 1 x 1 pixel off screen where the program put it.
  form.BitBtn1->Click();
  const RECT closed = WindowRect(window);
  MoveToScale(window, larger, {closed.left, closed.top, closed.right + 1, closed.bottom + 1});
  EXPECT_TRUE(SameRect(WindowRect(window), closed));
}

}  // namespace
}  // namespace varnel
