#pragma once
// Owners for the system handles the program creates. One move-only template does the work;
// each handle kind is a typedef naming its invalid value and its release call. Copying an
// owner does not compile, so a handle has exactly one owner at a time.

#include "platform/win32/WindowsApi.h"

#include <utility>

namespace varnel::win32 {

template <typename Handle, auto Close, Handle Invalid = Handle{}>
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
  explicit operator bool() const { return handle_ != Invalid; }

  void reset(Handle handle = Invalid) {
    const Handle old = std::exchange(handle_, handle);
    if (old != Invalid) Close(old);
  }
  [[nodiscard]] Handle release() { return std::exchange(handle_, Invalid); }
  // For calls that return a handle through an out-parameter: frees the current one first.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Invalid;
};

namespace detail {
inline void CloseHwnd(HWND h) { ::DestroyWindow(h); }
inline void CloseHicon(HICON h) { ::DestroyIcon(h); }
inline void CloseHmenu(HMENU h) { ::DestroyMenu(h); }
inline void CloseHimagelist(HIMAGELIST h) { ::ImageList_Destroy(h); }
inline void CloseGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void CloseHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseHkey(HKEY h) { ::RegCloseKey(h); }
inline void CloseHdc(HDC h) { ::DeleteDC(h); }
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
// CreateFile reports failure with INVALID_HANDLE_VALUE, not null; a constant expression cannot
// hold that pointer, so files go through this small wrapper instead of the template.
class unique_hfile {
 public:
  unique_hfile() = default;
  explicit unique_hfile(HANDLE handle) : handle_(handle) {}
  unique_hfile(const unique_hfile&) = delete;
  unique_hfile& operator=(const unique_hfile&) = delete;
  unique_hfile(unique_hfile&& other) noexcept : handle_(other.release()) {}
  unique_hfile& operator=(unique_hfile&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~unique_hfile() { reset(); }

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  void reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    const HANDLE old = std::exchange(handle_, handle);
    if (old != INVALID_HANDLE_VALUE) ::CloseHandle(old);
  }
  [[nodiscard]] HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};
using unique_hkey = UniqueAny<HKEY, detail::CloseHkey>;

// A COM interface pointer: Release on reset, AddRef never done behind the caller's back.
template <typename Interface>
class unique_com {
 public:
  unique_com() = default;
  explicit unique_com(Interface* pointer) : pointer_(pointer) {}
  unique_com(const unique_com&) = delete;
  unique_com& operator=(const unique_com&) = delete;
  unique_com(unique_com&& other) noexcept : pointer_(other.release()) {}
  unique_com& operator=(unique_com&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~unique_com() { reset(); }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  void reset(Interface* pointer = nullptr) {
    Interface* old = std::exchange(pointer_, pointer);
    if (old) old->Release();
  }
  [[nodiscard]] Interface* release() { return std::exchange(pointer_, nullptr); }
  Interface** put() {
    reset();
    return &pointer_;
  }
  // For CoCreateInstance and QueryInterface, which write through a void**.
  void** put_void() { return reinterpret_cast<void**>(put()); }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace varnel::win32
