#include "platform/win32/PopupMenu.h"

#include <atomic>
#include <string>

#include "platform/win32/Image.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Text.h"

namespace varnel::win32 {

namespace {

constexpr int kIconSize = 16;

// Captions are shown as written: a file named "Tom & Jerry" must not lose its ampersand to an
// access key.
std::wstring MenuCaption(const std::string& caption) {
  std::wstring text;
  for (wchar_t c : Widen(caption)) {
    text += c;
    if (c == L'&') text += L'&';
  }
  return text;
}

// Fills `menu` with `items`; submenus are created and handed to their parent item, which
// destroys them with itself.
void AppendItems(HMENU menu, const std::vector<platform::MenuEntry>& items) {
  UINT position = 0;
  for (const platform::MenuEntry& entry : items) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    std::wstring caption;
    if (entry.caption == "-") {
      item.fMask = MIIM_FTYPE;
      item.fType = MFT_SEPARATOR;
    } else {
      caption = MenuCaption(entry.caption);
      item.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE;
      item.fType = MFT_STRING;
      item.dwTypeData = caption.data();
      item.wID = entry.id;
      item.fState = entry.checked ? MFS_CHECKED : MFS_UNCHECKED;
      // Drawn on request by the owner (see MenuIconPainter): DrawIconEx keeps the icon's
      // alpha on every system, where a bitmap item would need a premultiplied DIB.
      if (HICON icon = IconOf(entry.image)) {
        item.fMask |= MIIM_BITMAP | MIIM_DATA;
        item.hbmpItem = HBMMENU_CALLBACK;
        item.dwItemData = reinterpret_cast<ULONG_PTR>(icon);
      }
      if (!entry.children.empty()) {
        unique_hmenu submenu(::CreatePopupMenu());
        if (submenu) {
          AppendItems(submenu.get(), entry.children);
          item.fMask |= MIIM_SUBMENU;
          item.hSubMenu = submenu.get();
        }
        if (::InsertMenuItemW(menu, position, TRUE, &item)) {
          (void)submenu.release();  // the parent item owns it now
          ++position;
        }
        continue;
      }
    }
    if (::InsertMenuItemW(menu, position, TRUE, &item)) ++position;
  }
}

// Answers the owner's WM_MEASUREITEM and WM_DRAWITEM for the icons of the menu being shown,
// for as long as it lives: a subclass of the owner, so that any window of ours can own a menu.
class MenuIconPainter {
 public:
  explicit MenuIconPainter(HWND owner) : owner_(owner), id_(NextId()) {
    installed_ = ::SetWindowSubclass(owner_, Procedure, id_, 0) != FALSE;
  }
  ~MenuIconPainter() {
    if (installed_) ::RemoveWindowSubclass(owner_, Procedure, id_);
  }
  MenuIconPainter(const MenuIconPainter&) = delete;
  MenuIconPainter& operator=(const MenuIconPainter&) = delete;

 private:
  // One id per menu shown, so that a menu shown from inside another one's loop (a timer's
  // handler) removes its own hook only.
  static UINT_PTR NextId() {
    static std::atomic<UINT_PTR> next{0x564D4E00};  // "VMN"
    return next++;
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR) {
    if (message == WM_MEASUREITEM) {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure && measure->CtlType == ODT_MENU && measure->itemData != 0) {
        // A little air between the picture and the caption (Wine draws them edge to edge).
        measure->itemWidth = kIconSize + 4;
        measure->itemHeight = kIconSize;
        return TRUE;
      }
    } else if (message == WM_DRAWITEM) {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (draw && draw->CtlType == ODT_MENU && draw->itemData != 0) {
        const RECT& area = draw->rcItem;
        const int x = area.left + (area.right - area.left - kIconSize) / 2;
        const int y = area.top + (area.bottom - area.top - kIconSize) / 2;
        ::DrawIconEx(draw->hDC, x, y, reinterpret_cast<HICON>(draw->itemData), kIconSize,
                     kIconSize, 0, nullptr, DI_NORMAL);
        return TRUE;
      }
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
  }

  HWND owner_;
  UINT_PTR id_;
  bool installed_ = false;
};

}  // namespace

// Why the foreground and the WM_NULL: a menu shown for a window that is not in the
// foreground does not close when the user clicks elsewhere, and the second showing of such a
// menu closes at once unless a message reaches the owner after the first (the documented idiom
// for notification-area menus).
unsigned ShowPopupMenu(const std::vector<platform::MenuEntry>& items, POINT at, HWND owner) {
  if (items.empty() || !::IsWindow(owner)) return 0;
  const unique_hmenu menu(::CreatePopupMenu());
  if (!menu) return 0;
  AppendItems(menu.get(), items);
  const MenuIconPainter painter(owner);
  ::SetForegroundWindow(owner);
  const BOOL chosen = ::TrackPopupMenuEx(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y,
      owner, nullptr);
  ::PostMessageW(owner, WM_NULL, 0, 0);
  return chosen > 0 ? static_cast<unsigned>(chosen) : 0;
}

}  // namespace varnel::win32
