// Control ids of the notes dialogs "ADV_HELP" and "ADV_3D", shared by
// adv_notes.rc and the code. 1070 is the text field here (in "ADVANCED" it
// is a button).
#pragma once

#define IDC_NOTES_TEXT 1070
#define IDC_NOTES_LIST 1072
