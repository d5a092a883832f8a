#include "app/components/SysCtrls.h"

#include <random>

#include "base/Paths.h"

namespace varnel {

namespace {

// The guards alive in this process; a second one is refused.
int componentCount = 0;

// Whether the user sees the window: shown, not minimised, more than a point, and partly on a
// monitor. The first instance's windows are mostly shown yet out of sight (its settings window
// shrunk beyond the screen while closed, its application window of no size); bringing one of
// those forward would take the keyboard from the user's window and give it to nothing.
bool OnScreen(const platform::WindowManager& windows, platform::Hwnd window) {
  if (!windows.IsWindowVisible(window) || windows.IsIconic(window)) return false;
  const platform::Rect r = windows.GetWindowRect(window);
  if (r.Width() <= 1 || r.Height() <= 1) return false;
  for (const platform::Monitor& monitor : windows.GetMonitors()) {
    const platform::Rect& m = monitor.rect;
    if (r.Left < m.Right && m.Left < r.Right && r.Top < m.Bottom && m.Top < r.Bottom) return true;
  }
  return false;
}

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
    const platform::Hwnd lastActive = windows.GetLastActivePopup(window);
    if (OnScreen(windows, lastActive)) {
      windowToActivate_ = lastActive;
      return;
    }
    // Its settings window may be open without being the last one active (a message box that
    // has closed since was).
    for (const platform::Hwnd owned : windows.EnumWindows()) {
      if (windows.GetWindow(owned, platform::GwOwner) == window && OnScreen(windows, owned)) {
        windowToActivate_ = owned;
        return;
      }
    }
    return;
  }
}

}  // namespace varnel
