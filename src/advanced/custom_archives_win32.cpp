#include "advanced/custom_archives.h"

namespace velk {

// The extra-archives choice is not part of this build yet.
void LoadArchiveList() {}
std::string BuildArchiveFragment() { return std::string(); }
int OpenCustomArchives(HWND) { return 0; }
INT_PTR CALLBACK CustomArchivesDialogProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace velk
