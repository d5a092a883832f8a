#include "platform/sim/SimPlatform.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace varnel::sim {

std::optional<std::vector<platform::ProcessEntry>> SimKernel::CreateProcessSnapshot() const {
  if (!snapshotAvailable_) return std::nullopt;
  std::vector<platform::ProcessEntry> entries;
  for (const auto& [id, exeFile] : desktop_.Processes()) entries.push_back({id, exeFile});
  return entries;
}

std::optional<std::string> SimKernel::QueryFullProcessImageName(std::uint32_t processId) const {
  if (processId == kOwnProcessId) return moduleFileName_;
  const auto process = desktop_.Processes().find(processId);
  if (process == desktop_.Processes().end()) return std::nullopt;
  return process->second;
}

std::string SimKernel::GetDayName(int dayOfWeek) const {
  static const char* const kNames[] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                       "木曜日", "金曜日", "土曜日"};
  return dayOfWeek >= 0 && dayOfWeek < 7 ? kNames[dayOfWeek] : "";
}

int SimKernel::CompareText(const std::string& a, const std::string& b) const {
  const auto lower = [](unsigned char c) { return std::tolower(c); };
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int difference = lower(static_cast<unsigned char>(a[i])) -
                           lower(static_cast<unsigned char>(b[i]));
    if (difference != 0) return difference;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

std::string ImageName(const platform::ImageRef& image) {
  const auto* simImage = dynamic_cast<const SimImage*>(image.get());
  return simImage == nullptr ? std::string() : simImage->Name();
}

platform::ImageRef SimShell::GetFileIcon(const std::string& path) {
  ++fileIconRequests_;
  const auto slash = path.find_last_of("\\:");
  const auto dot = path.rfind('.');
  std::string type = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                         ? std::string()
                         : path.substr(dot + 1);
  std::transform(type.begin(), type.end(), type.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::make_shared<SimImage>("type:" + type);
}

bool SimShell::ShellNotifyIcon(unsigned action, const platform::NotifyIconData& data) {
  notifyCalls_.push_back({action, data});
  if (!taskbarRunning_) return false;
  switch (action) {
    case platform::NimAdd:
      if (tray_.count(data.id) != 0) return false;
      tray_[data.id] = data;
      return true;
    case platform::NimModify:
      if (tray_.count(data.id) == 0) return false;
      tray_[data.id] = data;
      return true;
    case platform::NimDelete:
      return tray_.erase(data.id) != 0;
    default:
      return false;
  }
}

void SimShell::SetTaskbarRunning(bool running) {
  taskbarRunning_ = running;
  if (!running) tray_.clear();
}

void SimShell::RestartTaskbar() {
  SetTaskbarRunning(true);
  tray_.clear();
  ui_.BroadcastTaskbarCreated();
}

std::unique_ptr<platform::ShellDispatch> SimShell::CreateShellApplication() {
  ++created_;
  if (!available_) return nullptr;
  return std::make_unique<SimShellDispatch>(*this);
}

namespace {

class SimWebBrowser : public platform::WebBrowser {
 public:
  explicit SimWebBrowser(SimShellWindow window) : window_(std::move(window)) {}
  platform::Hwnd get_HWND() const override {
    if (window_.hwndFails) throw platform::ShellCallFailed("get_HWND");
    return window_.hwnd;
  }
  std::string get_LocationURL() const override {
    if (window_.locationFails) throw platform::ShellCallFailed("get_LocationURL");
    return window_.locationUrl;
  }

 private:
  SimShellWindow window_;
};

class SimShellWindows : public platform::ShellWindows {
 public:
  explicit SimShellWindows(const SimShell& shell) : shell_(shell) {}
  int get_Count() const override {
    if (shell_.shellWindowsFail) throw platform::ShellCallFailed("get_Count");
    return static_cast<int>(shell_.shellWindows.size());
  }
  std::unique_ptr<platform::WebBrowser> Item(int index) const override {
    if (index < 0 || index >= static_cast<int>(shell_.shellWindows.size()) ||
        shell_.shellWindows[index].itemFails) {
      throw platform::ShellCallFailed("Item");
    }
    return std::make_unique<SimWebBrowser>(shell_.shellWindows[index]);
  }

 private:
  const SimShell& shell_;
};

}  // namespace

std::unique_ptr<platform::ShellWindows> SimShellDispatch::Windows() {
  if (shell_.shellWindowsFail) throw platform::ShellCallFailed("Windows");
  return std::make_unique<SimShellWindows>(shell_);
}

namespace {

bool EndsWithExplorer(std::string file) {
  std::transform(file.begin(), file.end(), file.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const std::string name = "explorer.exe";
  return file.size() >= name.size() && file.compare(file.size() - name.size(), name.size(), name) == 0;
}

// The folder's own name from a command line such as ` /n,/e,"C:\Data\"`.
std::string FolderCaption(const std::string& parameters) {
  const auto open = parameters.find('"');
  const auto close = parameters.rfind('"');
  if (open == std::string::npos || close <= open) return "エクスプローラ";
  std::string folder = parameters.substr(open + 1, close - open - 1);
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const auto slash = folder.rfind('\\');
  const std::string name = slash == std::string::npos ? folder : folder.substr(slash + 1);
  return name.empty() ? "デスクトップ" : name;
}

}  // namespace

std::intptr_t SimShell::ShellExecute(platform::Hwnd owner, const std::string& verb,
                                     const std::string& file, const std::string& parameters,
                                     const std::string& directory, int showCommand) {
  calls_.push_back({owner, verb, file, parameters, directory, showCommand});
  if (whileExecuting) whileExecuting();
  if (nextExecuteAnswer) return *std::exchange(nextExecuteAnswer, std::nullopt);
  if (EndsWithExplorer(file) && explorerDelayMs_) {
    const std::string caption = FolderCaption(parameters);
    ui_.At(*explorerDelayMs_, [this, caption] { OpenExplorerWindow(caption); });
  }
  return 42;
}

platform::Hwnd SimShell::OpenExplorerWindow(const std::string& caption) {
  SimWindow window;
  window.className = "CabinetWClass";
  window.text = caption;
  window.processId = desktop_.AddProcess(explorerExeFile_);
  window.exeName = explorerExeFile_;
  window.style = 0x14CF0000;  // WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS
  window.exStyle = platform::WsExAppWindow;
  window.rect = platform::Rect::FromSize(120, 90, 800, 560);
  window.visible = true;
  window.minWidth = 112;
  window.minHeight = 28;
  const platform::Hwnd handle = desktop_.AddWindow(window);
  explorers_.push_back(handle);
  return handle;
}

platform::CreatedMutex SimKernel::CreateMutex(const std::string& name) {
  // Mutex names are case-sensitive on Windows.
  MutexUse& use = (*mutexes_)[name];
  platform::CreatedMutex created;
  if (use.refused) {
    created.alreadyExisted = true;
    return created;
  }
  created.alreadyExisted = use.own > 0 || use.elsewhere;
  ++use.own;
  class Handle : public platform::KernelObject {
   public:
    Handle(std::shared_ptr<std::map<std::string, MutexUse>> mutexes, std::string name)
        : mutexes_(std::move(mutexes)), name_(std::move(name)) {}
    ~Handle() override { --(*mutexes_)[name_].own; }

   private:
    std::shared_ptr<std::map<std::string, MutexUse>> mutexes_;
    std::string name_;
  };
  created.handle = std::make_unique<Handle>(mutexes_, name);
  return created;
}

void SimKernel::HoldMutexElsewhere(const std::string& name, bool held) {
  (*mutexes_)[name].elsewhere = held;
}

int SimKernel::MutexHolders(const std::string& name) const {
  const auto found = mutexes_->find(name);
  return found == mutexes_->end() ? 0 : found->second.own;
}

SimPlatform::SimPlatform()
    : platform_{desktop, files, codepage, clipboard, kernel, shell, ui, registry} {
  desktop.UseClock(clock);
  // The executable's folder exists, as it does for a running program.
  files.CreateFolder("C:\\Tools\\Varnel");
  files.CreateFolder("C:\\WINDOWS");
}

}  // namespace varnel::sim
