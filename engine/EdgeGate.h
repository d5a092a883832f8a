#pragma once
// Whether an edge may bring something out now: nothing comes while the user has paused the
// edges, nor on a monitor where a quiet program or full-screen work is in front.

#include <string_view>

#include "engine/Monitors.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

namespace varnel {

class EdgeGate {
 public:
  // The settings and the monitors are read at each question: they change while the program runs.
  EdgeGate(const platform::Platform& platform, const Settings& settings, const Monitors& monitors)
      : platform_(platform), settings_(settings), monitors_(monitors) {}

  bool Paused() const { return paused_; }
  void SetPaused(bool paused) { paused_ = paused; }

  // Whether an edge may bring the Explorer or the Launch menu out on `monitor` now; null for a
  // desktop whose monitors are not known, where only the pause and a quiet program count.
  bool MayFire(const platform::Monitor* monitor) const;

 private:
  ForegroundState Foreground() const;
  bool QuietProgramInFront(const platform::Monitor* monitor,
                           const ForegroundState& foreground) const;

  const platform::Platform& platform_;
  const Settings& settings_;
  const Monitors& monitors_;
  bool paused_ = false;
};

// Whether the executable `imagePath` (a full path or a bare file name) is one of `programs`,
// file names separated by ";", compared by file name ignoring case.
bool IsQuietProgram(std::string_view programs, std::string_view imagePath);

}  // namespace varnel
