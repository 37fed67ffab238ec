// Resource ids shared by settings_dialog.rc and settings_dialog.cpp.
#pragma once

// The same numbers as the program's icons, so that the icons are looked up alike.
#define IDI_APP 1
#define IDI_NETWORK_DRIVE_PICTURE 101

#define IDD_SETTINGS 100

// Named after the program's controls.
#define IDC_CHECK1 1001
#define IDC_CHECK2 1002
#define IDC_CHECK3 1003
#define IDC_CHECK4 1004
#define IDC_CHECK6 1006
#define IDC_CHECK7 1007
#define IDC_COMBO1 1011
#define IDC_COMBO2 1012
#define IDC_COMBO3 1013
#define IDC_COMBO4 1014
#define IDC_COMBO5 1015
#define IDC_OPTION1 1021
#define IDC_OPTION2 1022
#define IDC_APPLY 1030
