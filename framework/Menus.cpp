#include "framework/Menus.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "base/ScopeExit.h"
#include "framework/Application.h"

namespace varnel {

TImageList::TImageList(TComponent* owner, std::string name, int width, int height)
    : TComponent(owner, std::move(name)), width_(width), height_(height) {}

int TImageList::Add(platform::ImageRef image) {
  images_.push_back(std::move(image));
  return Count() - 1;
}

TMenuItem::TMenuItem(TComponent* owner, std::string name, const std::string& caption,
                     int imageIndex)
    : TComponent(owner, std::move(name)), caption_(caption), imageIndex_(imageIndex) {}

TMenuItem& TMenuItem::Add(std::string name, const std::string& caption, int imageIndex) {
  TMenuItem& item = TComponent::Create<TMenuItem>(*this, std::move(name), caption, imageIndex);
  items_.push_back(&item);
  return item;
}

void TMenuItem::DeleteFrom(int index) {
  while (Count() > std::max(index, 0)) {
    TMenuItem* last = items_.back();
    items_.pop_back();
    DestroyComponent(*last);
  }
}

TMenuItem* TMenuItem::Find(const std::string& name) {
  if (Name() == name) return this;
  for (TMenuItem* item : items_) {
    if (TMenuItem* found = item->Find(name)) return found;
  }
  return nullptr;
}

void TMenuItem::Fill() {
  if (!fill_) return;
  // Forgotten first: what it adds is made once, whatever asks again meanwhile.
  const auto fill = std::exchange(fill_, nullptr);
  fill(*this);
}

void TMenuItem::Click() {
  if (OnClick) OnClick(*this);
}

void TMenuItem::ReferenceRemoved(TComponent& component) {
  items_.erase(std::remove(items_.begin(), items_.end(), &component), items_.end());
}

TPopupMenu::TPopupMenu(TComponent* owner, std::string name, platform::Ui& ui)
    : TComponent(owner, std::move(name)),
      ui_(ui),
      items_(&TComponent::Create<TMenuItem>(*this, Name() + "Items", "")) {}

void TPopupMenu::AddEntries(const TMenuItem& parent, std::vector<platform::MenuEntry>& entries,
                            std::vector<TMenuItem*>& byId) const {
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem& item = parent.Item(i);
    platform::MenuEntry entry;
    entry.caption = item.Caption();
    entry.checked = item.Checked();
    if (images_ != nullptr && item.ImageIndex() >= 0 && item.ImageIndex() < images_->Count()) {
      entry.image = images_->Image(item.ImageIndex());
    }
    if (item.FillPending()) {
      // Asked for while the menu is shown, when the user opens the submenu; `byId` lives as
      // long as the menu does.
      entry.fill = [this, &item, &byId] {
        item.Fill();
        std::vector<platform::MenuEntry> children;
        AddEntries(item, children, byId);
        return children;
      };
    } else if (item.Count() > 0) {
      AddEntries(item, entry.children, byId);
    } else if (!item.IsSeparator()) {
      byId.push_back(&item);
      entry.id = static_cast<unsigned>(byId.size());
    }
    entries.push_back(std::move(entry));
  }
}

void TPopupMenu::Popup(int x, int y) {
  TApplication* application = FindApplication(*this);
  if (showing_ || (application != nullptr && application->ShownMenu() != nullptr)) return;
  std::vector<TMenuItem*> byId;
  unsigned chosen = 0;
  {
    const auto showing = RaiseForScope(showing_);
    if (application != nullptr) application->SetShownMenu(this);
    const ScopeExit shown([application] {
      if (application != nullptr) application->SetShownMenu(nullptr);
    });
    if (OnPopup) OnPopup(*this);
    std::vector<platform::MenuEntry> entries;
    AddEntries(*items_, entries, byId);
    const platform::Hwnd owner =
        application != nullptr ? application->Handle() : platform::kNoWindow;
    chosen = ui_.TrackPopupMenu(entries, {x, y}, owner);
  }
  // The menu is closed by now: what the command does (a wait, a dialog) may show menus again.
  if (chosen == 0 || chosen > byId.size()) return;
  byId[chosen - 1]->Click();
}

void TPopupMenu::SetImages(TImageList* images) {
  images_ = images;
  if (images_ != nullptr) images_->FreeNotification(*this);
}

void TPopupMenu::ReferenceRemoved(TComponent& component) {
  if (&component == images_) images_ = nullptr;
}

}  // namespace varnel
