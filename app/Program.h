#pragma once

#include "platform/Platform.h"

namespace varnel {

// The program from entry to end on the given system; returns the process exit code.
int RunVarnel(platform::Platform& platform);

}  // namespace varnel
