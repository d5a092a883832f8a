// The settings window's buttons: the folder and program choosers, and the watched extensions.

#include "app/Unit1.h"
#include "base/Ascii.h"
#include "settings/Rw_ini.h"
#include "settings/SettingsKeys.h"
#include "watch/WatchExtensions.h"

namespace varnel {


void TForm1::ShowRefusal(const std::string& text) {
  System().ui.MessageBox(Handle(), text, Application().Title(),
                         platform::MbOk | platform::MbIconWarning);
}

bool TForm1::BrowseFolder(const SettingKey& key, TEdit& field) {
  std::string& setting = key.text(Settings);
  // The dialog starts on the setting, not on what may have been typed into the field.
  FolderDialog1->Folder = setting;
  if (!FolderDialog1->Execute()) return false;
  setting = FolderDialog1->Folder;
  if (!setting.empty() && setting.back() != '\\') setting += '\\';
  ForgetMissingPath(Settings, key);
  field.SetText(setting);
  return true;
}

void TForm1::Button1Click(TComponent&) { BrowseFolder(SettingKeyNamed("Exp", "Path"), *Edit1); }
void TForm1::Button7Click(TComponent&) {
  BrowseFolder(SettingKeyNamed("Exp", "PathEx"), *Edit10);
}
void TForm1::Button3Click(TComponent&) {
  BrowseFolder(SettingKeyNamed("Watch", "TrgPath"), *Edit3);
}

void TForm1::Button6Click(TComponent&) {
  if (BrowseFolder(SettingKeyNamed("Launch", "Path"), *Edit5)) LoadLaunchMenu();
}

void TForm1::Button2Click(TComponent&) {
  if (BrowseFolder(SettingKeyNamed("Watch", "SRCPath"), *Edit2)) BuildWatchMask();
}

void TForm1::Button8Click(TComponent&) {
  OpenDialog1->Filter = "実行形式 file(*.exe)|*.exe";
  OpenDialog1->DefaultExt = ".exe";
  if (!OpenDialog1->Execute()) return;
  Settings.Watch.AppPath = OpenDialog1->FileName;
  ForgetMissingPath(Settings, SettingKeyNamed("Watch", "AppPath"));
  Edit11->SetText(Settings.Watch.AppPath);
}

void TForm1::Button4Click(TComponent&) {
  const std::string extension(TrimmedBlanks(Edit4->Text()));
  if (extension.empty()) return;
  // The entry stays in its field, for the user to mend.
  if (!IsWatchableExtension(extension)) {
    ShowRefusal("拡張子には空白と次の文字は使えません: * ? ; \\ / : < > | \"");
    return;
  }
  if (ListBox1->Items().Count() >= static_cast<int>(kMostWatchedExtensions)) {
    ShowRefusal("拡張子は 32 個まで登録できます。");
    return;
  }
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
