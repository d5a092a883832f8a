// The cost of the tick that finds nothing to do, on the simulated desktop: the program parked,
// the pointer in the middle of the screen. Reports the calls that reach the platform.

#include <benchmark/benchmark.h>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "platform/sim/SimPlatform.h"

namespace {

void BM_IdleTick(benchmark::State& state) {
  varnel::sim::SimPlatform system;
  varnel::TApplication application(system.Get());
  application.SetTitle("Varnel");
  auto& form = application.CreateForm<varnel::TForm1>();
  form.Timer1->SetEnabled(false);
  application.Run();
  system.desktop.SetCursorPos({960, 540});
  system.desktop.ClearCalls();
  form.Timer1Timer(form);
  state.counters["window_calls_per_tick"] = static_cast<double>(system.desktop.Calls().size());
  for (auto _ : state) {
    system.desktop.ClearCalls();
    form.Timer1Timer(form);
  }
}
BENCHMARK(BM_IdleTick);

}  // namespace
BENCHMARK_MAIN();
