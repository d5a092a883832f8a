#pragma once
// The picture behind platform::Image: one icon handle, destroyed with the last holder of the
// image. Shell icons, the program's own icons and menu pictures all travel as this type.

#include "platform/Platform.h"
#include "platform/win32/Resource.h"

namespace varnel::win32 {

class Win32Image final : public platform::Image {
 public:
  explicit Win32Image(unique_hicon icon) : icon_(std::move(icon)) {}
  HICON Icon() const { return icon_.get(); }

 private:
  unique_hicon icon_;
};

// Null when there is no image or when it does not come from this backend.
inline HICON IconOf(const platform::ImageRef& image) {
  const auto* own = dynamic_cast<const Win32Image*>(image.get());
  return own ? own->Icon() : nullptr;
}

// Takes ownership of `icon`; nothing for a null handle.
inline platform::ImageRef MakeImage(HICON icon) {
  if (!icon) return nullptr;
  return std::make_shared<Win32Image>(unique_hicon(icon));
}

}  // namespace varnel::win32
