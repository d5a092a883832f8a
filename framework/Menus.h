#pragma once
// Popup menus as data: items with captions, tags, icons, check marks and children. The menu is
// turned into a native one only while it is shown.

#include <functional>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "platform/Ui.h"

namespace varnel {

// A list of 16 x 16 images that menu items refer to by index.
class TImageList : public TComponent {
 public:
  TImageList(TComponent* owner, std::string name, int width = 16, int height = 16);
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return static_cast<int>(images_.size()); }
  const platform::ImageRef& Image(int index) const { return images_.at(index); }
  // Appends a picture; returns its index.
  int Add(platform::ImageRef image);
  void Clear() { images_.clear(); }
  // Becomes a copy of `other`: the same pictures, shared.
  void Assign(const TImageList& other) { images_ = other.images_; }

 private:
  int width_;
  int height_;
  std::vector<platform::ImageRef> images_;
};

class TMenuItem : public TComponent {
 public:
  TMenuItem(TComponent* owner, std::string name, const std::string& caption, int imageIndex = -1);

  const std::string& Caption() const { return caption_; }
  bool IsSeparator() const { return caption_ == "-"; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  int ImageIndex() const { return imageIndex_; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { checked_ = checked; }

  void SetImageIndex(int index) { imageIndex_ = index; }
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Item(int index) const { return *items_.at(index); }
  // Creates a child item owned by this one; an item with children is a submenu.
  TMenuItem& Add(std::string name, const std::string& caption, int imageIndex = -1);
  // Removes and destroys the child items from `index` on.
  void DeleteFrom(int index);
  TMenuItem* Find(const std::string& name);

  // A submenu whose items are made the first time it opens: `fill` adds them to this item.
  void SetFill(std::function<void(TMenuItem&)> fill) { fill_ = std::move(fill); }
  bool FillPending() const { return fill_ != nullptr; }
  bool IsSubmenu() const { return Count() > 0 || FillPending(); }
  // Makes the items now, if they are still to be made.
  void Fill();

  // What choosing the item does.
  void Click();
  TNotifyEvent OnClick;

 protected:
  void ReferenceRemoved(TComponent& component) override;

 private:
  std::string caption_;
  int tag_ = 0;
  int imageIndex_;
  bool checked_ = false;
  std::vector<TMenuItem*> items_;
  std::function<void(TMenuItem&)> fill_;
};

class TPopupMenu : public TComponent {
 public:
  TPopupMenu(TComponent* owner, std::string name, platform::Ui& ui);

  // Fires OnPopup, shows the menu at the screen point and returns when it has closed; a
  // chosen item's click runs before the return. The menu's window owner is the application's.
  // Asked while this or another menu of the application is open (from a tick inside a menu's
  // loop), it returns at once: the system shows one menu at a time, and a second OnPopup
  // could rebuild the items being shown.
  void Popup(int x, int y);
  bool Showing() const { return showing_; }

  TMenuItem& Items() const { return *items_; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  TNotifyEvent OnPopup;

 protected:
  void ReferenceRemoved(TComponent& component) override;

 private:
  void AddEntries(const TMenuItem& parent, std::vector<platform::MenuEntry>& entries,
                  std::vector<TMenuItem*>& byId) const;

  platform::Ui& ui_;
  bool showing_ = false;
  TMenuItem* items_;
  TImageList* images_ = nullptr;
};

}  // namespace varnel
