// The launcher's entry point.
#include <windows.h>

#include "launcher/launcher.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return velk::LauncherMain(instance, commandLine);
}
