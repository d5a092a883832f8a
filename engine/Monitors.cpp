#include "engine/Monitors.h"

#include "engine/Geometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace varnel {

namespace {

bool Contains(const platform::Rect& r, platform::Point p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

bool Overlap(const platform::Rect& a, const platform::Rect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

std::int64_t DistanceSquared(const platform::Rect& r, platform::Point p) {
  const std::int64_t dx = p.X < r.Left ? r.Left - p.X : (p.X >= r.Right ? p.X - r.Right + 1 : 0);
  const std::int64_t dy = p.Y < r.Top ? r.Top - p.Y : (p.Y >= r.Bottom ? p.Y - r.Bottom + 1 : 0);
  return dx * dx + dy * dy;
}

}  // namespace

const platform::Monitor* MonitorAt(const Monitors& monitors, platform::Point point) {
  const platform::Monitor* nearest = nullptr;
  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  for (const platform::Monitor& monitor : monitors) {
    const std::int64_t distance = DistanceSquared(monitor.rect, point);
    if (distance < best) {
      best = distance;
      nearest = &monitor;
    }
  }
  return nearest;
}

const platform::Monitor* MonitorOf(const Monitors& monitors, const platform::Rect& rect) {
  const platform::Monitor* largest = nullptr;
  std::int64_t best = 0;
  for (const platform::Monitor& monitor : monitors) {
    const std::int64_t w = std::min(rect.Right, monitor.rect.Right) -
                           std::max(rect.Left, monitor.rect.Left);
    const std::int64_t h = std::min(rect.Bottom, monitor.rect.Bottom) -
                           std::max(rect.Top, monitor.rect.Top);
    if (w > 0 && h > 0 && w * h > best) {
      best = w * h;
      largest = &monitor;
    }
  }
  if (largest != nullptr) return largest;
  return MonitorAt(monitors, {rect.Left + rect.Width() / 2, rect.Top + rect.Height() / 2});
}

bool OuterEdgeAt(const Monitors& monitors, const platform::Monitor& monitor, int edge,
                 platform::Point p) {
  const platform::Rect& m = monitor.rect;
  // The point just beyond the edge: on a neighbour, the pointer passes on.
  platform::Point beyond = p;
  switch (edge) {
    case EdgeLeft:
      if (p.X != m.Left || p.Y < m.Top || p.Y >= m.Bottom) return false;
      beyond.X = m.Left - 1;
      break;
    case EdgeRight:
      if (p.X != m.Right - 1 || p.Y < m.Top || p.Y >= m.Bottom) return false;
      beyond.X = m.Right;
      break;
    case EdgeTop:
      if (p.Y != m.Top || p.X < m.Left || p.X >= m.Right) return false;
      beyond.Y = m.Top - 1;
      break;
    case EdgeBottom:
      if (p.Y != m.Bottom - 1 || p.X < m.Left || p.X >= m.Right) return false;
      beyond.Y = m.Bottom;
      break;
    default:
      return false;
  }
  return std::none_of(monitors.begin(), monitors.end(), [&](const platform::Monitor& other) {
    return Contains(other.rect, beyond);
  });
}

TSlideRect ParkingSpot(const Monitors& monitors, ScreenSize primary) {
  // The whole region a parked window could cover, whatever size the system grants it.
  const platform::Rect usual{-primary.Width, -primary.Height, 0, 0};
  const bool clear = std::none_of(monitors.begin(), monitors.end(), [&](const auto& monitor) {
    return Overlap(monitor.rect, usual);
  });
  if (clear || monitors.empty()) return ParkedPlacement(primary);
  int left = 0;
  int top = 0;
  for (const platform::Monitor& monitor : monitors) {
    left = std::min(left, monitor.rect.Left);
    top = std::min(top, monitor.rect.Top);
  }
  return {left - primary.Width, top - primary.Height, 0, 0};
}

std::optional<platform::Rect> FullScreenMonitor(const Monitors& monitors,
                                                const ForegroundState& foreground) {
  const platform::Monitor* monitor =
      foreground.window != platform::kNoWindow ? MonitorOf(monitors, foreground.rect) : nullptr;
  if (monitor == nullptr && !monitors.empty()) monitor = &monitors.front();
  if (monitor == nullptr) return std::nullopt;
  if (foreground.notificationState == platform::QunsRunningD3dFullScreen ||
      foreground.notificationState == platform::QunsPresentationMode) {
    return monitor->rect;
  }
  if (foreground.window == platform::kNoWindow || foreground.ours || foreground.desktop) {
    return std::nullopt;
  }
  // The desktop's own windows and the taskbars are as large as a monitor, or nearly.
  static constexpr const char* kShellClasses[] = {"Progman", "WorkerW", "Shell_TrayWnd",
                                                  "Shell_SecondaryTrayWnd"};
  for (const char* shellClass : kShellClasses) {
    if (foreground.className == shellClass) return std::nullopt;
  }
  if (foreground.rect == monitor->rect) return monitor->rect;
  return std::nullopt;
}

}  // namespace varnel
