#include "engine/KeyShown.h"

#include "engine/EdgeZones.h"
#include "engine/EngineState.h"

namespace varnel {

bool KeyShownExplorer::UserTurnedAway(const platform::WindowManager& windows,
                                      platform::Hwnd explorer, std::uint32_t ownProcess) {
  const platform::Hwnd front = windows.GetForegroundWindow();
  if (front == platform::kNoWindow) return false;
  if (front == foregroundThen_) return false;
  // From now on even the window that was in front then counts.
  foregroundThen_ = explorer;
  std::uint32_t explorerProcess = 0;
  windows.GetWindowThreadProcessId(explorer, &explorerProcess);
  std::uint32_t frontProcess = 0;
  windows.GetWindowThreadProcessId(front, &frontProcess);
  return frontProcess != explorerProcess && frontProcess != ownProcess;
}

int KeyShownExplorer::EdgeFor(int lastEdge, const Settings::ExpSection& exp) {
  if (lastEdge != EdgeNone) return lastEdge;
  for (int edge = EdgeLeft; edge <= EdgeBottom; ++edge) {
    if (EdgeSwitch(exp, edge) != 0) return edge;
  }
  return EdgeLeft;
}

}  // namespace varnel
