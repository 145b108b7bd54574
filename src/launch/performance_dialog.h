// The performance-level question ("DETAIL").
#pragma once
#include <windows.h>

#include "launch/command_line.h"

namespace velk {

// 1 when a level was chosen (into the record), 0 when cancelled.
int AskPerformanceLevel(HWND owner, LaunchRecord& launch);

}  // namespace velk
