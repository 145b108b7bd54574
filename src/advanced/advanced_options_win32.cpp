#include "advanced/advanced_options.h"

namespace velk {

// The advanced options dialog is not part of this build yet: the button does nothing.
int OpenAdvancedOptions(HWND) { return 0; }

}  // namespace velk
