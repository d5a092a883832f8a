#pragma once
// A listing of the plain files of one folder that match a mask, sorted by name without case.
// It is never shown: it holds what it found when it was last re-read.

#include <string>
#include <vector>

#include "framework/Component.h"
#include "platform/Platform.h"

namespace varnel {

class TFileListBox : public TComponent {
 public:
  TFileListBox(TComponent* owner, std::string name, platform::Platform& platform);

  const std::string& Directory() const { return directory_; }
  void SetDirectory(std::string directory) { directory_ = std::move(directory); }
  // Patterns separated by ";", each matched on its own as FindFirstFile matches.
  const std::string& Mask() const { return mask_; }
  void SetMask(std::string mask) { mask_ = std::move(mask); }

  // Reads the folder again. Folders, hidden and system files are left out; a name that two
  // patterns match is listed twice. A missing or unset folder lists nothing.
  void Update();
  const std::vector<std::string>& Items() const { return items_; }
  // Takes one name into the listing at its sorted place, as if it had been read there; the
  // next re-read shows the folder as it is again.
  void Add(std::string name);
  int Count() const { return static_cast<int>(items_.size()); }

 private:
  platform::Platform& platform_;
  std::string directory_;
  std::string mask_;
  std::vector<std::string> items_;
};

}  // namespace varnel
