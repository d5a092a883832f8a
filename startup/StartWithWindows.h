#pragma once
// Starting with Windows: the value "Varnel" of the current user's Run key names the program to
// start at logon. Its state lives in the registry alone, where the user (or another tool) may
// change it at any time, so it is read each time it is asked for and never kept.

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace varnel {

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "Varnel";

// The program a Run value starts: the path between the quotes of a quoted command line (what
// follows is its arguments), else the whole value less the blanks around it.
std::string_view ProgramOfCommand(std::string_view command);

class StartWithWindows {
 public:
  StartWithWindows(platform::Registry& registry, const platform::Kernel& kernel,
                   const platform::FileSystem& files)
      : registry_(registry), kernel_(kernel), files_(files) {}

  // Whether the Run value names this executable, whatever the case and the quotes.
  bool On() const;
  // Registers this executable, quoted, in place of whatever the value held; or removes the
  // value when it names this executable (a value naming another program is not ours to
  // remove). Whether the registry now says what was asked.
  bool Set(bool on);
  // The user moved the program's folder: a value naming a varnel.exe that is gone is pointed
  // at this executable. Nothing else is written; in particular no value is created.
  void RepairMovedPath();

 private:
  std::string Self() const { return kernel_.GetModuleFileName(); }
  bool NamesSelf(std::string_view command) const;

  platform::Registry& registry_;
  const platform::Kernel& kernel_;
  const platform::FileSystem& files_;
};

}  // namespace varnel
