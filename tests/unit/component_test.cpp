// The component model: ownership, destruction order, reference removal, loading.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Timer.h"
#include "platform/sim/SimPlatform.h"

namespace varnel {
namespace {

// Records what happens to it into a journal shared by a test.
class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::string name, std::vector<std::string>& journal)
      : TComponent(owner, std::move(name)), journal_(journal) {}
  ~Probe() override { journal_.push_back("destroy " + Name()); }
  TComponent* reference = nullptr;

 protected:
  void ReadStarting() override { journal_.push_back("starting " + Name()); }
  void LoadFinished() override { journal_.push_back("finished " + Name()); }
  void ReferenceRemoved(TComponent& component) override {
    journal_.push_back(Name() + " forgets " + component.Name());
    if (&component == reference) reference = nullptr;
  }

 private:
  std::vector<std::string>& journal_;
};

class Owner : public TComponent {
 public:
  using TComponent::TComponent;
  using TComponent::DestroyComponents;
};

TEST(ComponentTest, OwnerDestroysItsComponentsNewestFirstAndTellsTheOthers) {
  std::vector<std::string> journal;
  {
    TComponent owner(nullptr, "Owner");
    auto& first = TComponent::Create<Probe>(owner, "First", journal);
    auto& second = TComponent::Create<Probe>(owner, "Second", journal);
    first.reference = &second;
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.FindComponent("Second"), &second);
  }
  const std::vector<std::string> expected{"destroy Second", "First forgets Second",
                                          "destroy First"};
  EXPECT_EQ(journal, expected);
}

TEST(ComponentTest, FreeNotificationReachesComponentsOfAnotherOwner) {
  std::vector<std::string> journal;
  TComponent ownerA(nullptr, "A");
  auto& watcher = TComponent::Create<Probe>(ownerA, "Watcher", journal);
  {
    TComponent ownerB(nullptr, "B");
    auto& watched = TComponent::Create<Probe>(ownerB, "Watched", journal);
    watcher.reference = &watched;
    watched.FreeNotification(watcher);
  }
  EXPECT_EQ(watcher.reference, nullptr);
}

TEST(ComponentTest, FreeNotificationIsDroppedWhenTheListenerGoesFirst) {
  std::vector<std::string> journal;
  Owner ownerB(nullptr, "B");
  auto& watched = TComponent::Create<Probe>(ownerB, "Watched", journal);
  {
    TComponent ownerA(nullptr, "A");
    auto& watcher = TComponent::Create<Probe>(ownerA, "Watcher", journal);
    watched.FreeNotification(watcher);
  }
  // Destroying the watched one now must not call the destroyed watcher.
  journal.clear();
  ownerB.DestroyComponents();
  EXPECT_EQ(journal, std::vector<std::string>{"destroy Watched"});
}

TEST(ComponentTest, LoadingRunsTheHooksAroundTheReadAndMarksNewComponents) {
  std::vector<std::string> journal;
  TComponent owner(nullptr, "Owner");
  auto& existing = TComponent::Create<Probe>(owner, "Existing", journal);
  bool createdWhileLoading = false;
  owner.LoadFromDescription([&] {
    auto& made = TComponent::Create<Probe>(owner, "Made", journal);
    createdWhileLoading = made.Loading() && existing.Loading() && owner.Loading();
  });
  EXPECT_TRUE(createdWhileLoading);
  EXPECT_FALSE(existing.Loading());
  EXPECT_EQ(journal, (std::vector<std::string>{"starting Existing", "finished Existing",
                                               "finished Made"}));
}

TEST(TimerTest, RunsOnTheClockOnlyOutsideLoadingAndDesignMode) {
  sim::SimPlatform system;
  TComponent owner(nullptr, "Owner");
  int ticks = 0;
  TTimer* timer = nullptr;
  owner.LoadFromDescription([&] {
    timer = &TComponent::Create<TTimer>(owner, "Timer1", system.ui, 100);
    timer->OnTimer = [&](TComponent&) { ++ticks; };
    system.ui.AdvanceClock(500);  // still loading: a description does not tick
  });
  EXPECT_EQ(ticks, 0);
  system.ui.AdvanceClock(1000);
  EXPECT_EQ(ticks, 10);

  timer->SetEnabled(false);
  system.ui.AdvanceClock(1000);
  EXPECT_EQ(ticks, 10);

  owner.SetDesignMode(true);
  timer->SetEnabled(true);
  system.ui.AdvanceClock(1000);
  EXPECT_EQ(ticks, 10);
}

}  // namespace
}  // namespace varnel
