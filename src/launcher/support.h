// Troubleshooting: one window that shows what is set and what this run found,
// and puts the player's choices back to their defaults. It gathers from every
// subsystem, so it lives at the top of the program; the advanced options
// reach it through the function the title window hands them.
#pragma once
#include <windows.h>
#include <string>

#include "launcher/support_summary.h"

namespace velk {

// The game folder, which is the current folder, whole and in UTF-16.
std::wstring GameFolderWide();

// What is set and found right now. Shows nothing, asks nothing and leaves
// the sound library and the renderer modules alone.
SupportSnapshot TakeSupportSnapshot();

// Deletes the player's stored choices, resets the same fields of this run and
// asks for the engine's default configuration at the next start. A value that
// cannot be deleted is named in the next summary.
void ResetPlayerChoices();

// "VELK - felsökning" over `owner`; true when the player reset the settings in it.
bool OpenSupportDialog(HWND owner);

}  // namespace velk
