#include "platform/win32/PopupMenu.h"

#include <atomic>
#include <functional>
#include <map>
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

// The submenus of the menu being shown that are made when they first open, by handle.
using LazySubmenus = std::map<HMENU, std::function<std::vector<platform::MenuEntry>()>>;

// Fills `menu` with `items`; submenus are created and handed to their parent item, which
// destroys them with itself. A submenu to be made when it opens is created empty and noted in
// `lazy`.
void AppendItems(HMENU menu, const std::vector<platform::MenuEntry>& items, LazySubmenus& lazy) {
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
      // Drawn on request by the owner (see MenuHook): DrawIconEx keeps the icon's alpha on
      // every system, where a bitmap item would need a premultiplied DIB.
      if (HICON icon = IconOf(entry.image)) {
        item.fMask |= MIIM_BITMAP | MIIM_DATA;
        item.hbmpItem = HBMMENU_CALLBACK;
        item.dwItemData = reinterpret_cast<ULONG_PTR>(icon);
      }
      if (entry.IsSubmenu()) {
        unique_hmenu submenu(::CreatePopupMenu());
        if (submenu) {
          if (entry.children.empty()) {
            lazy[submenu.get()] = entry.fill;
          } else {
            AppendItems(submenu.get(), entry.children, lazy);
          }
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

// For as long as the menu is shown, a subclass of its owner: it makes a submenu when it is
// about to open (WM_INITMENUPOPUP), and answers WM_MEASUREITEM and WM_DRAWITEM for the icons.
// A subclass, so that any window of ours can own a menu.
class MenuHook {
 public:
  explicit MenuHook(HWND owner) : owner_(owner), id_(NextId()) {
    installed_ = ::SetWindowSubclass(owner_, Procedure, id_, reinterpret_cast<DWORD_PTR>(this)) !=
                 FALSE;
  }
  ~MenuHook() {
    if (installed_) ::RemoveWindowSubclass(owner_, Procedure, id_);
  }
  MenuHook(const MenuHook&) = delete;
  MenuHook& operator=(const MenuHook&) = delete;

  LazySubmenus& Lazy() { return lazy_; }

 private:
  // One id per menu shown, so that a menu shown from inside another one's loop (a timer's
  // handler) removes its own hook only.
  static UINT_PTR NextId() {
    static std::atomic<UINT_PTR> next{0x564D4E00};  // "VMN"
    return next++;
  }

  // Made once: the entry is forgotten before its items are asked for, so that a second
  // notice while they are made finds nothing to do.
  void Fill(HMENU submenu) {
    const auto found = lazy_.find(submenu);
    if (found == lazy_.end()) return;
    const auto fill = std::move(found->second);
    lazy_.erase(found);
    if (fill) AppendItems(submenu, fill(), lazy_);
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data) {
    if (message == WM_INITMENUPOPUP) {
      reinterpret_cast<MenuHook*>(data)->Fill(reinterpret_cast<HMENU>(wParam));
    } else if (message == WM_MEASUREITEM) {
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
  LazySubmenus lazy_;
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
  MenuHook hook(owner);
  AppendItems(menu.get(), items, hook.Lazy());
  ::SetForegroundWindow(owner);
  const BOOL chosen = ::TrackPopupMenuEx(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y,
      owner, nullptr);
  ::PostMessageW(owner, WM_NULL, 0, 0);
  return chosen > 0 ? static_cast<unsigned>(chosen) : 0;
}

}  // namespace varnel::win32
