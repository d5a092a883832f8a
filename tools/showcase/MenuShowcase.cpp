// Not a test: shows the Launch menu's fixed items with their icons, the "Varnel" submenu open,
// for a few seconds, so that a screenshot can show how the menu renders. Argument: seconds
// (default 5).

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/win32/WindowsApi.h"
#include "platform/win32/Win32Platform.h"

using varnel::platform::ControlKind;
using varnel::platform::ControlSpec;
using varnel::platform::MenuEntry;

namespace {

struct QuietSink : varnel::platform::ControlSink {};

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

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  varnel::win32::Win32Platform system;
  varnel::platform::Ui& ui = system.Get().ui;
  QuietSink sink;
  ControlSpec application;
  application.kind = ControlKind::ApplicationWindow;
  application.className = "TApplication";
  application.text = "Varnel";
  const auto owner = ui.CreateControl(application, nullptr, sink);

  const auto icon = [&](const char* name) { return ui.LoadImageResource(name); };
  const auto file = [&](const char* name) { return system.Get().shell.GetFileIcon(name); };
  std::vector<MenuEntry> items = {Item("Pop終了", 1, icon("LAUNCH_EXIT")),
                                  Item("補完Exp", 2, icon("LAUNCH_SUPPLEMENT")),
                                  Item("引出時固定", 3, icon("LAUNCH_PIN"), true),
                                  Item("ＤｕａｌEｘｐ", 4, icon("LAUNCH_DUAL")),
                                  Item("Varnel", 0),
                                  Item("-"),
                                  Item("ツール", 0),
                                  Item("メモ帳", 1000, file("x.txt")),
                                  Item("Report.old", 1001, file("y.lnk"))};
  items[4].children = {Item("Launch読込", 5, icon("LAUNCH_LOAD")),
                       Item("設定", 6, icon("LAUNCH_SETTINGS")),
                       Item("終了", 7, icon("LAUNCH_EXIT"))};
  items[6].children = {Item("電卓", 1002, file("calc.lnk"))};

  int tick = 0;
  ui.SetTimer(100, [&] {
    ++tick;
    // Open the "Varnel" submenu, as a user pointing at it would.
    if (tick == 3) {
      if (HWND menu = FindWindowW(L"#32768", nullptr)) {
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}) {
          PostMessageW(menu, WM_KEYDOWN, key, 0);
        }
      }
    }
    if (tick >= seconds * 10) ui.EndMenu();
  });
  return static_cast<int>(ui.TrackPopupMenu(items, {60, 60}, owner->Handle()));
}
