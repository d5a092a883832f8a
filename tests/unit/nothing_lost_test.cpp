// A watched file is taken (moved to D:, or opened in mode 1) only once it is finished, whole, in
// one place, with no copy left, never by a step inside another; a.pdf is in the row's situation.

#include <functional>
#include <tuple>

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

class NothingLost;
using Names = std::vector<std::string>;
using Situation = std::tuple<int, std::function<void(NothingLost&)>, Names, Names>;
using Fail = sim::SimFileSystem::CrossDriveStep;
const std::string kFileA = "C:\\In\\a.pdf", kViewer = "C:\\Apps\\viewer.exe";
const Names kNone, kA{"a.pdf"}, kB{"b.pdf"}, kAB{"a.pdf", "b.pdf"};
constexpr sim::SimFileSystem::Holder kWriter{platform::GenericWrite, 7};
constexpr sim::SimFileSystem::Holder kReader{platform::GenericRead, 7};

class NothingLost : public EngineFixture, public ::testing::WithParamInterface<Situation> {
 public:
  sim::SimFileSystem& files = system.files;
  Names Taken() const {
    Names taken;
    for (const auto& call : system.shell.Calls()) {
      if (call.file == kViewer) taken.push_back(call.parameters.substr(7, 5));
    }
    for (const std::string name : {"a.pdf", "b.pdf"}) {
      const std::string in = "C:\\In\\" + name, out = "D:\\Out\\" + name;
      if (files.Exists(out)) taken.push_back(name);
      EXPECT_NE(files.Exists(in), files.Exists(out)) << name;
      EXPECT_EQ(files.Contents(files.Exists(in) ? in : out), name) << name;
    }
    EXPECT_TRUE(files.FindFiles("D:\\Out\\vnl*").empty());
    return taken;
  }
  // A start waits (on a prompt) while ticks go on: c.pdf arrives and the cooldown ends meanwhile.
  void TicksWhileStarting() {
    system.shell.whileExecuting = [this] {
      system.shell.whileExecuting = nullptr;
      files.WriteFile("C:\\In\\c.pdf", "c.pdf");
      TickAt(960, 540, 400);
    };
  }
};

TEST_P(NothingLost, AFileIsTakenWholeOnceItIsFinished) {
  const auto& [mode, arrange, taken, takenAfterEnd] = GetParam();
  for (const char* folder : {"C:\\In", "D:\\Out"}) files.CreateFolder(folder);
  files.WriteFile(kViewer, "MZ");
  Start("[Watch]\r\nEnb=1\r\nMode=" + std::to_string(mode) +
        "\r\nSRCPath=C:\\In\\\r\nTrgPath=D:\\Out\\\r\nAppPath=" + kViewer + "\r\nExt0=pdf\r\n");
  files.WriteFile(kFileA, "a.pdf");
  files.WriteFile("C:\\In\\b.pdf", "b.pdf");
  arrange(*this);
  TickAt(960, 540, 50);
  EXPECT_EQ(Taken(), taken);
  if (files.Exists(kFileA)) files.SetHeldOpen(kFileA, false);
  for (const char* e : {".part", ".crdownload", ".download", ".partial"}) files.Remove(kFileA + e);
  TickAt(960, 540, 7 * 50);  // the open mode's cooldown included
  EXPECT_EQ(Taken(), takenAfterEnd);
}

const Situation kSituations[] = {
    {0, [](auto& t) { t.files.SetHeldOpen(kFileA, true, kWriter); }, kB, kAB},
    {0, [](auto& t) { t.files.SetHeldOpen(kFileA, true, kReader); }, kAB, kAB},
    {0, [](auto& t) { t.files.WriteFile(kFileA + ".part", ""); }, kB, kAB},
    {0, [](auto& t) { t.files.WriteFile(kFileA + ".crdownload", ""); }, kB, kAB},
    {0, [](auto& t) { t.files.WriteFile(kFileA + ".download", ""); }, kB, kAB},
    {0, [](auto& t) { t.files.WriteFile(kFileA + ".partial", ""); }, kB, kAB},
    {0, [](auto& t) { t.files.FailNextCrossDriveMove(Fail::CreateCopy); }, kB, kAB},
    {0, [](auto& t) { t.files.FailNextCrossDriveMove(Fail::WriteCopy); }, kB, kAB},
    {0, [](auto& t) { t.files.FailNextCrossDriveMove(Fail::ShortCopy); }, kB, kAB},
    {0, [](auto& t) { t.files.FailNextCrossDriveMove(Fail::RenameCopy); }, kB, kAB},
    {0, [](auto& t) { t.files.FailNextCrossDriveMove(Fail::DeleteSource); }, kB, kAB},
    {0, [](auto& t) { t.files.SetAttributes(kFileA, platform::FileAttributeReadOnly); }, kB, kB},
    {1, [](auto& t) { t.files.SetHeldOpen(kFileA, true, kWriter); }, kNone, kA},
    {1, [](auto& t) { t.files.SetHeldOpen(kFileA, true, kReader); }, kA, kA},
    {1, [](auto& t) { t.files.WriteFile(kFileA + ".part", ""); }, kNone, kA},
    {1, [](auto& t) { t.files.SetAccessDenied(kFileA, true); }, kB, kB},
    {1, [](auto& t) { t.files.SetDeletePending(kFileA); }, kB, kB},
    {1, &NothingLost::TicksWhileStarting, kA, {"a.pdf", "c.pdf"}},
};
INSTANTIATE_TEST_SUITE_P(Situations, NothingLost, ::testing::ValuesIn(kSituations));

}  // namespace
}  // namespace varnel::testing
