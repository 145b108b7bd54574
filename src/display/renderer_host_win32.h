// The launcher's side of renderer discovery: the file search, module loading
// and the wait cursor, on the Win32 API.
#pragma once
#include "display/renderer_list.h"

namespace velk {

// One for the process; it keeps no state between uses but the displaced cursor.
RendererHost& Win32RendererHost();

}  // namespace velk
