#include "startup/StartWithWindows.h"

#include "base/Ascii.h"
#include "base/Paths.h"

namespace varnel {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kProgramFileName = "varnel.exe";

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// "C:\" of "C:\Tools\varnel.exe", "\\server\share\" of a network path; empty for a path that
// names no drive or share.
std::string RootOf(std::string_view path) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() >= 3 && path[1] == ':' && separator(path[2])) {
    return std::string(path.substr(0, 3));
  }
  if (path.size() < 2 || !separator(path[0]) || !separator(path[1])) return {};
  const std::size_t share = path.find_first_of("\\/", 2);
  if (share == std::string_view::npos) return {};
  const std::size_t end = path.find_first_of("\\/", share + 1);
  if (end == std::string_view::npos) return {};
  return std::string(path.substr(0, end + 1));
}

}  // namespace

std::string_view ProgramOfCommand(std::string_view command) {
  const std::size_t begin = command.find_first_not_of(kBlanks);
  if (begin == std::string_view::npos) return {};
  command.remove_prefix(begin);
  if (command.front() == '"') {
    command.remove_prefix(1);
    return command.substr(0, command.find('"'));
  }
  return command.substr(0, command.find_last_not_of(kBlanks) + 1);
}

bool StartWithWindows::NamesSelf(std::string_view command) const {
  const std::string_view program = ProgramOfCommand(command);
  return !program.empty() && EqualNoCase(program, Self());
}

bool StartWithWindows::On() const {
  const std::optional<std::string> command = registry_.RegQueryValueEx(kRunKey, kRunValue);
  return command && NamesSelf(*command);
}

bool StartWithWindows::Set(bool on) {
  if (On() == on) return true;
  if (on) {
    const std::string self = Self();
    // A value of empty quotes would start nothing at all.
    if (self.empty()) return false;
    registry_.RegSetValueEx(kRunKey, kRunValue, Quoted(self));
  } else {
    registry_.RegDeleteValue(kRunKey, kRunValue);
  }
  // What the registry holds now, not what the call answered: the value may also have been
  // changed meanwhile by someone else.
  return On() == on;
}

void StartWithWindows::RepairMovedPath() {
  const std::optional<std::string> command = registry_.RegQueryValueEx(kRunKey, kRunValue);
  if (!command) return;
  const std::string self = Self();
  const std::string_view program = ProgramOfCommand(*command);
  if (self.empty() || program.empty() || EqualNoCase(program, self)) return;
  const std::string_view name = FileNamePart(program);
  if (!EqualNoCase(name, kProgramFileName) && !EqualNoCase(name, FileNamePart(self))) return;
  if (files_.GetFileAttributes(std::string(program)) != platform::InvalidFileAttributes) return;
  // A drive that is away (a removable disk, a share out of reach) may still hold the program
  // the user means to start: only a program missing from a drive that is there has moved.
  const std::string root = RootOf(program);
  if (root.empty() || !files_.FolderExists(root)) return;
  registry_.RegSetValueEx(kRunKey, kRunValue, Quoted(self));
}

}  // namespace varnel
