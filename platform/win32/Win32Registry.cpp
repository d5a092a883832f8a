#include "platform/win32/Win32Registry.h"

#include <algorithm>

#include "platform/win32/Resource.h"
#include "platform/win32/Text.h"

namespace varnel::win32 {

namespace {

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

}  // namespace

std::optional<std::string> Win32Registry::RegQueryValueEx(const std::string& subKey,
                                                          const std::string& name) const {
  unique_hkey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(subKey).c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::wstring wideName = Widen(name);
  // Another program may make the value longer between the question for its size and the
  // read; the read then says so, and the size is asked again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        !IsString(type)) {
      return std::nullopt;
    }
    // Whoever wrote the value need not have ended it with a zero, nor given it a whole number
    // of characters: one character more than the bytes hold is always room for the zero.
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LONG result = ::RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(text.data()), &read);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS || !IsString(type)) return std::nullopt;
    text.resize(std::min<std::size_t>(read / sizeof(wchar_t), text.size()));
    text.resize(std::min(text.size(), text.find(L'\0')));
    return Narrow(text);
  }
  return std::nullopt;
}

bool Win32Registry::RegSetValueEx(const std::string& subKey, const std::string& name,
                                  const std::string& data) {
  unique_hkey key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, Widen(subKey).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring wide = Widen(data);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);  // with its zero
  if (bytes > MAXDWORD) return false;
  return ::RegSetValueExW(key.get(), Widen(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(wide.c_str()),
                          static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
}

bool Win32Registry::RegDeleteValue(const std::string& subKey, const std::string& name) {
  unique_hkey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(subKey).c_str(), 0, KEY_SET_VALUE, key.put()) !=
      ERROR_SUCCESS) {
    return false;
  }
  return ::RegDeleteValueW(key.get(), Widen(name).c_str()) == ERROR_SUCCESS;
}

}  // namespace varnel::win32
