// The platform contract on the simulated desktop.

#include "platform/sim/SimPlatform.h"
#include "tests/contract/PlatformContract.h"

namespace varnel::contract {
namespace {

class SimContractBackend final : public ContractBackend {
 public:
  platform::Platform& Get() override { return sim_.Get(); }

  platform::Hwnd MakeWindow(Owner owner, const platform::Rect& rect) override {
    sim::SimWindow window;
    window.className = "VarnelContractWindow";
    window.text = "contract";
    if (owner == Owner::OtherProcess) {
      window.exeName = "notepad.exe";
      window.processId = sim_.desktop.AddProcess(window.exeName);
    }
    window.style = 0x10CF0000;  // WS_OVERLAPPEDWINDOW | WS_VISIBLE
    window.exStyle = platform::WsExWindowEdge;
    window.rect = rect;
    window.visible = true;
    // The system's minimum tracking size for a captioned window, as Wine grants it.
    window.minWidth = 112;
    window.minHeight = 28;
    return sim_.desktop.AddWindow(window);
  }

  void DestroyWindow(platform::Hwnd window) override {
    const sim::SimWindow* found = sim_.desktop.Find(window);
    if (found != nullptr && found->processId != sim::kOwnProcessId) {
      sim_.desktop.KillProcess(found->processId);
    }
    sim_.desktop.DestroyWindow(window);
  }

  std::string Folder() override {
    sim_.files.CreateFolder(kFolder);
    return kFolder;
  }

  void MakeFile(const std::string& path, std::string_view contents,
                std::uint32_t attributes) override {
    sim_.files.WriteFile(path, contents);
    sim_.files.SetAttributes(path, attributes);
  }

  void MakeFolder(const std::string& path) override { sim_.files.CreateFolder(path); }

  void HoldOpen(const std::string& path, bool held) override {
    sim_.files.SetHeldOpen(path, held);
  }

  // As Windows does, the ANSI form is made from the Unicode text in the system's code page.
  bool PutClipboardText(const std::string& utf8) override {
    sim_.clipboard.SetContents(
        {{platform::CfUnicodeText, utf8},
         {platform::CfText, sim_.codepage.Utf8ToAnsi(utf8).value_or(std::string())}});
    return true;
  }

 private:
  static constexpr const char* kFolder = "C:\\Users\\Contract";
  sim::SimPlatform sim_;
};

}  // namespace

std::unique_ptr<ContractBackend> MakeContractBackend() {
  return std::make_unique<SimContractBackend>();
}

}  // namespace varnel::contract
