#pragma once
// The real platform: one instance of every service, for the program's whole life. Creating it
// readies the thread for the shell's COM objects and the common controls. Kept free of
// <windows.h> so that app/ can create it.

#include <memory>

#include "platform/Platform.h"
#include "platform/Ui.h"

namespace varnel::win32 {

class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  platform::Platform& Get();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace varnel::win32
