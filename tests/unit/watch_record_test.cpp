// The watch's record: each move, open and first skip as one line of the newest mebibyte.

#include <functional>

#include "tests/unit/EngineFixture.h"

namespace varnel::testing {
namespace {

const std::string kRecord = "C:\\Tools\\Varnel\\varnel_watch.log", kTaken = "移動先に同名のファイルがあります";
const std::string kIn = "C:\\In\\", kViewer = kIn + "viewer.exe", kBom = "\xEF\xBB\xBF";

std::string Line(const std::string& what, const std::string& name, const std::string& why = "",
                 const std::string& to = "") {
  return "2026-12-09 19:21:05\t" + what + "\t" + kIn + name + "\t" +
         (to.empty() ? "C:\\Out\\" + name : to) + "\t" + why;
}

using WatchRecordTest = EngineFixture;

TEST_F(WatchRecordTest, EachMoveOpenAndFirstSkipIsOneLineOfTheNewestMebibyte) {
  sim::SimFileSystem& files = system.files;
  files.WriteFile(kViewer, "MZ");
  files.CreateFolder("C:\\Out");
  system.kernel.SetLocalTime({2026, 12, 9, 3, 19, 21, 5});
  Start("[Watch]\r\nEnb=1\r\nSRCPath=C:\\In\\\r\nTrgPath=C:\\Out\\\r\nAppPath=" + kViewer +
        "\r\nExt0=jpg");
  std::vector<std::string> history, waiting;  // every line logged; those not written yet
  const struct {
    const char* what; std::vector<std::string> arrive; std::function<void()> also;
    std::vector<std::string> lines; bool writable = true;
  } rows[] = {
      {"moves, in UTF-8", {"a.jpg", "報告書.jpg"}, {},
       {Line("移動", "a.jpg"), Line("移動", "報告書.jpg")}},
      {"each reason a file stays", {"busy.jpg", "dl.jpg", "dl.jpg.part", "locked.jpg", "taken.jpg"},
       [&] { files.SetHeldOpen(kIn + "busy.jpg", true); files.WriteFile("C:\\Out\\taken.jpg", "");
             files.SetAccessDenied(kIn + "locked.jpg", true); },
       {Line("保留", "busy.jpg", "書き込み中"), Line("保留", "dl.jpg", "書き込み中"),
        Line("保留", "locked.jpg", "移動できません"), Line("保留", "taken.jpg", kTaken)}},
      {"the file moves", {}, [&] { files.SetHeldOpen(kIn + "busy.jpg", false); },
       {Line("移動", "busy.jpg")}},
      {"a later skip of it is new", {"busy.jpg"}, {}, {Line("保留", "busy.jpg", kTaken)}},
      {"a file goes away", {}, [&] { files.Remove(kIn + "taken.jpg"); }, {}},
      {"and comes back", {"taken.jpg"}, {}, {Line("保留", "taken.jpg", kTaken)}},
      {"a read-only record", {"c.jpg"},
       [&] { files.SetAttributes(kRecord, platform::FileAttributeReadOnly); },
       {Line("移動", "c.jpg")}, false},
      {"takes its lines with the next", {"d.jpg"}, [&] { files.SetAttributes(kRecord, 0); },
       {Line("移動", "d.jpg")}},
      {"the oldest lines drop off whole", {"g.jpg"},
       [&] { history.assign(10000, std::string(104, 'o')); std::string old = kBom;
             for (const std::string& line : history) old += line + "\r\n";
             files.WriteFile(kRecord, old); },
       {Line("移動", "g.jpg")}},
      {"an open", {},
       [&] { form->Settings.Watch.Mode = 1; form->BuildWatchMask();
             files.WriteFile(kIn + "e.jpg", ""); },
       {Line("開く", "e.jpg", "", kViewer)}},
  };
  for (const auto& row : rows) {
    for (const std::string& name : row.arrive) files.WriteFile(kIn + name, name);
    if (row.also) row.also();
    TickAt(960, 540, 50 - form->Engine.WatchTickCount);
    waiting.insert(waiting.end(), row.lines.begin(), row.lines.end());
    if (row.writable) history.insert(history.end(), waiting.begin(), waiting.end()), waiting = {};
    const std::string record = files.Contents(kRecord).value_or("");
    std::vector<std::string> lines;
    for (std::size_t at = 3, e; (e = record.find("\r\n", at)) != std::string::npos; at = e + 2)
      lines.push_back(record.substr(at, e - at));
    ASSERT_LE(lines.size(), history.size()) << row.what;
    EXPECT_EQ(lines, std::vector(history.end() - lines.size(), history.end())) << row.what;
    const std::size_t most = WatchRecord::kMostBytes, kept = lines.size();
    EXPECT_LE(record.size(), most) << row.what;
    EXPECT_TRUE(kept == history.size() || record.size() + history.rbegin()[kept].size() + 2 > most);
  }
  system.shell.nextExecuteAnswer = platform::SeErrNoAssoc;
  form->mnuWatchRecord->Click();
  const auto& calls = system.shell.Calls();
  EXPECT_EQ(calls[calls.size() - 2].verb + " " + calls[calls.size() - 2].file, "open " + kRecord);
  EXPECT_EQ(calls.back().file + " " + calls.back().parameters, "notepad.exe \"" + kRecord + "\"");
}

}  // namespace
}  // namespace varnel::testing
