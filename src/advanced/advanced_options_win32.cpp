#include "advanced/advanced_options.h"

namespace velk {

// The advanced options dialog and the extra-archives choice are not part of
// this build yet: the button does nothing.
int OpenAdvancedOptions(HWND) { return 0; }

INT_PTR CALLBACK CustomArchivesDialogProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace velk
