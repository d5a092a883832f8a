#include "framework/Dialogs.h"

#include "framework/Application.h"

namespace varnel {

TFolderDialog::TFolderDialog(TComponent* owner, std::string name, TForm& form)
    : TComponent(owner, std::move(name)), form_(form) {}

bool TFolderDialog::Execute() {
  const std::optional<std::string> chosen =
      form_.Application().Platform().ui.BrowseForFolder(form_.Handle(), Title, Folder);
  if (!chosen) return false;
  if (!chosen->empty()) Folder = *chosen;
  return true;
}

TOpenDialog::TOpenDialog(TComponent* owner, std::string name, TForm& form)
    : TComponent(owner, std::move(name)), form_(form) {}

bool TOpenDialog::Execute() {
  const std::optional<std::string> chosen =
      form_.Application().Platform().ui.GetOpenFileName(form_.Handle(), Filter, DefaultExt);
  if (!chosen) return false;
  FileName = *chosen;
  return true;
}

}  // namespace varnel
