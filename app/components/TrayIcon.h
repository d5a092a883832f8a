#pragma once
// An icon in the notification area: its tip, its picture, and the menus its buttons pop.

#include <functional>
#include <string>

#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "platform/Platform.h"

namespace varnel {

// Raised when the process has no room for another tray icon.
class ENotifyIconError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
// The flag of the pressed button, as a mouse event's shift state carries it.
enum TShiftState : int { ssNone = 0, ssLeft = 1, ssRight = 2, ssMiddle = 4 };

using TMouseEvent =
    std::function<void(TComponent& sender, TMouseButton button, int shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent& sender, int shift, int x, int y)>;

// The shell's messages for every tray icon of the process arrive here.
class TCallbackWindow : public TControl {
 public:
  static constexpr unsigned kCallbackMessage = platform::WmUser + 200;  // 0x4C8
  TCallbackWindow(TComponent* owner, std::string name, TControl& parent);
  ~TCallbackWindow() override;

 protected:
  void PeerMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void PeerTaskbarCreated() override;
};

class TTrayIcon : public TComponent {
 public:
  // At most this many icons in one process.
  static constexpr int kMaxIcons = 100;
  // Tips longer than this are cut, at a character boundary.
  static constexpr int kMaxTipCharacters = 62;

  // `form` is the owner's window: the callback window is its child, its icon the fallback.
  TTrayIcon(TComponent* owner, std::string name, TForm& form);
  ~TTrayIcon() override;

  unsigned Id() const { return id_; }

  TImageList* AnimateIcons() const { return animateIcons_; }
  void SetAnimateIcons(TImageList* images);
  int AnimateRate() const { return animateRate_; }
  void SetAnimateRate(int milliseconds) { animateRate_ = std::max(milliseconds, 100); }
  bool AutoPopup = true;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const platform::ImageRef& Icon() const { return icon_; }
  void SetIcon(platform::ImageRef icon);
  TPopupMenu* LBPopupMenu() const { return lbPopupMenu_; }
  void SetLBPopupMenu(TPopupMenu* menu);
  TPopupMenu* RBPopupMenu() const { return rbPopupMenu_; }
  void SetRBPopupMenu(TPopupMenu* menu);
  const std::string& TipHelp() const { return tipHelp_; }
  void SetTipHelp(const std::string& tip);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

  // A shell callback for this icon: `mouseMessage` is the lParam of the callback message.
  void HandleCallback(unsigned mouseMessage);
  // Gives the shell the icon again when it is to be shown and the shell does not have it: an
  // add that failed (no taskbar yet) or an icon lost with the taskbar. Cheap when all is well.
  void RetryAdd();

 protected:
  void ReadStarting() override;
  void LoadFinished() override;
  void ReferenceRemoved(TComponent& component) override;

 private:
  friend class TCallbackWindow;
  enum class Action { Add, Modify, Delete };
  // The taskbar was created anew: the shell has forgotten the icon.
  void TaskbarCreated();
  void UpdateTrayIcon(Action action);
  void RefreshTrayIcon();
  platform::ImageRef CurrentIconHandle() const;
  void ButtonDown(TPopupMenu* menu, TMouseButton button, int flag, platform::Point at);
  void StartSingleClickWait();

  TForm& form_;
  platform::Platform& platform_;
  unsigned id_ = 0;
  TImageList* animateIcons_ = nullptr;
  int animateRate_ = 500;
  bool enabled_ = true;
  platform::ImageRef icon_;
  TPopupMenu* lbPopupMenu_ = nullptr;
  TPopupMenu* rbPopupMenu_ = nullptr;
  std::string tipHelp_ = "TipHelp";
  bool visible_ = false;
  bool added_ = false;
  bool clickPending_ = false;
  bool readingStarted_ = false;
  platform::TimerId singleClickTimer_ = 0;
  platform::NotifyIconData record_;
};

// The tip cut to at most `characters` characters, never inside one.
std::string CutAtCharacters(const std::string& text, int characters);

}  // namespace varnel
