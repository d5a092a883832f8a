#pragma once
// The whole simulated system in one object a test builds fresh: nothing survives a test.

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/sim/SimCodepage.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimUi.h"

namespace varnel::sim {

class SimKernel : public platform::Kernel {
 public:
  explicit SimKernel(SimClock& clock) : clock_(clock) {}
  std::string GetModuleFileName() const override { return moduleFileName_; }
  std::uint32_t GetTickCount() const override { return clock_.Now(); }
  // A wait on the simulated clock: time passes, nothing else happens meanwhile.
  void Sleep(unsigned milliseconds) override { clock_.Advance(milliseconds); }

  void SetModuleFileName(std::string path) { moduleFileName_ = std::move(path); }

 private:
  SimClock& clock_;
  std::string moduleFileName_ = "C:\\Tools\\Varnel\\varnel.exe";
};

class SimShellDispatch : public platform::ShellDispatch {};

class SimShell : public platform::Shell {
 public:
  std::unique_ptr<platform::ShellDispatch> CreateShellApplication() override {
    ++created_;
    if (!available_) return nullptr;
    return std::make_unique<SimShellDispatch>();
  }
  void SetAvailable(bool available) { available_ = available; }
  int CreatedCount() const { return created_; }

 private:
  bool available_ = true;
  int created_ = 0;
};

class SimPlatform {
 public:
  SimPlatform();
  SimPlatform(const SimPlatform&) = delete;
  SimPlatform& operator=(const SimPlatform&) = delete;

  platform::Platform& Get() { return platform_; }

  SimClock clock;
  SimDesktop desktop;
  SimFileSystem files;
  SimCodepage codepage;
  SimKernel kernel{clock};
  SimShell shell;
  SimUi ui{desktop, clock};

 private:
  platform::Platform platform_;
};

}  // namespace varnel::sim
