// Not a test: what showing a popup menu costs the system, by the menu's shape. Each menu is
// shown by the program's own code (ShowPopupMenu) and by bare calls (CreatePopupMenu,
// InsertMenuItem, TrackPopupMenuEx, DestroyMenu) with the same items, so that the two can be
// told apart: the time until the menu is up and idle (WM_ENTERIDLE, where the bench ends it),
// and the whole call, its destruction included. Medians of five. Argument: runs (default 5).

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/Image.h"
#include "platform/win32/PopupMenu.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point g_started;
double g_shownMs = -1;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

LRESULT CALLBACK OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENTERIDLE && g_shownMs < 0) {
    g_shownMs = MsSince(g_started);
    ::EndMenu();
    return 0;
  }
  if (message == WM_MEASUREITEM) {  // the bare menus' icons, as the program measures them
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    measure->itemWidth = 20;
    measure->itemHeight = 16;
    return TRUE;
  }
  if (message == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    ::DrawIconEx(draw->hDC, draw->rcItem.left, draw->rcItem.top,
                 reinterpret_cast<HICON>(draw->itemData), 16, 16, 0, nullptr, DI_NORMAL);
    return TRUE;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// `folders` entries with a submenu made when it opens, then `files` entries, each with an icon.
std::vector<varnel::platform::MenuEntry> Shape(int folders, int files,
                                               const varnel::platform::ImageRef& icon) {
  std::vector<varnel::platform::MenuEntry> entries;
  for (int i = 0; i < folders + files; ++i) {
    varnel::platform::MenuEntry entry;
    entry.caption = (i < folders ? "Folder" : "entry") + std::to_string(i);
    if (i < folders) {
      entry.fill = [] { return std::vector<varnel::platform::MenuEntry>(); };
    } else {
      entry.id = static_cast<unsigned>(i + 1);
      entry.image = icon;
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

void ShowBare(const std::vector<varnel::platform::MenuEntry>& entries, HWND owner, HICON icon) {
  HMENU menu = ::CreatePopupMenu();
  UINT position = 0;
  for (const varnel::platform::MenuEntry& entry : entries) {
    std::wstring caption(entry.caption.begin(), entry.caption.end());
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE;
    item.dwTypeData = caption.data();
    item.wID = entry.id;
    if (entry.image) {
      item.fMask |= MIIM_BITMAP | MIIM_DATA;
      item.hbmpItem = HBMMENU_CALLBACK;
      item.dwItemData = reinterpret_cast<ULONG_PTR>(icon);
    }
    if (entry.IsSubmenu()) {
      item.fMask |= MIIM_SUBMENU;
      item.hSubMenu = ::CreatePopupMenu();
    }
    ::InsertMenuItemW(menu, position++, TRUE, &item);
  }
  ::SetForegroundWindow(owner);
  ::TrackPopupMenuEx(menu, TPM_RETURNCMD, 100, 100, owner, nullptr);
  ::DestroyMenu(menu);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = OwnerProcedure;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"VarnelMenuShowBench";
  ::RegisterClassW(&windowClass);
  HWND owner = ::CreateWindowW(windowClass.lpszClassName, L"menu show bench", WS_OVERLAPPEDWINDOW,
                               0, 0, 200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
  ::ShowWindow(owner, SW_SHOW);
  HICON icon = ::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION));
  const varnel::platform::ImageRef image = varnel::win32::MakeImage(::CopyIcon(icon));

  const struct {
    const char* name;
    int folders, files;
  } shapes[] = {
      {"6 items (an empty Launch folder's menu)", 0, 6},
      {"1,082 items, 988 of them submenus (the tree's top)", 988, 94},
      {"1,082 items, no submenu", 0, 1082},
  };
  std::printf("Showing a popup menu: until shown and idle / the whole call, medians of %d\n", runs);
  bool allShown = true;
  for (const auto& shape : shapes) {
    const auto entries = Shape(shape.folders, shape.files, image);
    for (const bool bare : {false, true}) {
      std::vector<double> shown, whole;
      for (int run = -1; run < runs; ++run) {
        g_shownMs = -1;
        g_started = Clock::now();
        if (bare) {
          ShowBare(entries, owner, icon);
        } else {
          varnel::win32::ShowPopupMenu(entries, {100, 100}, owner);
        }
        if (run < 0) continue;  // one untimed, for the caches
        allShown = allShown && g_shownMs >= 0;
        shown.push_back(g_shownMs);
        whole.push_back(MsSince(g_started));
      }
      std::printf("  %-52s %-6s %7.1f ms / %7.1f ms\n", shape.name, bare ? "bare" : "ours",
                  Median(shown), Median(whole));
    }
  }
  ::DestroyWindow(owner);
  ::DestroyIcon(icon);
  return allShown ? 0 : 1;
}
