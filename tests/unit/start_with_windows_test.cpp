// Starting with Windows: the box shows the user's Run value as the registry holds it when the
// settings window opens; a start points a value left behind by a moved folder at the program,
// and creates none; a click changes the value, or says why it could not.

#include "startup/StartWithWindows.h"
#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "framework/Application.h"
#include "platform/sim/SimPlatform.h"

namespace varnel {
namespace {

using Value = std::optional<std::string>;
const Value kNone;
const Value kOurs = "\"C:\\Tools\\Varnel\\varnel.exe\"";

enum class Then { Nothing, Click, SetOff };

struct Row {
  const char* name;
  Value stored;
  const char* existing;  // a file that exists, or none
  Value meanwhile;       // written after the start, before the window opens
  bool refuse;
  Value afterStart;
  bool shown;
  Then then;
  Value after;
};

TEST(StartWithWindows, TheBoxFollowsTheRunValueAndAStartMendsAMovedFolder) {
  const Value other = "\"D:\\Other\\varnel.exe\" /min";
  const Value stick = "\"E:\\Stick\\varnel.exe\"";
  const Row rows[] = {
      {"absent", kNone, nullptr, kNone, false, kNone, false, Then::Click, kOurs},
      {"ours, ticked off", kOurs, nullptr, kNone, false, kOurs, true, Then::Click, kNone},
      {"ours unquoted", "c:\\tools\\VARNEL\\Varnel.EXE ", nullptr, kNone, false,
       "c:\\tools\\VARNEL\\Varnel.EXE ", true, Then::Nothing, "c:\\tools\\VARNEL\\Varnel.EXE "},
      {"moved", "\"D:\\Old\\varnel.exe\"", "D:\\Old\\readme.txt", kNone, false, kOurs, true,
       Then::Nothing, kOurs},
      {"moved, unquoted", "D:\\Old Place\\VARNEL.exe", "D:\\x.txt", kNone, false, kOurs, true,
       Then::Nothing, kOurs},
      {"drive away", stick, nullptr, kNone, false, stick, false, Then::Nothing, stick},
      {"someone else's", other, "D:\\Other\\varnel.exe", kNone, false, other, false, Then::SetOff,
       other},
      {"someone else's, ticked", other, "D:\\Other\\varnel.exe", kNone, false, other, false,
       Then::Click, kOurs},
      {"another program gone", "D:\\Old\\tool.exe", "D:\\x.txt", kNone, false, "D:\\Old\\tool.exe",
       false, Then::Nothing, "D:\\Old\\tool.exe"},
      {"changed while closed", kNone, nullptr, kOurs, false, kNone, true, Then::Nothing, kOurs},
      {"refused tick", kNone, nullptr, kNone, true, kNone, false, Then::Click, kNone},
      {"refused untick", kOurs, nullptr, kNone, true, kOurs, true, Then::Click, kOurs},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    sim::SimPlatform system;
    platform::Registry& registry = system.registry;
    StartWithWindows startup(registry, system.kernel, system.files);
    if (row.stored) registry.RegSetValueEx(kRunKey, kRunValue, *row.stored);
    if (row.existing) system.files.WriteFile(row.existing, "");
    TApplication application(system.Get());
    TForm1& form = application.CreateForm<TForm1>();
    EXPECT_EQ(registry.RegQueryValueEx(kRunKey, kRunValue), row.afterStart);
    if (row.meanwhile) registry.RegSetValueEx(kRunKey, kRunValue, *row.meanwhile);
    system.registry.RefuseChanges(row.refuse);
    form.mnuSettingClick(form);
    EXPECT_EQ(form.CheckBoxStartup->Checked(), row.shown);
    if (row.then == Then::Click) system.ui.Peer(form.CheckBoxStartup->Handle())->UserClick();
    if (row.then == Then::SetOff) {
      EXPECT_TRUE(startup.Set(false));
    }
    EXPECT_EQ(registry.RegQueryValueEx(kRunKey, kRunValue), row.after);
    EXPECT_EQ(form.CheckBoxStartup->Checked(), startup.On());
    EXPECT_EQ(system.ui.MessageBoxes().size(), row.refuse ? 1u : 0u);
  }
}

}  // namespace
}  // namespace varnel
