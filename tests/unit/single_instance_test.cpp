// One process at a time: a second start ends before it has done anything, bringing the first
// forward as it goes.

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

class SingleInstanceTest : public EngineFixture {
 protected:
  platform::Hwnd firstApplication{};
  platform::Hwnd firstSettings{};

  // The first process: its hidden application window and the window it last had active.
  void FirstProcessRuns(const std::string& title = "varnel") {
    system.kernel.HoldMutexElsewhere("Ident2056", true);
    const std::uint32_t process = system.desktop.AddProcess("varnel.exe");
    sim::SimWindow settings;
    settings.className = "TForm1";
    settings.text = "Varnel（設定）";
    settings.processId = process;
    settings.visible = true;
    settings.rect = platform::Rect::FromSize(1600, 660, 273, 372);  // open, on screen
    firstSettings = system.desktop.AddWindow(settings);
    sim::SimWindow application;
    application.className = "TAPPLICATION";
    application.text = title;
    application.processId = process;
    application.lastActivePopup = firstSettings;
    firstApplication = system.desktop.AddWindow(application);
  }
  bool Activated(platform::Hwnd window) const {
    const std::string call = "SetForegroundWindow(" + sim::HandleText(window) + ")";
    const auto& calls = system.desktop.Calls();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  }
};

TEST_F(SingleInstanceTest, TheFirstProcessHoldsTheNameUntilItEnds) {
  Start();
  EXPECT_TRUE(form->SingleInstance1->HoldsName());
  EXPECT_EQ(system.kernel.MutexHolders("Ident2056"), 1);
  application.reset();
  EXPECT_EQ(system.kernel.MutexHolders("Ident2056"), 0);
  // Started again after the first has gone, it runs normally.
  Start();
  EXPECT_TRUE(form->SingleInstance1->HoldsName());
  EXPECT_FALSE(application->Terminated());
}

TEST_F(SingleInstanceTest, ASecondStartEndsUnseenAndBringsTheFirstForward) {
  FirstProcessRuns();
  Start();
  EXPECT_TRUE(application->Terminated());
  EXPECT_FALSE(form->SingleInstance1->HoldsName());
  EXPECT_EQ(system.kernel.MutexHolders("Ident2056"), 0);
  // Nothing of a start: no Explorer, no tray icon, no settings read.
  EXPECT_TRUE(system.shell.Calls().empty());
  EXPECT_TRUE(system.shell.Tray().empty());
  EXPECT_EQ(form->SingleInstance1->WindowToActivate(), firstSettings);
  EXPECT_FALSE(Activated(firstSettings));
  application.reset();
  EXPECT_TRUE(Activated(firstSettings));
}

TEST_F(SingleInstanceTest, AFirstInstanceUnderAnotherTitleIsNotFoundButTheSecondStillEnds) {
  FirstProcessRuns("Something else");
  Start();
  EXPECT_TRUE(application->Terminated());
  EXPECT_EQ(form->SingleInstance1->WindowToActivate(), platform::kNoWindow);
  application.reset();
  EXPECT_TRUE(std::none_of(system.desktop.Calls().begin(), system.desktop.Calls().end(),
                           [](const std::string& call) {
                             return call.rfind("SetForegroundWindow", 0) == 0;
                           }));
}

// The guard on its own, owned by the application, with the other two actions.
class GuardActionTest : public ::testing::Test {
 protected:
  sim::SimPlatform system;
  TApplication application{system.Get()};
  int duplicates = 0;

  void Load(TDupInstAction action) {
    application.LoadFromDescription([&] {
      auto& guard = TComponent::Create<TSingleInstance>(application, "Guard", application);
      guard.UniqueName = "Name";
      guard.DupInstAction = action;
      guard.OnDuplicate = [&](TComponent&) { ++duplicates; };
    });
  }
};

TEST_F(GuardActionTest, TerminateEndsQuietlyAndExceptionCarriesTheMessage) {
  system.kernel.HoldMutexElsewhere("Name", true);
  Load(diTerminate);
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(duplicates, 1);
  application.DestroyComponent(*application.FindComponent("Guard"));

  try {
    Load(diException);
    FAIL() << "no exception";
  } catch (const EMultiAppInstance& error) {
    EXPECT_STREQ(error.what(), "すでに起動されています");
  }
  EXPECT_EQ(duplicates, 2);
}

TEST_F(GuardActionTest, OnlyOneGuardPerProcess) {
  auto& first = TComponent::Create<TSingleInstance>(application, "One", application);
  EXPECT_THROW(TComponent::Create<TSingleInstance>(application, "Two", application),
               EMultiSingleInstance);
  application.DestroyComponent(first);
  EXPECT_NO_THROW(TComponent::Create<TSingleInstance>(application, "Three", application));
}

}  // namespace
}  // namespace varnel::testing
