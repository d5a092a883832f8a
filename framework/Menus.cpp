#include "framework/Menus.h"

#include <algorithm>

namespace varnel {

TImageList::TImageList(TComponent* owner, std::string name, int width, int height)
    : TComponent(owner, std::move(name)), width_(width), height_(height) {}

TMenuItem::TMenuItem(TComponent* owner, std::string name, const std::string& caption,
                     int imageIndex)
    : TComponent(owner, std::move(name)), caption_(caption), imageIndex_(imageIndex) {}

TMenuItem& TMenuItem::Add(std::string name, const std::string& caption, int imageIndex) {
  TMenuItem& item = TComponent::Create<TMenuItem>(*this, std::move(name), caption, imageIndex);
  items_.push_back(&item);
  return item;
}

TMenuItem* TMenuItem::Find(const std::string& name) {
  if (Name() == name) return this;
  for (TMenuItem* item : items_) {
    if (TMenuItem* found = item->Find(name)) return found;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(*this);
}

void TMenuItem::ReferenceRemoved(TComponent& component) {
  items_.erase(std::remove(items_.begin(), items_.end(), &component), items_.end());
}

TPopupMenu::TPopupMenu(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)),
      items_(&TComponent::Create<TMenuItem>(*this, Name() + "Items", "")) {}

void TPopupMenu::SetImages(TImageList* images) {
  images_ = images;
  if (images_ != nullptr) images_->FreeNotification(*this);
}

void TPopupMenu::ReferenceRemoved(TComponent& component) {
  if (&component == images_) images_ = nullptr;
}

}  // namespace varnel
