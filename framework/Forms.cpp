#include "framework/Forms.h"

#include "base/ScopeExit.h"
#include "framework/Application.h"

namespace varnel {

TForm::TForm(TComponent* owner, TApplication& application, std::string name,
             const TFormDesign& design)
    : TControl(owner, std::move(name), application.Platform().ui),
      application_(application),
      caption_(design.caption),
      font_(design.font),
      designClientWidth_(design.clientWidth),
      designClientHeight_(design.clientHeight) {
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
  // A close asked for again while this one runs (a tray command inside the message box of a
  // failed save, say) is the same close.
  if (closing_) return;
  const auto closing = RaiseForScope(closing_);
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
  if (endSession) {
    // Windows waits for this answer before it can log off: it comes at once, and an error on
    // the way is not shown (a modal box would keep the session from ending) and does not
    // turn the answer into a refusal.
    const auto asking = RaiseForScope(endingSession_);
    try {
      return CloseQuery();
    } catch (const std::exception&) {
      return true;
    }
  }
  // A close request from the system or another program takes the exit command's path; the
  // framework ends the program itself, the window is not destroyed under it.
  application_.Guarded([this] { Close(); });
  return false;
}

void TForm::PeerEndSession(bool ending) {
  if (!ending || application_.MainForm() != this) return;
  // The session ends and the program with it: the close work runs now, without a second
  // query (the system has asked already) and without a word to the user.
  const auto sessionEnds = RaiseForScope(endingSession_);
  TCloseAction action = TCloseAction::caFree;
  try {
    if (OnClose) OnClose(*this, action);
  } catch (const std::exception&) {
    // Nothing can be reported while the session ends; the program ends all the same.
  }
  application_.Terminate();
}

void TForm::PeerActivated() {
  application_.Guarded([this] {
    if (OnActivate) OnActivate(*this);
  });
}

void TForm::PeerDisplayChanged() {
  application_.Guarded([this] {
    if (OnDisplayChange) OnDisplayChange(*this);
  });
}

}  // namespace varnel
