// Program entry of the Windows program.

#include "app/Program.h"
#include "platform/win32/Win32Platform.h"

int main() {
  varnel::win32::Win32Platform system;
  return varnel::RunVarnel(system.Get());
}
