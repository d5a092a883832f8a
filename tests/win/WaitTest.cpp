// The UI thread's sleep for messages against the real queue: it ends at its deadline when
// nothing comes, earlier when something does, runs what came, and uses no processor meanwhile.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/win32/Win32Platform.h"
#include "platform/win32/WindowsApi.h"

namespace varnel::win32 {
namespace {

// Processor time the calling thread has used, in milliseconds.
double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

TEST(WaitForMessages, EndsAtTheDeadlineOrWhenSomethingArrivesAndRunsIt) {
  struct Case {
    const char* what;
    std::function<void(platform::Ui&, int& ran)> arrange;
    unsigned timeoutMs;
    bool arrived;
    long minMs;  // the wait lasts at least this long
    long maxMs;  // and at most this long
  };
  std::thread poster;
  const Case cases[] = {
      {"nothing", [](platform::Ui&, int&) {}, 400, false, 380, 2500},
      // Already in the queue and seen by a PeekMessage that left it there: a wait for new
      // input alone would sleep through it.
      {"a message already seen",
       [](platform::Ui& ui, int& ran) {
         ui.PostTask([&ran] { ++ran; });
         MSG message;
         ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
       },
       5000, true, 0, 1000},
      {"a message posted by another thread",
       [&poster](platform::Ui& ui, int& ran) {
         poster = std::thread([&ui, &ran] {
           std::this_thread::sleep_for(std::chrono::milliseconds(150));
           ui.PostTask([&ran] { ++ran; });
         });
       },
       5000, true, 100, 2500},
      {"a timer",
       [](platform::Ui& ui, int& ran) { ui.SetTimer(150, [&ran] { ++ran; }); },
       5000, true, 100, 2500},
  };
  for (const Case& c : cases) {
    Win32Platform system;
    platform::Ui& ui = system.Get().ui;
    int ran = 0;
    c.arrange(ui, ran);
    const auto started = std::chrono::steady_clock::now();
    const bool arrived = ui.WaitForMessages(c.timeoutMs);
    const long elapsed = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now() - started)
                                               .count());
    if (poster.joinable()) poster.join();
    EXPECT_EQ(arrived, c.arrived) << c.what;
    EXPECT_GE(elapsed, c.minMs) << c.what;
    EXPECT_LE(elapsed, c.maxMs) << c.what;
    EXPECT_EQ(ran, c.arrived ? 1 : 0) << c.what;
  }
}

TEST(WaitForMessages, TheThreadIdlesWhileItWaits) {
  Win32Platform system;
  const double cpuBefore = ThreadCpuMs();
  const auto started = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - started < std::chrono::milliseconds(1000)) {
    system.Get().ui.WaitForMessages(100);
  }
  // A spinning wait burns the whole second; a sleeping one next to nothing.
  EXPECT_LT(ThreadCpuMs() - cpuBefore, 100.0);
}

}  // namespace
}  // namespace varnel::win32
