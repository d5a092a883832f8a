// The Explorer commands of the menus: a supplementary Explorer beside the managed one, the
// pin, and both laid out side by side.

#include "app/Unit1.h"

namespace varnel {

void TForm1::mnuExploreClick(TComponent& /*sender*/) { OpenSupplementaryExplorer(); }

bool TForm1::OpenSupplementaryExplorer() {
  const platform::Hwnd saved = Engine.ExplorerWnd;
  if (!LaunchExplorer(false)) {
    // No new window came: there is nothing to place, and the managed one must not be moved.
    Engine.ExplorerWnd = saved;
    return false;
  }
  const platform::Rect& area = Engine.WorkArea;
  const Settings::ExpSection& exp = Settings.Exp;
  TSlideRect& slide = Engine.SlideRect;
  switch (Engine.LastEdge) {
    case EdgeLeft:
    case EdgeRight:
      slide.Left = Engine.LastEdge == EdgeLeft ? area.Left + exp.Width : area.Left;
      slide.Top = area.Top + exp.VT_ADJ;
      slide.Width = area.Width() - exp.Width;
      slide.Height = area.Height() - (exp.VB_ADJ + exp.VT_ADJ);
      break;
    case EdgeTop:
    case EdgeBottom:
      slide.Left = area.Left + exp.HL_ADJ;
      slide.Top = Engine.LastEdge == EdgeTop ? area.Top + exp.Height : area.Top;
      slide.Width = area.Width() - (exp.HL_ADJ + exp.HR_ADJ);
      slide.Height = area.Height() - exp.Height;
      break;
    default:
      break;  // no edge yet: where the launcher left it
  }
  platform::WindowManager& windows = System().windows;
  windows.MoveWindow(Engine.ExplorerWnd, slide.Left, slide.Top, slide.Width, slide.Height, true);
  windows.ShowWindow(Engine.ExplorerWnd, platform::SwRestore);
  Engine.ExplorerWnd = saved;
  Engine.LaunchShownEdge = EdgeNone;
  Engine.LaunchIdleCount = 0;
  return true;
}

void TForm1::PinExplorer(bool pinned) {
  mnuExpFix->SetChecked(pinned);
  Settings.Exp.Fix = pinned ? 1 : 0;
  // A pinned window stays where it is and lets other windows above it.
  System().windows.SetWindowPos(Engine.ExplorerWnd,
                                pinned ? platform::HwndNoTopmost : platform::HwndTopmost, 0, 0, 0,
                                0, platform::SwpNoSize | platform::SwpNoMove |
                                       platform::SwpNoActivate);
}

void TForm1::mnuExpFixClick(TComponent& /*sender*/) { PinExplorer(!mnuExpFix->Checked()); }

void TForm1::mnuDualExpClick(TComponent& /*sender*/) {
  // Half a layout is worse than none: without the second window the managed one stays as it
  // was, neither pinned nor moved.
  if (!OpenSupplementaryExplorer()) return;
  PinExplorer(true);
  Engine.ShownEdge = Engine.LastEdge;
  const platform::Rect& area = Engine.WorkArea;
  const Settings::ExpSection& exp = Settings.Exp;
  TSlideRect& slide = Engine.SlideRect;
  switch (Engine.ShownEdge) {
    case EdgeLeft:
    case EdgeRight:
      slide.Left = Engine.ShownEdge == EdgeLeft ? area.Left : area.Right - exp.Width;
      slide.Top = area.Top + exp.VT_ADJ;
      slide.Width = exp.Width;
      slide.Height = area.Height() - (exp.VB_ADJ + exp.VT_ADJ);
      break;
    case EdgeTop:
    case EdgeBottom:
      slide.Left = area.Left + exp.HL_ADJ;
      slide.Top = Engine.ShownEdge == EdgeTop ? area.Top : area.Bottom - exp.Height;
      slide.Width = area.Width() - (exp.HL_ADJ + exp.HR_ADJ);
      slide.Height = exp.Height;
      break;
    default:
      break;
  }
  platform::WindowManager& windows = System().windows;
  // The managed window keeps no taskbar button while it stays in its slot, as when parked.
  const auto style =
      static_cast<std::uint32_t>(windows.GetWindowLong(Engine.ExplorerWnd, platform::GwlExStyle));
  windows.SetWindowLong(Engine.ExplorerWnd, platform::GwlExStyle,
                        static_cast<std::int32_t>(style | platform::WsExToolWindow));
  windows.MoveWindow(Engine.ExplorerWnd, slide.Left, slide.Top, slide.Width, slide.Height, true);
  windows.ShowWindow(Engine.ExplorerWnd, platform::SwRestore);
}

}  // namespace varnel
