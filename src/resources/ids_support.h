// Control ids of the troubleshooting dialog "SUPPORT", shared by support.rc and the code.
#pragma once

#define IDC_SUPPORT_TEXT 1200
#define IDC_SUPPORT_COPY 1201
#define IDC_SUPPORT_SAVE 1202
#define IDC_SUPPORT_RESET 1203
