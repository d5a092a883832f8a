#pragma once

#include "framework/Component.h"
#include "platform/Ui.h"

namespace varnel {

// Fires OnTimer every Interval milliseconds from the message loop while Enabled.
class TTimer : public TComponent {
 public:
  TTimer(TComponent* owner, std::string name, platform::Ui& ui, unsigned interval = 1000);
  ~TTimer() override;

  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned interval);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  TNotifyEvent OnTimer;

 protected:
  void LoadFinished() override;

 private:
  void Update();
  void Tick();
  platform::Ui& ui_;
  unsigned interval_;
  bool enabled_ = true;
  platform::TimerId id_ = 0;
};

}  // namespace varnel
