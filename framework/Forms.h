#pragma once
// A top-level form: a window with a caption and the controls it parents.

#include <functional>
#include <string>

#include "framework/Controls.h"

namespace varnel {

class TApplication;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

struct TFormDesign {
  std::string className;  // the window class, by convention the form's class name
  std::string caption;
  int clientWidth = 0;
  int clientHeight = 0;
  bool dialogFrame = false;  // fixed single border, title bar without buttons
  platform::FontSpec font;
};

class TForm : public TControl {
 public:
  TForm(TComponent* owner, TApplication& application, std::string name,
        const TFormDesign& design);

  TApplication& Application() const { return application_; }
  const std::string& Caption() const { return caption_; }
  const platform::FontSpec& Font() const { return font_; }
  void SetClientSize(int width, int height);
  // Gives the client area its designed size at the DPI of the monitor the form is on now.
  void RestoreDesignedClientSize() { SetClientSize(designClientWidth_, designClientHeight_); }

  // Asks OnCloseQuery, then runs OnClose; closing the main form ends the application.
  void Close();
  // OnCloseQuery's answer; what the system asks when the session ends.
  bool CloseQuery();
  // True while the system asks whether the session may end, and while it ends: no message
  // box may be shown then (it would hold up the logoff).
  bool EndingSession() const { return endingSession_; }
  // Called once the form is built, by TApplication::CreateForm.
  void DoCreate();

  std::function<void(TComponent& sender)> OnCreate;
  std::function<void(TComponent& sender)> OnActivate;
  // The monitors changed: their number, their places or their resolution; or a work area.
  std::function<void(TComponent& sender)> OnDisplayChange;
  std::function<void(TComponent& sender, bool& canClose)> OnCloseQuery;
  std::function<void(TComponent& sender, TCloseAction& action)> OnClose;

 protected:
  bool PeerCloseQuery(bool endSession) override;
  void PeerEndSession(bool ending) override;
  void PeerActivated() override;
  void PeerDisplayChanged() override;

 private:
  TApplication& application_;
  std::string caption_;
  platform::FontSpec font_;
  int designClientWidth_ = 0;
  int designClientHeight_ = 0;
  bool closing_ = false;
  bool endingSession_ = false;
};

}  // namespace varnel
