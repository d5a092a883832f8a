#include "framework/Timer.h"

#include "framework/Application.h"

namespace varnel {

TTimer::TTimer(TComponent* owner, std::string name, platform::Ui& ui, unsigned interval)
    : TComponent(owner, std::move(name)), ui_(ui), interval_(interval) {
  Update();
}

TTimer::~TTimer() {
  if (id_ != 0) ui_.KillTimer(id_);
}

void TTimer::SetInterval(unsigned interval) {
  interval_ = interval;
  Update();
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void TTimer::LoadFinished() { Update(); }

void TTimer::Update() {
  if (id_ != 0) {
    ui_.KillTimer(id_);
    id_ = 0;
  }
  // While the description is read or in design mode a timer only holds its values.
  if (enabled_ && interval_ > 0 && !Loading() && !DesignMode()) {
    id_ = ui_.SetTimer(interval_, [this] { Tick(); });
  }
}

void TTimer::Tick() {
  if (!OnTimer) return;
  if (TApplication* application = FindApplication(*this)) {
    application->Guarded([this] { OnTimer(*this); });
  } else {
    OnTimer(*this);
  }
}

}  // namespace varnel
