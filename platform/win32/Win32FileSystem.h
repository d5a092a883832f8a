#pragma once
// The file system of the real platform: the wide file functions, with the settings file's
// replace done so that a failure never loses the old contents. Its counterpart on the
// simulated desktop is SimFileSystem.

#include "platform/win32/WindowsApi.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace varnel::win32 {

class Win32FileSystem final : public platform::FileSystem {
 public:
  std::uint32_t GetFileAttributes(const std::string& path) const override;
  std::optional<platform::FileAttributeData> GetFileAttributesEx(
      const std::string& path) const override;
  std::optional<std::uint64_t> GetFileSize(const std::string& path) const override;
  std::optional<std::string> ReadFile(const std::string& path) const override;
  bool ReplaceFile(const std::string& path, std::string_view contents) override;
  std::vector<platform::FindData> FindFiles(const std::string& pattern) const override;
  std::optional<std::string> FolderIdentity(const std::string& path) const override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  platform::CreateFileResult CreateFile(const std::string& path, std::uint32_t access,
                                        std::uint32_t share) const override;
};

// The path as every file function of the system takes it at any length: longer than MAX_PATH
// it gets the "\\?\" prefix, once made full.
std::wstring ExtendedIfLong(const std::wstring& path);
std::wstring LongPath(const std::string& utf8Path);

}  // namespace varnel::win32
