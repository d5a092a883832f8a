#pragma once
// The dialogs the settings window runs: choosing a folder, choosing a program file. Each is
// modal to its owner form.

#include <string>

#include "framework/Component.h"
#include "framework/Forms.h"

namespace varnel {

class TFolderDialog : public TComponent {
 public:
  TFolderDialog(TComponent* owner, std::string name, TForm& form);

  // Before Execute the folder to select at the start; after a confirmed Execute the chosen
  // folder, without a trailing backslash but on a drive root.
  std::string Folder;
  // The instruction line at the top of the dialog.
  std::string Title = "フォルダーの選択";

  // Whether the user confirmed a folder. A confirmed item with no path in the file system
  // leaves Folder as it was.
  bool Execute();

 private:
  TForm& form_;
};

class TOpenDialog : public TComponent {
 public:
  TOpenDialog(TComponent* owner, std::string name, TForm& form);

  // "description|pattern" pairs joined by "|".
  std::string Filter;
  std::string DefaultExt;
  // The chosen file's full path after a confirmed Execute.
  std::string FileName;

  bool Execute();

 private:
  TForm& form_;
};

}  // namespace varnel
