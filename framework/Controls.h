#pragma once
// The controls of the settings window. Each object owns its state and mirrors it into a
// native peer. Setting Checked, Position, Text or ItemIndex from code fires the same event a
// user's action does (and only when the value really changes), except while the form
// description is being read.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "platform/Ui.h"

namespace varnel {

class TApplication;

class TControl : public TComponent, protected platform::ControlSink {
 public:
  ~TControl() override;

  TControl* Parent() const { return parent_; }
  platform::Hwnd Handle() const;
  platform::ControlPeer& Peer() const { return *peer_; }

  void SetBounds(int left, int top, int width, int height);
  // Where the control really is: a window the user moved reports its new place.
  int Left() const { return Bounds().Left; }
  int Top() const { return Bounds().Top; }
  int Width() const { return Bounds().Width(); }
  int Height() const { return Bounds().Height(); }
  platform::Rect Bounds() const;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);

  platform::Ui& Ui() const { return ui_; }

 protected:
  // A child control; `owner` destroys it, `parent` holds its window.
  TControl(TComponent* owner, std::string name, TControl& parent);
  // A top-level window.
  TControl(TComponent* owner, std::string name, platform::Ui& ui);

  // Each concrete control calls this once from its constructor, with its kind filled in.
  void CreatePeer(platform::ControlSpec spec);
  // The control has a new size: containers arrange what they hold.
  virtual void Resized() {}
  // Runs `event` with this control as sender, unless the description is being read.
  void Fire(const TNotifyEvent& event);
  // A user's action arrives here: an error it raises is shown, not passed to the system.
  void Guarded(const std::function<void()>& action);

 private:
  TControl* parent_ = nullptr;
  platform::Ui& ui_;
  std::unique_ptr<platform::ControlPeer> peer_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
};

// An ordered list of texts that tells its control when it changes.
class TStrings {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int index) const { return items_.at(index); }
  const std::vector<std::string>& Items() const { return items_; }
  void Add(const std::string& text);
  void Delete(int index);
  void Clear();
  void Assign(std::vector<std::string> items);
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

 private:
  void Changed();
  std::vector<std::string> items_;
  std::function<void()> onChange_;
};

class TLabel : public TControl {
 public:
  TLabel(TComponent* owner, std::string name, TControl& parent, const std::string& caption,
         const platform::FontSpec& font = {}, bool link = false);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TNotifyEvent OnClick;

 protected:
  void PeerClicked() override;

 private:
  std::string caption_;
};

enum class TBitBtnKind { Custom, Ok, Help };

class TButton : public TControl {
 public:
  TButton(TComponent* owner, std::string name, TControl& parent, const std::string& caption,
          TBitBtnKind kind = TBitBtnKind::Custom);
  const std::string& Caption() const { return caption_; }
  // What a user's click does; tests and keyboard accelerators use it too.
  void Click();
  TNotifyEvent OnClick;

 protected:
  void PeerClicked() override;

 private:
  std::string caption_;
};

// The framework's bitmap button: a push button with the glyph of its kind.
using TBitBtn = TButton;

class TCheckBox : public TControl {
 public:
  TCheckBox(TComponent* owner, std::string name, TControl& parent, const std::string& caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // A user's click: toggles the state.
  void Click() { SetChecked(!checked_); }
  TNotifyEvent OnClick;

 protected:
  void PeerClicked() override;

 private:
  bool checked_ = false;
};

class TRadioButton : public TControl {
 public:
  TRadioButton(TComponent* owner, std::string name, TControl& parent, const std::string& caption);
  bool Checked() const { return checked_; }
  // Checking one unchecks the other radio buttons of the same parent; only becoming checked
  // fires OnClick.
  void SetChecked(bool checked);
  void Click() { SetChecked(true); }
  TNotifyEvent OnClick;

 protected:
  void PeerClicked() override;

 private:
  void TurnSiblingsOff();
  bool checked_ = false;
};

class TGroupBox : public TControl {
 public:
  TGroupBox(TComponent* owner, std::string name, TControl& parent, const std::string& caption);
};

// A group box of radio buttons, one per item, whose ItemIndex is the checked one.
class TRadioGroup : public TControl {
 public:
  TRadioGroup(TComponent* owner, std::string name, TControl& parent, const std::string& caption,
              const std::vector<std::string>& items, int columns);
  int ItemIndex() const { return itemIndex_; }
  // -1 unchecks every item without an event.
  void SetItemIndex(int index);
  int ItemCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton& Button(int index) const { return *buttons_.at(index); }
  TNotifyEvent OnClick;

 protected:
  void ReferenceRemoved(TComponent& component) override;
  void Resized() override;

 private:
  void ButtonClicked(int index);
  int columns_;
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
};

class TTrackBar : public TControl {
 public:
  TTrackBar(TComponent* owner, std::string name, TControl& parent, int minimum, int maximum,
            int position);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // Held within Min..Max.
  void SetPosition(int position);
  TNotifyEvent OnChange;

 protected:
  void PeerPositionChanged(int position) override;

 private:
  int min_;
  int max_;
  int position_;
};

class TEdit : public TControl {
 public:
  TEdit(TComponent* owner, std::string name, TControl& parent, bool readOnly = false);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  bool ReadOnly() const { return readOnly_; }
  // What typing does: replaces the text and fires OnChange (unless read-only).
  void Type(const std::string& text);
  TNotifyEvent OnChange;

 protected:
  void PeerTextChanged(const std::string& text) override;

 private:
  std::string text_;
  bool readOnly_;
};

// Arrows beside an edit: the edit shows the position.
class TUpDown : public TControl {
 public:
  TUpDown(TComponent* owner, std::string name, TControl& parent, TEdit& associate, int minimum,
          int maximum, int position);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // Held within Min..Max; shown in the associated edit. Fires no event.
  void SetPosition(int position);
  // A click on an arrow: moves by one and fires OnClick.
  void ClickUp() { ArrowClicked(position_ + 1); }
  void ClickDown() { ArrowClicked(position_ - 1); }
  TNotifyEvent OnClick;

 protected:
  void PeerPositionChanged(int position) override;
  void ReferenceRemoved(TComponent& component) override;

 private:
  void ArrowClicked(int position);
  TEdit* associate_;
  int min_;
  int max_;
  int position_;
};

// The system's hotkey control: shows the keystroke the user presses in it. A keystroke is
// coded as the control codes it: the virtual key in the low byte, its modifier flags (Shift 1,
// Ctrl 2, Alt 4, a grey-block key 8) in the next; 0 is none.
class THotKey : public TControl {
 public:
  THotKey(TComponent* owner, std::string name, TControl& parent);
  unsigned HotKey() const { return code_; }
  // Fires no event.
  void SetHotKey(unsigned code);
  // What pressing a keystroke in it does: shows it and fires OnChange.
  void Press(unsigned code);
  TNotifyEvent OnChange;

 protected:
  void PeerPositionChanged(int code) override;

 private:
  unsigned code_ = 0;
};

class TListBox : public TControl {
 public:
  TListBox(TComponent* owner, std::string name, TControl& parent);
  TStrings& Items() { return items_; }
  const TStrings& Items() const { return items_; }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);

 protected:
  void PeerSelectionChanged(int index) override;

 private:
  TStrings items_;
  int itemIndex_ = -1;
};

class TTabSheet;

class TPageControl : public TControl {
 public:
  TPageControl(TComponent* owner, std::string name, TControl& parent);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet& Page(int index) const { return *pages_.at(index); }
  int ActivePageIndex() const { return activePage_; }
  void SetActivePageIndex(int index);

 protected:
  void PeerSelectionChanged(int index) override;
  void ReferenceRemoved(TComponent& component) override;

 private:
  friend class TTabSheet;
  void AddPage(TTabSheet& page);
  std::vector<TTabSheet*> pages_;
  int activePage_ = -1;
};

class TTabSheet : public TControl {
 public:
  TTabSheet(TComponent* owner, std::string name, TPageControl& pageControl,
            const std::string& caption);
  const std::string& Caption() const { return caption_; }

 private:
  std::string caption_;
};

}  // namespace varnel
