#pragma once
// The component model the program is written against: a component has an owner that destroys
// it, is filled from a description while "loading", and hears about the destruction of the
// components it refers to.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace varnel {

class TComponent;

// Every event is a notification whose first argument is the component that fires it.
using TNotifyEvent = std::function<void(TComponent& sender)>;

class TComponent {
 public:
  explicit TComponent(TComponent* owner, std::string name = {});
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent& Component(int index) const { return *components_.at(index); }
  TComponent* FindComponent(const std::string& name) const;

  // Creates a component owned by `owner`; the owner destroys it, latest first.
  template <class T, class... Args>
  static T& Create(TComponent& owner, Args&&... args) {
    auto component = std::make_unique<T>(&owner, std::forward<Args>(args)...);
    T& result = *component;
    owner.components_.push_back(std::move(component));
    return result;
  }

  // In design mode components only store their values: timers do not run, windows act not.
  bool DesignMode() const { return designMode_; }
  void SetDesignMode(bool designMode);

  // The description is being read: property setters store, events stay quiet.
  bool Loading() const { return loading_; }
  // Runs ReadStarting on this component and everything it owns, then `read`, then
  // LoadFinished on all of them: the order a form description is loaded in.
  void LoadFromDescription(const std::function<void()>& read);

  // Destroys one of the components this one owns now.
  void DestroyComponent(TComponent& component);

  // Asks that `other` hear ReferenceRemoved(*this) when this component is destroyed, even if
  // the two have different owners.
  void FreeNotification(TComponent& other);

 protected:
  virtual void ReadStarting() {}
  virtual void LoadFinished() {}
  // `component` is being destroyed: drop every reference to it.
  virtual void ReferenceRemoved(TComponent& /*component*/) {}
  // Destroys the owned components now, newest first. A derived class whose own members must
  // outlive its components (a window they are children of) calls it from its destructor.
  void DestroyComponents();

 private:
  void BeginLoading();
  void EndLoading();
  void NotifyRemoval(TComponent& dying);
  void Forget(TComponent& other);

  TComponent* owner_;
  std::string name_;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::vector<TComponent*> notified_;  // both directions of FreeNotification
  bool designMode_ = false;
  bool loading_ = false;
};

}  // namespace varnel
