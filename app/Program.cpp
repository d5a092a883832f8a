#include "app/Program.h"

#include "app/Unit1.h"
#include "framework/Application.h"

namespace varnel {

int RunVarnel(platform::Platform& platform) {
  TApplication application(platform);
  application.SetTitle("Varnel");
  application.Guarded([&] {
    application.CreateForm<TForm1>();
    application.Run();
  });
  // The form, and with it the shell object, go with the application.
  return 0;
}

}  // namespace varnel
