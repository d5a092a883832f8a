#include "app/components/SysCtrls.h"

#include <random>

#include "base/Paths.h"

namespace varnel {

namespace {

// The guards alive in this process; a second one is refused.
int componentCount = 0;

}  // namespace

TSingleInstance::TSingleInstance(TComponent* owner, std::string name, TApplication& application)
    : TComponent(owner, std::move(name)), application_(application) {
  if (++componentCount > 1) {
    --componentCount;
    throw EMultiSingleInstance("Only single component allowed");
  }
  if (DesignMode()) {
    // Each new design gets a name of its own.
    std::random_device seed;
    UniqueName = "Ident" + std::to_string(std::uniform_int_distribution<int>(0, 9999)(seed));
  }
}

TSingleInstance::~TSingleInstance() {
  --componentCount;
  // The process is ending: the first instance comes to the front as this one goes.
  if (windowToActivate_ != platform::kNoWindow) {
    application_.Platform().windows.SetForegroundWindow(windowToActivate_);
  }
}

void TSingleInstance::LoadFinished() {
  if (DesignMode()) return;
  // One call both takes the name and tells whether it was taken: of two processes starting in
  // the same instant, exactly one is first. Opening first and creating after would let both
  // find no mutex and both create it.
  platform::CreatedMutex created = application_.Platform().kernel.CreateMutex(UniqueName);
  if (!created.alreadyExisted) {
    mutex_ = std::move(created.handle);
    return;
  }
  created.handle.reset();
  if (OnDuplicate) OnDuplicate(*this);
  switch (DupInstAction) {
    case diActivateFirst:
      FindFirstInstance();
      application_.Terminate();
      break;
    case diException:
      throw EMultiAppInstance(ErrorMessage);
    case diTerminate:
      application_.Terminate();
      break;
  }
}

// The first process is known by its application window: class "TApplication", titled with
// the executable's name.
void TSingleInstance::FindFirstInstance() {
  platform::Platform& system = application_.Platform();
  const std::string exeName(WithoutExtension(FileNamePart(system.kernel.GetModuleFileName())));
  platform::WindowManager& windows = system.windows;
  for (const platform::Hwnd window : windows.EnumWindows()) {
    if (system.kernel.CompareText(windows.GetClassName(window), "TApplication") != 0) continue;
    if (window == application_.Handle()) continue;
    if (system.kernel.CompareText(windows.GetWindowText(window), exeName) != 0) continue;
    windowToActivate_ = windows.GetLastActivePopup(window);
    return;
  }
}

}  // namespace varnel
