#include "framework/Forms.h"

#include "framework/Application.h"

namespace varnel {

TForm::TForm(TComponent* owner, TApplication& application, std::string name,
             const TFormDesign& design)
    : TControl(owner, std::move(name), application.Platform().ui),
      application_(application),
      caption_(design.caption),
      font_(design.font) {
  platform::ControlSpec spec;
  spec.kind = platform::ControlKind::Form;
  spec.className = design.className;
  spec.text = design.caption;
  spec.dialogFrame = design.dialogFrame;
  spec.font = design.font;
  CreatePeer(spec);
  // A form is created hidden; the application shows its main form when it starts running.
  SetVisible(false);
  SetClientSize(design.clientWidth, design.clientHeight);
}

void TForm::SetClientSize(int width, int height) {
  Peer().SetClientSize(width, height);
  Resized();
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(*this);
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  return canClose;
}

void TForm::Close() {
  if (!CloseQuery()) return;
  const bool isMainForm = application_.MainForm() == this;
  TCloseAction action = isMainForm ? TCloseAction::caFree : TCloseAction::caHide;
  if (OnClose) OnClose(*this, action);
  if (action == TCloseAction::caNone) return;
  if (isMainForm) {
    application_.Terminate();
  } else {
    SetVisible(false);
  }
}

bool TForm::PeerCloseQuery(bool endSession) {
  bool mayClose = false;
  application_.Guarded([&] {
    if (endSession) {
      mayClose = CloseQuery();
    } else {
      // A close request from the system or another program takes the exit command's path;
      // the framework ends the program itself, the window is not destroyed under it.
      Close();
    }
  });
  return mayClose;
}

void TForm::PeerActivated() {
  application_.Guarded([this] {
    if (OnActivate) OnActivate(*this);
  });
}

}  // namespace varnel
