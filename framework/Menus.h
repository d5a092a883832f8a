#pragma once
// Popup menus as data: items with captions, tags, icons, check marks and children. The menu is
// turned into a native one only while it is shown.

#include <string>
#include <vector>

#include "framework/Component.h"

namespace varnel {

// A list of 16 x 16 images that menu items refer to by index.
class TImageList : public TComponent {
 public:
  TImageList(TComponent* owner, std::string name, int width = 16, int height = 16);
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return count_; }

 private:
  int width_;
  int height_;
  int count_ = 0;
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

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Item(int index) const { return *items_.at(index); }
  // Creates a child item owned by this one; an item with children is a submenu.
  TMenuItem& Add(std::string name, const std::string& caption, int imageIndex = -1);
  TMenuItem* Find(const std::string& name);

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
};

class TPopupMenu : public TComponent {
 public:
  TPopupMenu(TComponent* owner, std::string name);

  TMenuItem& Items() const { return *items_; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  TNotifyEvent OnPopup;

 protected:
  void ReferenceRemoved(TComponent& component) override;

 private:
  TMenuItem* items_;
  TImageList* images_ = nullptr;
};

}  // namespace varnel
