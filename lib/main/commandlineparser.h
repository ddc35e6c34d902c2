#pragma once

#include <windows.h>

#include "Basekit0308.h"

namespace bk {

// A new parser that has split the process's own command line. The caller owns it.
HRESULT CreateCommandLineParser(_CommandLineParser** out);

}  // namespace bk
