#include "platform/win32/Win32Clipboard.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>

#include "base/ScopeExit.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Text.h"

namespace varnel::win32 {

static_assert(platform::WmDrawClipboard == WM_DRAWCLIPBOARD);
static_assert(platform::WmChangeCbChain == WM_CHANGECBCHAIN);
static_assert(platform::CfText == CF_TEXT);
static_assert(platform::CfUnicodeText == CF_UNICODETEXT);

platform::Hwnd Win32Clipboard::SetClipboardViewer(platform::Hwnd viewer) {
  return FromHwnd(::SetClipboardViewer(ToHwnd(viewer)));
}

namespace {

// One leave of the chain, shared by the thread that makes it and the one that waits for it:
// whichever of them finishes last frees it.
struct ChainChange {
  HWND remove = nullptr;
  HWND next = nullptr;
  unique_handle done;
  BOOL answer = FALSE;
};

DWORD WINAPI ChangeChainThread(void* parameter) {
  const std::unique_ptr<std::shared_ptr<ChainChange>> handed(
      static_cast<std::shared_ptr<ChainChange>*>(parameter));
  const std::shared_ptr<ChainChange> change = *handed;
  change->answer = ::ChangeClipboardChain(change->remove, change->next);
  ::SetEvent(change->done.get());
  return 0;
}

}  // namespace

// Why on a thread of its own: ChangeClipboardChain sends WM_CHANGECBCHAIN to the head of the
// chain and waits for its answer without any limit, and the head can be a program that has
// stopped taking messages; the exit would then never end. The call is made on a short-lived
// thread, and this one waits a bounded time for it, letting in the messages sent to it
// meanwhile (the notice can come down the chain to our own window). A thread still waiting
// when the time is up finishes whenever the head answers, or ends with the process.
// The system's answer is whatever the chain's windows returned for WM_CHANGECBCHAIN.
bool Win32Clipboard::ChangeClipboardChain(platform::Hwnd remove, platform::Hwnd next) {
  auto change = std::make_shared<ChainChange>();
  change->remove = ToHwnd(remove);
  change->next = ToHwnd(next);
  change->done.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  auto* handed = new std::shared_ptr<ChainChange>(change);
  const unique_handle thread(
      change->done ? ::CreateThread(nullptr, 0, ChangeChainThread, handed, 0, nullptr) : nullptr);
  if (!thread) {
    // No thread to be had: the system is out of resources, and the plain call is all there is.
    delete handed;
    return ::ChangeClipboardChain(change->remove, change->next) != FALSE;
  }
  const HANDLE done = change->done.get();
  const DWORD start = ::GetTickCount();
  for (;;) {
    const DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= kChainWaitMs) return false;
    const DWORD woken =
        ::MsgWaitForMultipleObjectsEx(1, &done, kChainWaitMs - elapsed, QS_SENDMESSAGE, 0);
    if (woken == WAIT_OBJECT_0) return change->answer != FALSE;
    if (woken != WAIT_OBJECT_0 + 1) return false;
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

namespace {

// Opened without a window: reading needs no owner (only emptying and setting do), and so the
// clipboard can be read from anywhere on the UI thread. `read` gets the format's memory,
// locked, and its size; nothing when the clipboard cannot be opened or holds no such format.
template <class T, class Read>
std::optional<T> ReadClipboard(unsigned format, Read read) {
  if (!::OpenClipboard(nullptr)) return std::nullopt;
  const ScopeExit close([] { ::CloseClipboard(); });
  const HANDLE data = ::GetClipboardData(format);
  if (!data) return std::nullopt;
  const void* locked = ::GlobalLock(data);
  if (!locked) return std::nullopt;
  const ScopeExit unlock([data] { ::GlobalUnlock(data); });
  return read(locked, ::GlobalSize(data));
}

}  // namespace

unsigned Win32Clipboard::RegisterClipboardFormat(const std::string& name) {
  return ::RegisterClipboardFormatW(Widen(name).c_str());
}

std::optional<std::uint32_t> Win32Clipboard::GetClipboardDword(unsigned format) const {
  return ReadClipboard<std::uint32_t>(format, [](const void* locked, SIZE_T size)
                                                 -> std::optional<std::uint32_t> {
    if (size < sizeof(DWORD)) return std::nullopt;
    DWORD value = 0;
    std::memcpy(&value, locked, sizeof value);
    return value;
  });
}

bool Win32Clipboard::IsClipboardFormatAvailable(unsigned format) const {
  return ::IsClipboardFormatAvailable(format) != FALSE;
}

// Whatever another program put there is not trusted to be terminated: the text ends at its
// first zero or at the end of the memory block, whichever comes first.
std::optional<std::string> Win32Clipboard::GetClipboardData(unsigned format) const {
  if (format != CF_TEXT && format != CF_UNICODETEXT) return std::nullopt;
  return ReadClipboard<std::string>(format, [format](const void* locked, SIZE_T size) {
    if (format == CF_TEXT) {
      const auto* bytes = static_cast<const char*>(locked);
      return std::string(bytes, std::find(bytes, bytes + size, '\0'));
    }
    const auto* units = static_cast<const wchar_t*>(locked);
    const SIZE_T count = size / sizeof(wchar_t);
    return Narrow(std::wstring_view(units, std::find(units, units + count, L'\0') - units));
  });
}

}  // namespace varnel::win32
