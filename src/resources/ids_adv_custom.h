// Control ids of the dialog "ADV_CUSTOM", shared by adv_custom.rc and the code.
#pragma once

#define IDC_ADD_ARCHIVE 1037
#define IDC_REMOVE_ARCHIVE 1038
#define IDC_AVAILABLE_ARCHIVES 1039
#define IDC_CHOSEN_ARCHIVES 1040
#define IDC_ALWAYS_LOAD_ARCHIVES 1043
