#pragma once
// What the platform contract suite needs from a backend: the platform itself and a few ways to
// set a scenario up that the platform interface has no call for. The simulated desktop
// (tests/unit) and the real Win32 system (tests/win) each define MakeContractBackend.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace varnel::contract {

enum class Owner { ThisProcess, OtherProcess };

class ContractBackend {
 public:
  virtual ~ContractBackend() = default;

  virtual platform::Platform& Get() = 0;
  // A visible top-level window with a caption and a sizing border (WS_OVERLAPPEDWINDOW) at
  // `rect`, as the Explorer's window is; of this process or of a process of its own.
  virtual platform::Hwnd MakeWindow(Owner owner, const platform::Rect& rect) = 0;
  // Destroys the window (ends its process when that is another one); on return it is gone.
  virtual void DestroyWindow(platform::Hwnd window) = 0;
  // A folder of this test's own, empty at first, as a full path without a trailing backslash.
  virtual std::string Folder() = 0;
  virtual void MakeFile(const std::string& path, std::string_view contents,
                        std::uint32_t attributes) = 0;
  virtual void MakeFolder(const std::string& path) = 0;
  // Another program opens the file without sharing it (a writer still at work), or lets it go.
  virtual void HoldOpen(const std::string& path, bool held) = 0;
  // Another program puts `utf8` on the clipboard as Unicode text; the system offers it in the
  // ANSI text format as well. False where the backend cannot.
  virtual bool PutClipboardText(const std::string& utf8) = 0;
};

std::unique_ptr<ContractBackend> MakeContractBackend();

// The registry key under HKEY_CURRENT_USER that the cases may write to; a backend on the real
// system removes it, whatever it holds, when it goes.
inline constexpr char kContractRegistryKey[] = "Software\\VarnelContract";

}  // namespace varnel::contract
