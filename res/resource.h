// Resource ids of the program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_BRIGHTSWEEP 102
#define IDI_BRIGHTSWEEP 128
#define IDB_SKIN 145
#define IDC_LINKCURSOR 183
#define IDD_CONTENT 178
#define IDD_MODE 179
#define IDD_HOTKEY 181
#define IDD_CUSTOM 184
#define IDS_SELECT_FOLDER_FIRST 102
// The Mode page's refusals of the interval.
#define IDS_PARSE_INT_RANGE 61714
#define IDS_PARSE_UINT 61719

#define IDC_LOG 1006
#define IDC_STATUS 1007
#define IDC_HOMEPAGE 1059

// The settings pages; the Content page's boxes have their ids in
// engine/Categories.def.
#define IDC_EDIT_MINUTES 1006
#define IDC_EDIT_FOLDER 1006
#define IDC_CONTENT_GROUP 1041
#define IDC_CHECK_AUTO 1042
#define IDC_CHECK_START_WINDOWS 1070
#define IDC_CHECK_END_SESSION 1071
#define IDC_TIMER_GROUP 1045
#define IDC_EVERY 1046
#define IDC_CHECK_HOTKEY 1051
#define IDC_HOTKEY 1056
#define IDC_FOLDER_LABEL 1060
#define IDC_ADD 1061
#define IDC_REMOVE 1063
#define IDC_REMOVE_ALL 1064
#define IDC_FOLDER_LIST 1065
#define IDC_SET_DEFAULT 1069
#define IDC_STATIC -1
