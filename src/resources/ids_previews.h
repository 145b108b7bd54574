// Control ids of the preview dialogs "PREVIEWS", "MOVIES" and "DEMOS",
// shared by previews.rc and the code.
#pragma once

#define IDC_PLAY_MOVIE 1002
#define IDC_PLAY_DEMO 1004
#define IDC_MOVIE_LIST 1006
#define IDC_DEMO_LIST 1008
