// Start-up of the program on the simulated desktop, from the entry to an idle message loop:
// reading the settings, building the settings window with every control, the first tick.

#include <benchmark/benchmark.h>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "platform/sim/SimPlatform.h"

namespace {

void BM_StartUpToIdleLoop(benchmark::State& state) {
  for (auto _ : state) {
    varnel::sim::SimPlatform system;
    system.files.WriteFile("C:\\Tools\\Varnel\\varnel.ini",
                           "[Pos]\r\nSpeed=20\r\n[Watch]\r\nExt0=doc\r\nExt1=pdf\r\n");
    varnel::TApplication application(system.Get());
    application.SetTitle("Varnel");
    application.CreateForm<varnel::TForm1>();
    application.Run();
    benchmark::DoNotOptimize(application.MainForm());
  }
}
BENCHMARK(BM_StartUpToIdleLoop);

}  // namespace


