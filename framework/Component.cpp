#include "framework/Component.h"

#include <algorithm>

namespace varnel {

TComponent::TComponent(TComponent* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {
  if (owner_ != nullptr) {
    designMode_ = owner_->designMode_;
    // A component made while its owner's description is read is part of that reading.
    loading_ = owner_->loading_;
  }
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_ != nullptr) owner_->NotifyRemoval(*this);
  for (TComponent* other : std::vector<TComponent*>(notified_)) {
    other->Forget(*this);
    other->ReferenceRemoved(*this);
  }
}

void TComponent::DestroyComponents() {
  // Newest first, so that each may still use the older ones while it goes.
  while (!components_.empty()) {
    std::unique_ptr<TComponent> last = std::move(components_.back());
    components_.pop_back();
    last.reset();
  }
}

void TComponent::DestroyComponent(TComponent& component) {
  const auto found = std::find_if(components_.begin(), components_.end(),
                                  [&](const auto& owned) { return owned.get() == &component; });
  if (found == components_.end()) return;
  std::unique_ptr<TComponent> doomed = std::move(*found);
  components_.erase(found);
  doomed.reset();
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (const auto& component : components_) {
    if (component->name_ == name) return component.get();
  }
  return nullptr;
}

void TComponent::SetDesignMode(bool designMode) {
  designMode_ = designMode;
  for (const auto& component : components_) component->SetDesignMode(designMode);
}

void TComponent::LoadFromDescription(const std::function<void()>& read) {
  BeginLoading();
  read();
  EndLoading();
}

void TComponent::BeginLoading() {
  loading_ = true;
  ReadStarting();
  for (const auto& component : components_) component->BeginLoading();
}

void TComponent::EndLoading() {
  // Components created while reading have not had ReadStarting; they are loading all the same.
  for (const auto& component : components_) component->EndLoading();
  loading_ = false;
  LoadFinished();
}

void TComponent::FreeNotification(TComponent& other) {
  if (&other == this) return;
  if (std::find(notified_.begin(), notified_.end(), &other) == notified_.end()) {
    notified_.push_back(&other);
  }
  if (std::find(other.notified_.begin(), other.notified_.end(), this) == other.notified_.end()) {
    other.notified_.push_back(this);
  }
}

void TComponent::NotifyRemoval(TComponent& dying) {
  // The owner tells every other component it owns, and itself, that one of them is going.
  for (const auto& component : components_) {
    if (component.get() != &dying) component->ReferenceRemoved(dying);
  }
  ReferenceRemoved(dying);
}

void TComponent::Forget(TComponent& other) {
  notified_.erase(std::remove(notified_.begin(), notified_.end(), &other), notified_.end());
}

}  // namespace varnel
