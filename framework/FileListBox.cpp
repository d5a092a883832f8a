#include "framework/FileListBox.h"

#include <algorithm>

#include "base/Paths.h"

namespace varnel {

TFileListBox::TFileListBox(TComponent* owner, std::string name, platform::Platform& platform)
    : TComponent(owner, std::move(name)), platform_(platform) {}

void TFileListBox::Update() {
  items_.clear();
  if (directory_.empty()) return;
  constexpr std::uint32_t kLeftOut = platform::FileAttributeDirectory |
                                     platform::FileAttributeHidden | platform::FileAttributeSystem;
  std::size_t start = 0;
  while (start <= mask_.size()) {
    const std::size_t end = std::min(mask_.find(';', start), mask_.size());
    const std::string pattern = mask_.substr(start, end - start);
    start = end + 1;
    if (pattern.empty()) continue;
    for (const platform::FindData& found : platform_.files.FindFiles(JoinPath(directory_, pattern))) {
      if ((found.attributes & kLeftOut) == 0) items_.push_back(found.name);
    }
  }
  const platform::Kernel& kernel = platform_.kernel;
  std::stable_sort(items_.begin(), items_.end(), [&kernel](const auto& a, const auto& b) {
    return kernel.CompareText(a, b) < 0;
  });
}

void TFileListBox::Add(std::string name) {
  const platform::Kernel& kernel = platform_.kernel;
  const auto place = std::upper_bound(items_.begin(), items_.end(), name,
                                      [&kernel](const std::string& a, const std::string& b) {
                                        return kernel.CompareText(a, b) < 0;
                                      });
  items_.insert(place, std::move(name));
}

}  // namespace varnel
