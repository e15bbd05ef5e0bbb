// Resource identifiers of Sonobar: dialogs, menu, accelerators, strings, pictures, commands and
// controls. Shared by the resource script and the code.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_BAR 102
#define IDD_KEYS 104

// Menu and accelerator table
#define IDR_BAR_MENU 129
#define IDR_ACCELERATORS 160

// Icons
#define IDI_BAR 128
#define IDI_MUTED 161

// Bitmap strips: the menu button, the two masters, and one strip per source component type
// 0x1000 + i on each side.
#define IDB_MENU 133
#define IDB_MASTER_OUTPUT 134
#define IDB_MASTER_INPUT 135
#define IDB_INPUT_SOURCE_FIRST 150
#define IDB_OUTPUT_SOURCE_FIRST 300

// Strings
#define IDS_ABOUT 101
#define IDS_NO_DRIVER 102
#define IDS_TIP_MUTE 107
#define IDS_TIP_VOLUME 108
#define IDS_TIP_MENU 109
#define IDS_SEPARATOR 110
#define IDS_COMPANY 111
#define IDS_SECTION_SETTINGS 112
#define IDS_X_COORDINATE 113
#define IDS_Y_COORDINATE 114
#define IDS_ALWAYS_ON_TOP 115
#define IDS_COMPONENT_TYPE 116
#define IDS_APP_TITLE 117
#define IDS_MENU_INDEX 118
#define IDS_CARD_INDEX 119
#define IDS_INSTANCE_COUNT 120
#define IDS_INPUT_VOLUME 121
#define IDS_START_IN_TRAY 122
// The chosen program's values keep the names that users' settings hold.
#define IDS_PROGRAM 123
#define IDS_PROGRAM_NAME 124
#define IDS_PROGRAM_CARD 140
#define IDS_MORE_PROGRAMS 141
// The global keys: their section, their names in the order of EBarKey (app/KeySettings.h), and
// the Keys dialog's texts.
#define IDS_SECTION_KEYS 142
#define IDS_KEY_VOLUME_UP 143
#define IDS_KEY_VOLUME_DOWN 144
#define IDS_KEY_MUTE 145
#define IDS_KEY_SHOW_OR_HIDE 146
#define IDS_KEY_IN_USE 147
#define IDS_KEYS_TITLE 148

// Window-menu entry added at start
#define ID_ABOUT 16

// Controls of the bar and of the hidden line list
#define IDC_MENU_BUTTON 1004
#define IDC_MUTE_BUTTON 1005
#define IDC_VOLUME_SLIDER 1006

// Controls of the Keys dialog: one hotkey control per key, in the order of EBarKey, and the line
// that says a key is in use.
#define IDC_KEY_VOLUME_UP 1020
#define IDC_KEY_VOLUME_DOWN 1021
#define IDC_KEY_MUTE 1022
#define IDC_KEY_SHOW_OR_HIDE 1023
#define IDC_KEYS_MESSAGE 1024

// Menu and accelerator commands
#define ID_ALWAYS_ON_TOP 32771
#define ID_MASTER_VOLUME 32773
#define ID_CONTROL2 32774
#define ID_CONTROL3 32775
#define ID_CONTROL4 32776
#define ID_CONTROL5 32777
#define ID_CONTROL6 32778
#define ID_CONTROL7 32779
#define ID_CONTROL8 32780
#define ID_CONTROL9 32781
#define ID_CONTROL10 32782
#define ID_SEPARATOR 32785
#define ID_CARD1 32788
#define ID_CARD2 32789
#define ID_CARD3 32790
#define ID_OUTPUT_VOLUME 32793
#define ID_INPUT_VOLUME 32794
#define ID_START_IN_TRAY 32795
#define ID_HIDE_BAR 32796
#define ID_START_WITH_WINDOWS 32797
#define ID_KEYS 32870
// The programs' entries of the menu (bar/BarDlgPrograms.cpp), one id per program listed.
#define ID_PROGRAM_FIRST 32800
#define ID_PROGRAM_LAST 32863
