// Control ids of the dialog "3DSOUND", shared by sound.rc and the code.
#pragma once

#define IDC_SOUND_PROVIDER_LIST 1075
#define IDC_SOUND_3D_VOICES 1076
#define IDC_SOUND_2D_VOICES 1077
// The six reverb choices, one per level, in the order of the levels.
#define IDC_REVERB_FIRST 1078
#define IDC_REVERB_0 1078
#define IDC_REVERB_30 1079
#define IDC_REVERB_60 1080
#define IDC_REVERB_100 1081
#define IDC_REVERB_125 1082
#define IDC_REVERB_150 1083
#define IDC_REVERB_LAST 1083
