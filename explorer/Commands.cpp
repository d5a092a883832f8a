// The Explorer commands of the menus: a supplementary Explorer beside the managed one, the
// pin, and both laid out side by side.

#include <optional>

#include "app/Unit1.h"
#include "base/Desktop.h"
#include "base/ScopeExit.h"
#include "engine/Geometry.h"

namespace varnel {

void TForm1::mnuExploreClick(TComponent& /*sender*/) { OpenSupplementaryExplorer(); }

bool TForm1::OpenSupplementaryExplorer() {
  // The launch makes the new window ExplorerWnd; the engine gets its own one back however
  // this ends, a failure on the way included.
  const ScopeExit putBack([this, saved = Engine.ExplorerWnd] { Engine.ExplorerWnd = saved; });
  // No new window came: there is nothing to place, and the managed one must not be moved.
  if (!LaunchExplorer(false)) return false;
  // With no edge used yet the window goes where the launcher left it.
  if (const std::optional<SlotLayout> layout =
          LayoutBesideSlot(Engine.LastEdge, ExplorerArea(), Settings.Exp)) {
    Engine.SlideRect = layout->Rest;
  }
  Place(Engine.SlideRect);
  System().windows.ShowWindow(Engine.ExplorerWnd, platform::SwRestore);
  Engine.LaunchShownEdge = EdgeNone;
  Engine.LaunchIdleCount = 0;
  return true;
}

void TForm1::PinExplorer(bool pinned) {
  mnuExpFix->SetChecked(pinned);
  Settings.Exp.Fix = pinned ? 1 : 0;
  // A pinned window stays where it is and lets other windows above it.
  SetTopmost(System().windows, Engine.ExplorerWnd, !pinned);
}

void TForm1::mnuExpFixClick(TComponent& /*sender*/) { PinExplorer(!mnuExpFix->Checked()); }

void TForm1::mnuDualExpClick(TComponent& /*sender*/) {
  // Half a layout is worse than none: without the second window the managed one stays as it
  // was, neither pinned nor moved.
  if (!OpenSupplementaryExplorer()) return;
  PinExplorer(true);
  Engine.ShownEdge = Engine.LastEdge;
  if (const std::optional<SlotLayout> layout =
          LayoutBesideSlot(Engine.ShownEdge, ExplorerArea(), Settings.Exp)) {
    Engine.SlideRect = layout->Slot;
  }
  platform::WindowManager& windows = System().windows;
  // The managed window keeps no taskbar button while it stays in its slot, as when parked.
  const auto style =
      static_cast<std::uint32_t>(windows.GetWindowLong(Engine.ExplorerWnd, platform::GwlExStyle));
  windows.SetWindowLong(Engine.ExplorerWnd, platform::GwlExStyle,
                        static_cast<std::int32_t>(style | platform::WsExToolWindow));
  Place(Engine.SlideRect);
  windows.ShowWindow(Engine.ExplorerWnd, platform::SwRestore);
}

}  // namespace varnel
