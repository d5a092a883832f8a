#include "platform/sim/SimPlatform.h"

namespace varnel::sim {

SimPlatform::SimPlatform()
    : platform_{desktop, files, codepage, kernel, shell, ui} {
  // The executable's folder exists, as it does for a running program.
  files.CreateFolder("C:\\Tools\\Varnel");
}

}  // namespace varnel::sim
