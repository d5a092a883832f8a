#pragma once
// The framework's native side on the simulated desktop: every control is a record a test can
// read and act on as a user would; timers run on the simulated clock.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "platform/sim/SimDesktop.h"

namespace varnel::sim {

class SimUi;

class SimControlPeer : public platform::ControlPeer {
 public:
  SimControlPeer(SimUi& ui, const platform::ControlSpec& spec, SimControlPeer* parent,
                 platform::ControlSink& sink);
  ~SimControlPeer() override;

  // --- what the window shows --------------------------------------------------------
  platform::ControlKind Kind() const { return spec_.kind; }
  const platform::ControlSpec& Spec() const { return spec_; }
  SimControlPeer* ParentPeer() const { return parent_; }
  const std::string& Text() const { return text_; }
  bool Visible() const { return visible_; }
  bool EnabledState() const { return enabled_; }
  const std::string& HintText() const { return hint_; }
  bool CheckedState() const { return checked_; }
  int Minimum() const { return min_; }
  int Maximum() const { return max_; }
  int PositionValue() const { return position_; }
  const std::vector<std::string>& ItemTexts() const { return items_; }
  int ItemIndexValue() const { return itemIndex_; }

  // --- what a user does -------------------------------------------------------------
  void UserClick() { sink_.PeerClicked(); }
  void UserType(const std::string& text);
  void UserMoveTo(int position) { sink_.PeerPositionChanged(position); }
  void UserSelect(int index);
  void UserDrag(int left, int top);
  // The system's requests: WM_CLOSE and WM_QUERYENDSESSION (returns the answer).
  void SystemClose() { sink_.PeerCloseQuery(false); }
  bool SystemQueryEndSession() { return sink_.PeerCloseQuery(true); }
  // WM_ENDSESSION: the session ends (`ending`) or the logoff was cancelled.
  void SystemEndSession(bool ending) { sink_.PeerEndSession(ending); }
  void SystemTaskbarCreated() { sink_.PeerTaskbarCreated(); }
  void SystemDisplayChange() { sink_.PeerDisplayChanged(); }
  // A message to a callback window (the shell's tray callback, say).
  void SystemMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    sink_.PeerMessage(message, wParam, lParam);
  }

  // --- ControlPeer ------------------------------------------------------------------
  platform::Hwnd Handle() const override { return handle_; }
  void SetBounds(const platform::Rect& bounds) override;
  void SetClientSize(int width, int height) override;
  platform::Rect GetBounds() const override;
  void SetText(const std::string& text) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  void SetHint(const std::string& hint) override { hint_ = hint; }
  void SetChecked(bool checked) override { checked_ = checked; }
  void SetRange(int minimum, int maximum) override;
  void SetPosition(int position) override { position_ = position; }
  void SetItems(const std::vector<std::string>& items) override;
  void SetItemIndex(int index) override { itemIndex_ = index; }

 private:
  SimWindow& Window() const;

  SimUi& ui_;
  platform::ControlSpec spec_;
  SimControlPeer* parent_;
  platform::ControlSink& sink_;
  platform::Hwnd handle_{};
  std::string text_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  bool checked_ = false;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

// A popup menu while it is open: what it shows, where, and its window on the desktop.
struct SimOpenMenu {
  std::vector<platform::MenuEntry> items;
  platform::Point at;
  platform::Hwnd owner{};
  platform::Hwnd window{};
  bool ended = false;  // EndMenu was called
};

// The id of the item with `caption` in the menu (submenus searched too), 0 when none.
unsigned MenuItemId(const std::vector<platform::MenuEntry>& items, const std::string& caption);
// The user opens the submenu `caption` (the first of that caption, opened ones searched too):
// one made when it opens gets its entries now, as the system would ask for them. Whether there
// was such a submenu.
bool OpenSubmenu(std::vector<platform::MenuEntry>& items, const std::string& caption);

struct SimMessageBox {
  platform::Hwnd owner{};
  std::string text;
  std::string caption;
  unsigned flags = 0;
};

class SimUi : public platform::Ui {
 public:
  // The frame a top-level dialog window draws around its client area.
  static constexpr int kFrameWidth = 6;
  static constexpr int kFrameHeight = 25;

  SimUi(SimDesktop& desktop, SimClock& clock);

  SimDesktop& Desktop() { return desktop_; }
  // The peer behind a handle, or null.
  SimControlPeer* Peer(platform::Hwnd handle) const;
  // The first peer whose text is `text` (a caption), or null.
  SimControlPeer* PeerWithText(const std::string& text) const;
  const std::vector<SimMessageBox>& MessageBoxes() const { return messageBoxes_; }
  // The shell's "TaskbarCreated" broadcast, as the callback windows receive it.
  void BroadcastTaskbarCreated();
  // WM_DISPLAYCHANGE, or WM_SETTINGCHANGE for the work area, as every form receives it.
  void BroadcastDisplayChange();
  // Timers running now.
  int TimerCount() const { return static_cast<int>(timers_.size()); }

  // Moves the clock on by `milliseconds`, running every timer that falls due on the way and
  // the posted tasks, as a message loop would.
  void AdvanceClock(unsigned milliseconds);
  // Runs `task` once, `delayMs` from now on the simulated clock, from the message loop.
  void At(unsigned delayMs, std::function<void()> task);
  // How long Run may go on with nothing to do but timers before it returns; 0 returns at once.
  void SetRunBudget(unsigned milliseconds) { runBudget_ = milliseconds; }
  bool QuitPosted() const { return quitPosted_; }
  // What a user does while a menu is open: runs with the open menu, returns the chosen id
  // (0 for none). Without one, every menu closes at once without a choice.
  void SetMenuScript(std::function<unsigned(SimOpenMenu&)> script) { menuScript_ = std::move(script); }
  // What the user does in a dialog: the answer the dialog returns. Without a script every
  // dialog is cancelled.
  struct SimDialog {
    std::string kind;  // "BrowseForFolder" or "GetOpenFileName"
    platform::Hwnd owner{};
    std::string title;   // the folder dialog's instruction line
    std::string folder;  // the folder asked to be selected at the start
    std::string filter;
    std::string defaultExtension;
  };
  void SetDialogScript(std::function<std::optional<std::string>(const SimDialog&)> script) {
    dialogScript_ = std::move(script);
  }
  const std::vector<SimDialog>& Dialogs() const { return dialogs_; }
  // Every menu shown so far, as it was shown.
  const std::vector<SimOpenMenu>& MenusShown() const { return menusShown_; }
  SimOpenMenu* OpenMenu() { return openMenu_; }
  int RunCount() const { return runCount_; }
  // How often the program let pending messages run, and how often it slept for them: a wait
  // that spins shows as many dispatches and no sleeps.
  int ProcessMessagesCount() const { return processMessagesCount_; }
  int WaitForMessagesCount() const { return waitForMessagesCount_; }

  // --- Ui ---------------------------------------------------------------------------
  std::unique_ptr<platform::ControlPeer> CreateControl(const platform::ControlSpec& spec,
                                                       platform::ControlPeer* parent,
                                                       platform::ControlSink& sink) override;
  platform::TimerId SetTimer(unsigned intervalMs, std::function<void()> callback) override;
  std::optional<std::string> BrowseForFolder(platform::Hwnd owner, const std::string& title,
                                             const std::string& folder) override;
  std::optional<std::string> GetOpenFileName(platform::Hwnd owner, const std::string& filter,
                                             const std::string& defaultExtension) override;
  void KillTimer(platform::TimerId id) override;
  void Run() override;
  // Dispatching takes a moment: the clock moves on by a millisecond, then the timers that fall
  // due and the posted tasks run. So a program's busy wait ends on the simulated clock too.
  void ProcessMessages() override;
  // Sleeps on the simulated clock: to the first timer that falls due within the time-out, or
  // to the time-out itself. Posted tasks or a quit already waiting end it at once, after a
  // millisecond for the dispatch (so a caller that never stops waiting still sees time pass).
  bool WaitForMessages(unsigned timeoutMs) override;
  void PostQuitMessage() override { quitPosted_ = true; }
  void PostTask(std::function<void()> task) override;
  int MessageBox(platform::Hwnd owner, const std::string& text, const std::string& caption,
                 unsigned flags) override;
  unsigned TrackPopupMenu(const std::vector<platform::MenuEntry>& items, platform::Point at,
                          platform::Hwnd owner) override;
  void EndMenu() override;
  std::string MenuWindowClass() const override { return "#32768"; }
  platform::ImageRef LoadImageResource(const std::string& name) override;

 private:
  friend class SimControlPeer;
  struct Timer {
    unsigned interval;
    std::uint32_t due;
    std::function<void()> callback;
    bool once = false;
  };
  bool RunNextTimerDueBy(std::uint32_t limit);
  std::optional<std::uint32_t> NextTimerDue() const;
  void DrainTasks();

  SimDesktop& desktop_;
  SimClock& clock_;
  std::map<platform::Hwnd, SimControlPeer*> peers_;
  std::map<platform::TimerId, Timer> timers_;
  platform::TimerId nextTimer_ = 1;
  std::deque<std::function<void()>> tasks_;
  std::vector<SimMessageBox> messageBoxes_;
  std::function<unsigned(SimOpenMenu&)> menuScript_;
  std::function<std::optional<std::string>(const SimDialog&)> dialogScript_;
  std::vector<SimDialog> dialogs_;
  std::optional<std::string> RunDialog(SimDialog dialog);
  std::vector<SimOpenMenu> menusShown_;
  SimOpenMenu* openMenu_ = nullptr;
  unsigned runBudget_ = 0;
  bool quitPosted_ = false;
  int runCount_ = 0;
  int processMessagesCount_ = 0;
  int waitForMessagesCount_ = 0;
};

}  // namespace varnel::sim
