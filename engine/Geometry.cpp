#include "engine/Geometry.h"

#include <algorithm>
#include <cstdint>

namespace varnel {

void ClampExplorerGeometry(Settings::ExpSection& exp, const platform::Rect& workArea) {
  const std::int32_t width = std::max(workArea.Width(), 0);
  const std::int32_t height = std::max(workArea.Height(), 0);
  // A size of 0 or 1 keeps its meaning (nothing is written at exit); only the extremes move.
  exp.Width = std::clamp(exp.Width, 0, width);
  exp.Height = std::clamp(exp.Height, 0, height);
  // Negative insets are allowed (the window then reaches past the work area), but no further
  // than the work area is long.
  exp.VT_ADJ = std::clamp(exp.VT_ADJ, -height, height);
  exp.VB_ADJ = std::clamp(exp.VB_ADJ, -height, height);
  exp.HL_ADJ = std::clamp(exp.HL_ADJ, -width, width);
  exp.HR_ADJ = std::clamp(exp.HR_ADJ, -width, width);
}

}  // namespace varnel
