// Control ids of the dialog "DISPLAY", shared by display.rc and the code.
#pragma once

#define IDC_CARD_LIST 1032
#define IDC_MODE_LIST 1033
#define IDC_RENDERER_LIST 1034
