#pragma once
// Owners for the system handles the program creates. One move-only template does the work;
// each handle kind is a typedef naming its release call and, where "none" is not null, the
// policy that says what none is. Copying an owner does not compile, so a handle has exactly
// one owner at a time.

#include "platform/win32/WindowsApi.h"

#include <utility>

namespace varnel::win32 {

// What an empty owner holds, and which values are handles to release. Most handle kinds say
// "none" with null.
template <typename Handle>
struct NullIsNone {
  static Handle None() noexcept { return Handle{}; }
  static bool IsValid(Handle handle) noexcept { return handle != Handle{}; }
};

// CreateFile, FindFirstFile and CreateToolhelp32Snapshot report failure with
// INVALID_HANDLE_VALUE, not null.
struct InvalidHandleValueIsNone {
  static HANDLE None() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE handle) noexcept { return handle != INVALID_HANDLE_VALUE; }
};

template <typename Handle, auto Close, typename Policy = NullIsNone<Handle>>
class UniqueAny {
 public:
  UniqueAny() = default;
  explicit UniqueAny(Handle handle) : handle_(handle) {}
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueAny() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Policy::IsValid(handle_); }

  void reset(Handle handle = Policy::None()) {
    const Handle old = std::exchange(handle_, handle);
    if (Policy::IsValid(old)) Close(old);
  }
  [[nodiscard]] Handle release() { return std::exchange(handle_, Policy::None()); }
  // For calls that return a handle through an out-parameter: frees the current one first.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Policy::None();
};

// An object selected into a device context, with the one it replaced: releasing the owner
// selects that one back, so that the object can be deleted and the context released.
struct GdiSelection {
  HDC dc = nullptr;
  HGDIOBJ previous = nullptr;
};
struct GdiSelectionPolicy {
  static GdiSelection None() noexcept { return {}; }
  // SelectObject answers null (or HGDI_ERROR for a region) when it selected nothing.
  static bool IsValid(GdiSelection selection) noexcept {
    return selection.previous != nullptr && selection.previous != HGDI_ERROR;
  }
};

namespace detail {
inline void CloseHwnd(HWND h) { ::DestroyWindow(h); }
inline void CloseHicon(HICON h) { ::DestroyIcon(h); }
inline void CloseHmenu(HMENU h) { ::DestroyMenu(h); }
inline void CloseHimagelist(HIMAGELIST h) { ::ImageList_Destroy(h); }
inline void CloseGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void CloseHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseFind(HANDLE h) { ::FindClose(h); }
inline void CloseHkey(HKEY h) { ::RegCloseKey(h); }
inline void CloseHdc(HDC h) { ::DeleteDC(h); }
inline void RestoreSelection(GdiSelection s) { ::SelectObject(s.dc, s.previous); }
template <typename Interface>
void ReleaseCom(Interface* pointer) {
  pointer->Release();
}
}  // namespace detail

using unique_hwnd = UniqueAny<HWND, detail::CloseHwnd>;
using unique_hicon = UniqueAny<HICON, detail::CloseHicon>;
using unique_hmenu = UniqueAny<HMENU, detail::CloseHmenu>;
using unique_himagelist = UniqueAny<HIMAGELIST, detail::CloseHimagelist>;
using unique_hfont = UniqueAny<HFONT, detail::CloseGdiObject>;
using unique_hbitmap = UniqueAny<HBITMAP, detail::CloseGdiObject>;
using unique_hbrush = UniqueAny<HBRUSH, detail::CloseGdiObject>;
using unique_hdc = UniqueAny<HDC, detail::CloseHdc>;
// Handles whose "none" is null (mutexes, events, threads).
using unique_handle = UniqueAny<HANDLE, detail::CloseHandle>;
// Files and tool-help snapshots.
using unique_hfile = UniqueAny<HANDLE, detail::CloseHandle, InvalidHandleValueIsNone>;
// Folder listings of FindFirstFile.
using unique_hfind = UniqueAny<HANDLE, detail::CloseFind, InvalidHandleValueIsNone>;
using unique_hkey = UniqueAny<HKEY, detail::CloseHkey>;
using unique_select_object = UniqueAny<GdiSelection, detail::RestoreSelection, GdiSelectionPolicy>;

// SelectObject whose selection ends with the owner it returns.
[[nodiscard]] inline unique_select_object SelectInto(HDC dc, HGDIOBJ object) {
  return unique_select_object(GdiSelection{dc, ::SelectObject(dc, object)});
}

// A COM interface pointer: Release on reset, AddRef never done behind the caller's back.
template <typename Interface>
class unique_com : public UniqueAny<Interface*, detail::ReleaseCom<Interface>> {
 public:
  using UniqueAny<Interface*, detail::ReleaseCom<Interface>>::UniqueAny;
  Interface* operator->() const { return this->get(); }
  // For CoCreateInstance and QueryInterface, which write through a void**.
  void** put_void() { return reinterpret_cast<void**>(this->put()); }
};

}  // namespace varnel::win32
