#include "platform/sim/SimUi.h"

#include "platform/sim/SimPlatform.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace varnel::sim {

using platform::ControlKind;

// --- SimControlPeer ---------------------------------------------------------------------

SimControlPeer::SimControlPeer(SimUi& ui, const platform::ControlSpec& spec,
                               SimControlPeer* parent, platform::ControlSink& sink)
    : ui_(ui), spec_(spec), parent_(parent), sink_(sink), text_(spec.text) {
  SimWindow window;
  window.className = spec.className;
  window.text = spec.text;
  window.rect = spec.bounds;
  window.exeName = "varnel.exe";
  window.sink = &sink;
  if (parent != nullptr) {
    window.parent = parent->handle_;
  } else if (spec.kind == ControlKind::Form) {
    // Forms are owned by the application window, which keeps them off the taskbar.
    if (auto application = ui.desktop_.FindTopLevel("TApplication")) window.owner = *application;
  }
  // Top-level windows start hidden, children visible inside them.
  visible_ = parent != nullptr;
  window.visible = visible_;
  handle_ = ui.desktop_.AddWindow(std::move(window));
  ui.peers_[handle_] = this;
}

SimControlPeer::~SimControlPeer() {
  ui_.peers_.erase(handle_);
  ui_.desktop_.DestroyWindow(handle_);
}

SimWindow& SimControlPeer::Window() const { return *ui_.desktop_.Find(handle_); }

void SimControlPeer::UserType(const std::string& text) {
  if (spec_.readOnly) return;
  text_ = text;
  Window().text = text;
  sink_.PeerTextChanged(text);
}

void SimControlPeer::UserSelect(int index) {
  itemIndex_ = index;
  sink_.PeerSelectionChanged(index);
}

void SimControlPeer::UserDrag(int left, int top) {
  const platform::Rect bounds = GetBounds();
  SetBounds(platform::Rect::FromSize(left, top, bounds.Width(), bounds.Height()));
}

void SimControlPeer::SetBounds(const platform::Rect& bounds) { Window().rect = bounds; }

void SimControlPeer::SetClientSize(int width, int height) {
  platform::Rect bounds = Window().rect;
  const bool framed = parent_ == nullptr && spec_.kind == ControlKind::Form;
  bounds.Right = bounds.Left + width + (framed ? SimUi::kFrameWidth : 0);
  bounds.Bottom = bounds.Top + height + (framed ? SimUi::kFrameHeight : 0);
  Window().rect = bounds;
}

platform::Rect SimControlPeer::GetBounds() const { return Window().rect; }

void SimControlPeer::SetText(const std::string& text) {
  text_ = text;
  Window().text = text;
}

void SimControlPeer::SetVisible(bool visible) {
  const bool shown = visible && !visible_;
  visible_ = visible;
  Window().visible = visible;
  if (visible) {
    Window().style |= platform::WsVisible;
  } else {
    Window().style &= ~platform::WsVisible;
  }
  // The system activates a top-level window it shows.
  if (shown && spec_.kind == ControlKind::Form) sink_.PeerActivated();
}

void SimControlPeer::SetRange(int minimum, int maximum) {
  min_ = minimum;
  max_ = maximum;
}

void SimControlPeer::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  itemIndex_ = -1;
}

// --- SimUi ------------------------------------------------------------------------------

SimUi::SimUi(SimDesktop& desktop, SimClock& clock) : desktop_(desktop), clock_(clock) {}

SimControlPeer* SimUi::Peer(platform::Hwnd handle) const {
  const auto found = peers_.find(handle);
  return found == peers_.end() ? nullptr : found->second;
}

SimControlPeer* SimUi::PeerWithText(const std::string& text) const {
  for (const auto& [handle, peer] : peers_) {
    if (peer->Text() == text) return peer;
  }
  return nullptr;
}

void SimUi::BroadcastTaskbarCreated() {
  std::vector<SimControlPeer*> callbackWindows;
  for (const auto& [handle, peer] : peers_) {
    if (peer->Kind() == platform::ControlKind::CallbackWindow) callbackWindows.push_back(peer);
  }
  for (SimControlPeer* peer : callbackWindows) peer->SystemTaskbarCreated();
}

void SimUi::BroadcastDisplayChange() {
  std::vector<SimControlPeer*> forms;
  for (const auto& [handle, peer] : peers_) {
    if (peer->Kind() == platform::ControlKind::Form) forms.push_back(peer);
  }
  for (SimControlPeer* peer : forms) peer->SystemDisplayChange();
}

std::unique_ptr<platform::ControlPeer> SimUi::CreateControl(const platform::ControlSpec& spec,
                                                            platform::ControlPeer* parent,
                                                            platform::ControlSink& sink) {
  return std::make_unique<SimControlPeer>(*this, spec, static_cast<SimControlPeer*>(parent),
                                          sink);
}

platform::TimerId SimUi::SetTimer(unsigned intervalMs, std::function<void()> callback) {
  const platform::TimerId id = nextTimer_++;
  timers_[id] = Timer{intervalMs, clock_.Now() + intervalMs, std::move(callback)};
  return id;
}

void SimUi::KillTimer(platform::TimerId id) { timers_.erase(id); }

bool SimUi::RunNextTimerDueBy(std::uint32_t limit) {
  auto next = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.due <= limit && (next == timers_.end() || it->second.due < next->second.due)) {
      next = it;
    }
  }
  if (next == timers_.end()) return false;
  if (next->second.due > clock_.Now()) clock_.Advance(next->second.due - clock_.Now());
  next->second.due = clock_.Now() + next->second.interval;
  // The callback may kill its own timer: call a copy.
  const std::function<void()> callback = next->second.callback;
  if (next->second.once) timers_.erase(next);
  callback();
  return true;
}

void SimUi::At(unsigned delayMs, std::function<void()> task) {
  const platform::TimerId id = nextTimer_++;
  timers_[id] = Timer{delayMs, clock_.Now() + delayMs, std::move(task), true};
}

void SimUi::AdvanceClock(unsigned milliseconds) {
  const std::uint32_t end = clock_.Now() + milliseconds;
  DrainTasks();
  while (RunNextTimerDueBy(end)) DrainTasks();
  if (clock_.Now() < end) clock_.Advance(end - clock_.Now());
}

void SimUi::Run() {
  ++runCount_;
  const std::uint32_t end = clock_.Now() + runBudget_;
  DrainTasks();
  while (!quitPosted_ && RunNextTimerDueBy(end)) DrainTasks();
}

void SimUi::ProcessMessages() {
  ++processMessagesCount_;
  clock_.Advance(1);
  while (RunNextTimerDueBy(clock_.Now())) {
  }
  DrainTasks();
}

std::optional<std::uint32_t> SimUi::NextTimerDue() const {
  std::optional<std::uint32_t> next;
  for (const auto& [id, timer] : timers_) {
    if (!next || timer.due < *next) next = timer.due;
  }
  return next;
}

bool SimUi::WaitForMessages(unsigned timeoutMs) {
  ++waitForMessagesCount_;
  const std::uint32_t end = clock_.Now() + timeoutMs;
  if (!tasks_.empty() || quitPosted_) {
    clock_.Advance(1);
  } else {
    const std::optional<std::uint32_t> due = NextTimerDue();
    if (!due || *due > end) {
      clock_.Advance(end - clock_.Now());
      return false;
    }
    if (*due > clock_.Now()) clock_.Advance(*due - clock_.Now());
  }
  while (RunNextTimerDueBy(clock_.Now())) {
  }
  DrainTasks();
  return true;
}

void SimUi::DrainTasks() {
  while (!tasks_.empty()) {
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    task();
  }
}

void SimUi::PostTask(std::function<void()> task) { tasks_.push_back(std::move(task)); }

int SimUi::MessageBox(platform::Hwnd owner, const std::string& text, const std::string& caption,
                      unsigned flags) {
  messageBoxes_.push_back({owner, text, caption, flags});
  return 1;  // IDOK
}

unsigned MenuItemId(const std::vector<platform::MenuEntry>& items, const std::string& caption) {
  for (const platform::MenuEntry& item : items) {
    if (item.caption == caption && item.id != 0) return item.id;
    if (const unsigned id = MenuItemId(item.children, caption)) return id;
  }
  return 0;
}

bool OpenSubmenu(std::vector<platform::MenuEntry>& items, const std::string& caption) {
  for (platform::MenuEntry& item : items) {
    if (item.caption == caption && item.IsSubmenu()) {
      if (item.fill) item.children = std::exchange(item.fill, nullptr)();
      return true;
    }
    if (OpenSubmenu(item.children, caption)) return true;
  }
  return false;
}

unsigned SimUi::TrackPopupMenu(const std::vector<platform::MenuEntry>& items, platform::Point at,
                               platform::Hwnd owner) {
  SimOpenMenu menu{items, at, owner, {}, false};
  // The menu is a window of its own on the desktop while it is open, above everything.
  SimWindow window;
  window.className = MenuWindowClass();
  window.style = platform::WsPopup;
  window.visible = true;
  window.topmost = true;
  window.rect = platform::Rect::FromSize(at.X, at.Y, 160, 20 * static_cast<int>(items.size()));
  menu.window = desktop_.AddWindow(window);
  SimOpenMenu* outer = openMenu_;
  openMenu_ = &menu;
  const unsigned chosen = menuScript_ ? menuScript_(menu) : 0;
  openMenu_ = outer;
  desktop_.DestroyWindow(menu.window);
  menusShown_.push_back(menu);
  return menu.ended ? 0 : chosen;
}

void SimUi::EndMenu() {
  if (openMenu_ != nullptr) openMenu_->ended = true;
}

platform::ImageRef SimUi::LoadImageResource(const std::string& name) {
  return std::make_shared<SimImage>(name);
}

std::optional<std::string> SimUi::RunDialog(SimDialog dialog) {
  dialogs_.push_back(dialog);
  return dialogScript_ ? dialogScript_(dialogs_.back()) : std::nullopt;
}

std::optional<std::string> SimUi::BrowseForFolder(platform::Hwnd owner, const std::string& title,
                                                  const std::string& folder) {
  return RunDialog({"BrowseForFolder", owner, title, folder, "", ""});
}

std::optional<std::string> SimUi::GetOpenFileName(platform::Hwnd owner, const std::string& filter,
                                                  const std::string& defaultExtension) {
  return RunDialog({"GetOpenFileName", owner, "", "", filter, defaultExtension});
}

}  // namespace varnel::sim
