#pragma once
// The program started on the simulated desktop, with its managed Explorer captured and parked,
// the timer held still so that a test runs each tick itself.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "platform/sim/SimPlatform.h"

namespace varnel::testing {

inline constexpr const char* kIniPath = "C:\\Tools\\Varnel\\varnel.ini";

// A MoveWindow request: left, top, width, height.
struct Placement {
  int X = 0;
  int Y = 0;
  int W = 0;
  int H = 0;
  friend bool operator==(const Placement&, const Placement&) = default;
  friend void PrintTo(const Placement& p, std::ostream* out) {
    *out << "(" << p.X << ", " << p.Y << ", " << p.W << " x " << p.H << ")";
  }
};

class EngineFixture : public ::testing::Test {
 protected:
  sim::SimPlatform system;
  std::unique_ptr<TApplication> application;
  TForm1* form = nullptr;

  // Starts the program with `ini` as its settings file; the first activation launches the
  // Explorer, which the simulated shell opens after 600 ms.
  void Start(const std::string& ini = {}) {
    if (!ini.empty()) system.files.WriteFile(kIniPath, ini);
    application = std::make_unique<TApplication>(system.Get());
    application->SetTitle("Varnel");
    form = &application->CreateForm<TForm1>();
    form->Timer1->SetEnabled(false);
    application->Run();
    system.desktop.ClearCalls();
  }

  sim::SimControlPeer& PeerOf(const TControl& control) {
    return *system.ui.Peer(control.Handle());
  }
  platform::Hwnd Explorer() const { return form->Engine.ExplorerWnd; }
  platform::Rect ExplorerRect() { return system.desktop.GetWindowRect(Explorer()); }
  sim::SimWindow& ExplorerWindow() { return *system.desktop.Find(Explorer()); }
  // The extended style as the program set it: the system adds the topmost bit (the window's
  // z-order band) and, to a framed window, the raised-edge bit.
  std::uint32_t ExplorerExStyle() {
    return ExplorerWindow().exStyle & ~(platform::WsExTopmost | platform::WsExWindowEdge);
  }

  void Tick() { form->Timer1Timer(*form); }
  void TickAt(int x, int y, int times = 1) {
    system.desktop.SetCursorPos({x, y});
    for (int i = 0; i < times; ++i) Tick();
  }

  // The placements the program asked of `window`, in order, as left, top, width, height.
  std::vector<Placement> Moves(platform::Hwnd window) const {
    std::vector<Placement> moves;
    const std::string prefix = "MoveWindow(" + sim::HandleText(window) + ",";
    for (const std::string& call : system.desktop.Calls()) {
      if (call.rfind(prefix, 0) != 0) continue;
      int x = 0, y = 0, w = 0, h = 0;
      std::sscanf(call.c_str() + prefix.size(), " %d, %d, %d, %d", &x, &y, &w, &h);
      moves.push_back({x, y, w, h});
    }
    return moves;
  }
  std::vector<std::string> CallsNamed(const std::string& name) const {
    std::vector<std::string> found;
    for (const std::string& call : system.desktop.Calls()) {
      if (call.rfind(name + "(", 0) == 0) found.push_back(call);
    }
    return found;
  }
};

}  // namespace varnel::testing
