// Resource ids of Vexaro.dll (language 0x0411).
#pragma once

#define IDS_MENU_TEXT      1
#define IDS_STATUS_TEXT    2
#define IDS_DELETE_QUERY   3
#define IDS_VERSION_TEXT   4
#define IDS_VERSION_TEXT2  5

#define IDB_COMMAND        101
#define IDB_TOOLBAR        102
#define IDR_TOOLBAR        102
#define IDD_CLIPBAR        104
#define IDD_PALETTE        105
#define IDI_BAND           106
#define IDB_TOOLBAR_24     112
#define IDB_TOOLBAR_32     113
#define IDI_BAND_24        116
#define IDI_BAND_32        117

#define IDC_TOOLBAR        1000
#define IDC_CLIPLIST       1001
#define IDC_KATAKANA       1003
#define IDC_KANA_SYMBOL    1004
#define IDC_ALNUM          1005
#define IDC_ALNUM_SYMBOL   1006
#define IDC_SPACE          1007
#define IDC_HALF_WIDTH     1008
#define IDC_SELECT_ALL     1009
#define IDC_LOWER          1010
#define IDC_UPPER          1011
#define IDC_FULL_WIDTH     1012
#define IDC_LETTERS_ONLY   1013

#define ID_SAVE_WORD       40001
#define ID_SAVE_TO_CARET   40002
#define ID_SAVE_FROM_CARET 40003
#define ID_SAVE_SELECTION  40004
#define ID_DELETE_CHOSEN   40005
#define ID_DELETE_ALL      40006
#define ID_SHOW_HISTORY    40007
#define ID_SAVE_LINE       40008
#define ID_EXIT_TOOL       40009
#define ID_HOLD_LIST       40010
#define ID_SHOW_PALETTE    40011

// The settings menu's items.
#define ID_OPTION_KEY_ACCESS     40101
#define ID_OPTION_RECORD_HISTORY 40102
#define ID_OPTION_KEEP_LIST      40103

#define BAND_ID            1000
#define HOLD_TIMER_ID      1002
#define CLIPBOARD_TIMER_ID 1003
