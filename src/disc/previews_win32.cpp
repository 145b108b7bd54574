#include "disc/previews.h"

namespace velk {

// The previews are not part of this build yet: the command does nothing.
int ShowPreviews(HINSTANCE, HWND) { return 0; }

void ReleasePreviewLists() {}

}  // namespace velk
