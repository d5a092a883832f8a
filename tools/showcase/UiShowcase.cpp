// Not a test: shows a form like the settings window's first page for a few seconds, so that a
// screenshot can show how Japanese text and the controls render. Argument: seconds (default 5).

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/win32/Win32Platform.h"

using varnel::platform::ButtonGlyph;
using varnel::platform::ControlKind;
using varnel::platform::ControlPeer;
using varnel::platform::ControlSink;
using varnel::platform::ControlSpec;
using varnel::platform::Rect;

namespace {

struct QuietSink : ControlSink {};

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  varnel::win32::Win32Platform system;
  varnel::platform::Ui& ui = system.Get().ui;
  QuietSink sink;
  std::vector<std::unique_ptr<ControlPeer>> keep;
  const auto add = [&](ControlSpec spec, ControlPeer* parent) -> ControlPeer& {
    keep.push_back(ui.CreateControl(spec, parent, sink));
    return *keep.back();
  };
  const auto control = [&](ControlKind kind, const char* text, Rect bounds, ControlPeer& parent)
      -> ControlPeer& {
    ControlSpec spec;
    spec.kind = kind;
    spec.text = text;
    spec.bounds = bounds;
    return add(spec, &parent);
  };

  ControlSpec application;
  application.kind = ControlKind::ApplicationWindow;
  application.className = "TApplication";
  application.text = "Varnel";
  add(application, nullptr);

  ControlSpec formSpec;
  formSpec.kind = ControlKind::Form;
  formSpec.className = "TForm1";
  formSpec.text = "Varnel（設定）";
  formSpec.bounds = Rect::FromSize(40, 40, 1, 1);
  formSpec.dialogFrame = true;
  formSpec.font = {"ＭＳ Ｐゴシック", 12};
  ControlPeer& form = add(formSpec, nullptr);
  // As the framework sizes a form: the client area in design pixels, grown with the screen's
  // scale (the outer size the system draws around it is real pixels).
  form.SetClientSize(267, 346);

  ControlPeer& pages = control(ControlKind::PageControl, "", Rect::FromSize(0, 0, 267, 305), form);
  ControlPeer& page = control(ControlKind::TabSheet, "動作", {}, pages);
  for (const char* caption : {"フォルダ", "Launch", "監視", "About"}) {
    control(ControlKind::TabSheet, caption, {}, pages);
  }
  control(ControlKind::Label, "出現方向", Rect::FromSize(8, 8, 80, 14), page);
  const char* edges[] = {"上", "左", "右", "下"};
  for (int i = 0; i < 4; ++i) {
    ControlPeer& box = control(ControlKind::CheckBox, edges[i], Rect::FromSize(12 + i * 44, 26, 40, 17), page);
    box.SetChecked(i == 1);
    box.SetHint(std::string(edges[i]) + "から出現");
  }
  control(ControlKind::CheckBox, "ボタンで出現", Rect::FromSize(12, 48, 110, 17), page);
  ControlPeer& group = control(ControlKind::GroupBox, "出現ボタン", Rect::FromSize(130, 44, 120, 60), page);
  control(ControlKind::RadioButton, "左ボタン", Rect::FromSize(10, 16, 90, 17), group).SetChecked(true);
  control(ControlKind::RadioButton, "右ボタン", Rect::FromSize(10, 36, 90, 17), group);
  control(ControlKind::Label, "出現速度（速－遅）", Rect::FromSize(8, 110, 200, 14), page);
  ControlPeer& speed = control(ControlKind::TrackBar, "", Rect::FromSize(8, 126, 240, 30), page);
  speed.SetRange(1, 100);
  speed.SetPosition(10);
  control(ControlKind::Label, "感度（小さいと高感度）", Rect::FromSize(8, 166, 150, 14), page);
  ControlSpec readOnly;
  readOnly.kind = ControlKind::Edit;
  readOnly.text = "5";
  readOnly.readOnly = true;
  readOnly.bounds = Rect::FromSize(160, 162, 40, 20);
  add(readOnly, &page);
  ControlSpec upDownSpec;
  upDownSpec.kind = ControlKind::UpDown;
  upDownSpec.vertical = true;
  upDownSpec.bounds = Rect::FromSize(200, 162, 17, 20);
  ControlPeer& upDown = add(upDownSpec, &page);
  upDown.SetRange(2, 50);
  upDown.SetPosition(5);
  control(ControlKind::CheckBox, "コーナに不感領域を設ける", Rect::FromSize(12, 190, 200, 17), page)
      .SetChecked(true);
  control(ControlKind::CheckBox, "トレイアイコンも隠す", Rect::FromSize(12, 212, 200, 17), page);
  control(ControlKind::CheckBox, "Ｐｏｐｕｐの左右入替", Rect::FromSize(12, 234, 200, 17), page);
  control(ControlKind::CheckBox, "終了時状態を記憶しない", Rect::FromSize(12, 256, 200, 17), page);

  ControlSpec help;
  help.kind = ControlKind::Button;
  help.text = "ヘルプ";
  help.glyph = ButtonGlyph::Help;
  help.bounds = Rect::FromSize(60, 312, 97, 25);
  add(help, &form);
  ControlSpec ok;
  ok.kind = ControlKind::Button;
  ok.text = "OK";
  ok.glyph = ButtonGlyph::Ok;
  ok.defaultButton = true;
  ok.bounds = Rect::FromSize(168, 312, 97, 25);
  add(ok, &form);

  form.SetVisible(true);
  ui.SetTimer(static_cast<unsigned>(seconds) * 1000, [&] { ui.PostQuitMessage(); });
  ui.Run();
  return 0;
}
