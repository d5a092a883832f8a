#include "framework/Controls.h"

#include <algorithm>
#include <string>

#include "framework/Application.h"

namespace varnel {

namespace {

platform::ControlSpec Spec(platform::ControlKind kind, std::string text = {}) {
  platform::ControlSpec spec;
  spec.kind = kind;
  spec.text = std::move(text);
  return spec;
}

}  // namespace

// --- TControl ---------------------------------------------------------------------------

TControl::TControl(TComponent* owner, std::string name, TControl& parent)
    : TComponent(owner, std::move(name)), parent_(&parent), ui_(parent.ui_) {}

TControl::TControl(TComponent* owner, std::string name, platform::Ui& ui)
    : TComponent(owner, std::move(name)), ui_(ui) {}

TControl::~TControl() {
  // Child windows must go before the window that holds them.
  DestroyComponents();
  peer_.reset();
}

void TControl::CreatePeer(platform::ControlSpec spec) {
  peer_ = ui_.CreateControl(spec, parent_ != nullptr ? parent_->peer_.get() : nullptr, *this);
}

platform::Hwnd TControl::Handle() const {
  return peer_ ? peer_->Handle() : platform::kNoWindow;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  peer_->SetBounds(platform::Rect::FromSize(left, top, width, height));
  Resized();
}

platform::Rect TControl::Bounds() const { return peer_->GetBounds(); }

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  peer_->SetVisible(visible);
}

void TControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  peer_->SetEnabled(enabled);
}

void TControl::SetHint(const std::string& hint) {
  hint_ = hint;
  peer_->SetHint(hint);
}

void TControl::Fire(const TNotifyEvent& event) {
  if (event && !Loading()) event(*this);
}

void TControl::Guarded(const std::function<void()>& action) {
  if (TApplication* application = FindApplication(*this)) {
    application->Guarded(action);
  } else {
    action();
  }
}

// --- TStrings ---------------------------------------------------------------------------

void TStrings::Add(const std::string& text) {
  items_.push_back(text);
  Changed();
}

void TStrings::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  items_.clear();
  Changed();
}

void TStrings::Assign(std::vector<std::string> items) {
  items_ = std::move(items);
  Changed();
}

void TStrings::Changed() {
  if (onChange_) onChange_();
}

// --- TLabel -----------------------------------------------------------------------------

TLabel::TLabel(TComponent* owner, std::string name, TControl& parent, const std::string& caption,
               const platform::FontSpec& font, bool link)
    : TControl(owner, std::move(name), parent), caption_(caption) {
  platform::ControlSpec spec = Spec(platform::ControlKind::Label, caption);
  spec.font = font;
  spec.clickable = link;
  CreatePeer(spec);
}

void TLabel::SetCaption(const std::string& caption) {
  caption_ = caption;
  Peer().SetText(caption);
}

void TLabel::PeerClicked() {
  Guarded([this] { Fire(OnClick); });
}

// --- TButton ----------------------------------------------------------------------------

TButton::TButton(TComponent* owner, std::string name, TControl& parent, const std::string& caption,
                 TBitBtnKind kind)
    : TControl(owner, std::move(name), parent), caption_(caption) {
  platform::ControlSpec spec = Spec(platform::ControlKind::Button, caption);
  if (kind == TBitBtnKind::Ok) {
    spec.glyph = platform::ButtonGlyph::Ok;
    spec.defaultButton = true;
  } else if (kind == TBitBtnKind::Help) {
    spec.glyph = platform::ButtonGlyph::Help;
  }
  CreatePeer(spec);
}

void TButton::Click() { Fire(OnClick); }

void TButton::PeerClicked() {
  Guarded([this] { Click(); });
}

// --- TCheckBox --------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner, std::string name, TControl& parent,
                     const std::string& caption)
    : TControl(owner, std::move(name), parent) {
  CreatePeer(Spec(platform::ControlKind::CheckBox, caption));
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Peer().SetChecked(checked);
  Fire(OnClick);
}

void TCheckBox::PeerClicked() {
  Guarded([this] { Click(); });
}

// --- TRadioButton -----------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner, std::string name, TControl& parent,
                           const std::string& caption)
    : TControl(owner, std::move(name), parent) {
  CreatePeer(Spec(platform::ControlKind::RadioButton, caption));
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Peer().SetChecked(checked);
  if (!checked) return;
  TurnSiblingsOff();
  Fire(OnClick);
}

void TRadioButton::TurnSiblingsOff() {
  // Siblings are the radio buttons that share this one's parent window; they are owned by
  // whoever made them, so look through the owner of each candidate the parent knows of.
  TComponent* owner = Owner();
  if (owner == nullptr) return;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    auto* sibling = dynamic_cast<TRadioButton*>(&owner->Component(i));
    if (sibling != nullptr && sibling != this && sibling->Parent() == Parent() &&
        sibling->checked_) {
      sibling->checked_ = false;
      sibling->Peer().SetChecked(false);
    }
  }
}

void TRadioButton::PeerClicked() {
  Guarded([this] { Click(); });
}

// --- TGroupBox and TRadioGroup ----------------------------------------------------------

TGroupBox::TGroupBox(TComponent* owner, std::string name, TControl& parent,
                     const std::string& caption)
    : TControl(owner, std::move(name), parent) {
  CreatePeer(Spec(platform::ControlKind::GroupBox, caption));
}

TRadioGroup::TRadioGroup(TComponent* owner, std::string name, TControl& parent,
                         const std::string& caption, const std::vector<std::string>& items,
                         int columns)
    : TControl(owner, std::move(name), parent), columns_(std::max(columns, 1)) {
  CreatePeer(Spec(platform::ControlKind::GroupBox, caption));
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    auto& button = TComponent::Create<TRadioButton>(*this, Name() + "Item" + std::to_string(i),
                                                    *this, items[i]);
    button.OnClick = [this, i](TComponent&) { ButtonClicked(i); };
    buttons_.push_back(&button);
  }
}

void TRadioGroup::Resized() {
  // The items fill the frame column by column, below the caption.
  const int count = static_cast<int>(buttons_.size());
  if (count == 0) return;
  const int rows = (count + columns_ - 1) / columns_;
  const int columnWidth = std::max((Width() - 12) / columns_, 1);
  const int rowHeight = std::max((Height() - 18) / rows, 1);
  for (int i = 0; i < count; ++i) {
    buttons_[i]->SetBounds(6 + (i / rows) * columnWidth, 15 + (i % rows) * rowHeight,
                           columnWidth - 2, std::min(rowHeight, 18));
  }
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= ItemCount() || index == itemIndex_) return;
  if (index == -1) {
    itemIndex_ = -1;
    for (TRadioButton* button : buttons_) button->SetChecked(false);
    return;
  }
  buttons_[index]->SetChecked(true);  // its click comes back through ButtonClicked
}

void TRadioGroup::ButtonClicked(int index) {
  itemIndex_ = index;
  Fire(OnClick);
}

void TRadioGroup::ReferenceRemoved(TComponent& component) {
  buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), &component), buttons_.end());
}

// --- TTrackBar --------------------------------------------------------------------------

TTrackBar::TTrackBar(TComponent* owner, std::string name, TControl& parent, int minimum,
                     int maximum, int position)
    : TControl(owner, std::move(name), parent),
      min_(minimum),
      max_(maximum),
      position_(std::clamp(position, minimum, maximum)) {
  CreatePeer(Spec(platform::ControlKind::TrackBar));
  Peer().SetRange(min_, max_);
  Peer().SetPosition(position_);
}

void TTrackBar::SetPosition(int position) {
  position = std::clamp(position, min_, max_);
  if (position == position_) return;
  position_ = position;
  Peer().SetPosition(position);
  Fire(OnChange);
}

void TTrackBar::PeerPositionChanged(int position) {
  Guarded([this, position] { SetPosition(position); });
}

// --- TEdit ------------------------------------------------------------------------------

TEdit::TEdit(TComponent* owner, std::string name, TControl& parent, bool readOnly)
    : TControl(owner, std::move(name), parent), readOnly_(readOnly) {
  platform::ControlSpec spec = Spec(platform::ControlKind::Edit);
  spec.readOnly = readOnly;
  CreatePeer(spec);
}

void TEdit::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  Peer().SetText(text);
  Fire(OnChange);
}

void TEdit::Type(const std::string& text) {
  if (!readOnly_) SetText(text);
}

void TEdit::PeerTextChanged(const std::string& text) {
  // The window already shows the text; only the state and the event follow.
  Guarded([this, &text] {
    if (text == text_) return;
    text_ = text;
    Fire(OnChange);
  });
}

// --- TUpDown ----------------------------------------------------------------------------

TUpDown::TUpDown(TComponent* owner, std::string name, TControl& parent, TEdit& associate,
                 int minimum, int maximum, int position)
    : TControl(owner, std::move(name), parent),
      associate_(&associate),
      min_(minimum),
      max_(maximum),
      position_(std::clamp(position, minimum, maximum)) {
  platform::ControlSpec spec = Spec(platform::ControlKind::UpDown);
  spec.vertical = true;
  CreatePeer(spec);
  Peer().SetRange(min_, max_);
  Peer().SetPosition(position_);
  associate.FreeNotification(*this);
  associate.SetText(std::to_string(position_));
}

void TUpDown::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  Peer().SetPosition(position_);
  // The field always shows the position, even when it was already there: text typed into
  // the field that is no number gives way to it.
  if (associate_ != nullptr) associate_->SetText(std::to_string(position_));
}

void TUpDown::ArrowClicked(int position) {
  SetPosition(position);
  Fire(OnClick);
}

void TUpDown::PeerPositionChanged(int position) {
  Guarded([this, position] { ArrowClicked(position); });
}

void TUpDown::ReferenceRemoved(TComponent& component) {
  if (&component == associate_) associate_ = nullptr;
}

// --- THotKey ----------------------------------------------------------------------------

THotKey::THotKey(TComponent* owner, std::string name, TControl& parent)
    : TControl(owner, std::move(name), parent) {
  CreatePeer(Spec(platform::ControlKind::HotKey));
}

void THotKey::SetHotKey(unsigned code) {
  code_ = code;
  Peer().SetPosition(static_cast<int>(code));
}

void THotKey::Press(unsigned code) {
  SetHotKey(code);
  Fire(OnChange);
}

void THotKey::PeerPositionChanged(int code) {
  Guarded([this, code] {
    code_ = static_cast<unsigned>(code);
    Fire(OnChange);
  });
}

// --- TListBox ---------------------------------------------------------------------------

TListBox::TListBox(TComponent* owner, std::string name, TControl& parent)
    : TControl(owner, std::move(name), parent) {
  CreatePeer(Spec(platform::ControlKind::ListBox));
  items_.SetOnChange([this] {
    Peer().SetItems(items_.Items());
    itemIndex_ = -1;
  });
}

void TListBox::SetItemIndex(int index) {
  if (index < -1 || index >= items_.Count()) index = -1;
  itemIndex_ = index;
  Peer().SetItemIndex(index);
}

void TListBox::PeerSelectionChanged(int index) {
  itemIndex_ = (index >= 0 && index < items_.Count()) ? index : -1;
}

// --- TPageControl and TTabSheet ---------------------------------------------------------

TPageControl::TPageControl(TComponent* owner, std::string name, TControl& parent)
    : TControl(owner, std::move(name), parent) {
  CreatePeer(Spec(platform::ControlKind::PageControl));
}

void TPageControl::AddPage(TTabSheet& page) {
  pages_.push_back(&page);
  page.FreeNotification(*this);
  if (activePage_ < 0) SetActivePageIndex(0);
}

void TPageControl::SetActivePageIndex(int index) {
  if (index < 0 || index >= PageCount()) return;
  activePage_ = index;
  Peer().SetItemIndex(index);
}

void TPageControl::PeerSelectionChanged(int index) {
  if (index >= 0 && index < PageCount()) activePage_ = index;
}

void TPageControl::ReferenceRemoved(TComponent& component) {
  const auto found = std::find(pages_.begin(), pages_.end(), &component);
  if (found == pages_.end()) return;
  pages_.erase(found);
  if (activePage_ >= PageCount()) activePage_ = PageCount() - 1;
}

TTabSheet::TTabSheet(TComponent* owner, std::string name, TPageControl& pageControl,
                     const std::string& caption)
    : TControl(owner, std::move(name), pageControl), caption_(caption) {
  CreatePeer(Spec(platform::ControlKind::TabSheet, caption));
  pageControl.AddPage(*this);
}

}  // namespace varnel
