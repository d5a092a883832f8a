#pragma once
// Lets one process of the program run at a time. The first process takes a named mutex; a
// later one finds the name taken, says so, and ends, bringing the first one forward as it goes.

#include <memory>
#include <stdexcept>
#include <string>

#include "framework/Application.h"
#include "framework/Component.h"
#include "platform/Platform.h"

namespace varnel {

enum TDupInstAction { diActivateFirst, diException, diTerminate };

// A second guard in one process.
class EMultiSingleInstance : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A second process, when the guard is to say so by an error.
class EMultiAppInstance : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSingleInstance : public TComponent {
 public:
  TSingleInstance(TComponent* owner, std::string name, TApplication& application);
  ~TSingleInstance() override;

  TDupInstAction DupInstAction = diActivateFirst;
  std::string ErrorMessage = "すでに起動されています";
  std::string UniqueName;
  // Fired in a second process, before its action.
  TNotifyEvent OnDuplicate;

  // Whether this process took the name: it is the first.
  bool HoldsName() const { return mutex_ != nullptr; }
  // The first process's window this one brings forward as it ends: one the user can see;
  // none if the first process was not found or shows nothing.
  platform::Hwnd WindowToActivate() const { return windowToActivate_; }

 protected:
  // Runs the check once the owner's description has been read.
  void LoadFinished() override;

 private:
  void FindFirstInstance();

  TApplication& application_;
  std::unique_ptr<platform::KernelObject> mutex_;
  platform::Hwnd windowToActivate_{};
};

}  // namespace varnel
