#include "platform/win32/Win32Platform.h"

#include "platform/win32/Services.h"
#include "platform/win32/Win32Ui.h"

namespace varnel::win32 {

namespace {

// COM for this thread, apartment-threaded as the shell's objects want; undone only when it was
// this object that did it.
class ComApartment {
 public:
  ComApartment()
      : initialized_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED |
                                                             COINIT_DISABLE_OLE1DDE))) {}
  ~ComApartment() {
    if (initialized_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

bool InitCommonControlsOnce() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                   ICC_WIN95_CLASSES;
  return ::InitCommonControlsEx(&controls) != FALSE;
}

}  // namespace

struct Win32Platform::Impl {
  ComApartment com;  // first in, last out: the shell object below lives inside it
  bool commonControls = InitCommonControlsOnce();
  Win32WindowManager windows;
  Win32FileSystem files;
  Win32Codepage codepage;
  Win32Kernel kernel;
  Win32Shell shell;
  Win32Ui ui;
  platform::Platform platform{windows, files, codepage, kernel, shell, ui};
};

Win32Platform::Win32Platform() : impl_(std::make_unique<Impl>()) {}

Win32Platform::~Win32Platform() = default;

platform::Platform& Win32Platform::Get() { return impl_->platform; }

}  // namespace varnel::win32
