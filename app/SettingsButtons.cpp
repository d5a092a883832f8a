// The settings window's buttons: the folder and program choosers, and the watched extensions.

#include "app/Unit1.h"

namespace varnel {

namespace {

// Blanks and control characters off both ends, as a typed entry is taken.
std::string Trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

}  // namespace

bool TForm1::BrowseFolder(std::string& setting, TEdit& field) {
  // The dialog starts on the setting, not on what may have been typed into the field.
  FolderDialog1->Folder = setting;
  if (!FolderDialog1->Execute()) return false;
  setting = FolderDialog1->Folder;
  if (!setting.empty() && setting.back() != '\\') setting += '\\';
  field.SetText(setting);
  return true;
}

void TForm1::Button1Click(TComponent&) { BrowseFolder(Settings.Exp.Path, *Edit1); }
void TForm1::Button7Click(TComponent&) { BrowseFolder(Settings.Exp.PathEx, *Edit10); }
void TForm1::Button3Click(TComponent&) { BrowseFolder(Settings.Watch.TrgPath, *Edit3); }

void TForm1::Button6Click(TComponent&) {
  if (BrowseFolder(Settings.Launch.Path, *Edit5)) LoadLaunchMenu();
}

void TForm1::Button2Click(TComponent&) {
  if (BrowseFolder(Settings.Watch.SRCPath, *Edit2)) BuildWatchMask();
}

void TForm1::Button8Click(TComponent&) {
  OpenDialog1->Filter = "実行形式 file(*.exe)|*.exe";
  OpenDialog1->DefaultExt = ".exe";
  if (!OpenDialog1->Execute()) return;
  Settings.Watch.AppPath = OpenDialog1->FileName;
  Edit11->SetText(Settings.Watch.AppPath);
}

void TForm1::Button4Click(TComponent&) {
  const std::string extension = Trimmed(Edit4->Text());
  if (extension.empty()) return;
  ListBox1->Items().Add(extension);
  Edit4->SetText("");
  BuildWatchMask();
}

void TForm1::Button5Click(TComponent&) {
  const int selected = ListBox1->ItemIndex();
  if (selected < 0 || selected >= ListBox1->Items().Count()) return;
  ListBox1->Items().Delete(selected);
  BuildWatchMask();
}

}  // namespace varnel
