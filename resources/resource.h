// Resource ids of the plug-in: string table numbers and dialog templates.
#pragma once

#define IDS_OLE_INIT_FAILED 100
#define IDS_START_SOLIDWORKS 106
#define IDS_CANNOT_CREATE_PART 121
#define IDS_GEOMETRY_POINTER_NULL 123
#define IDS_NO_GEOMETRY_DATA 124
#define IDS_CANNOT_CREATE_2D_PART 125
#define IDS_CANNOT_INSERT_PART 1100
#define IDS_SAVE_DIALOG_TITLE 1102
// Reasons given inside messages 121 and 1100 where SolidWorks gives none.
#define IDS_SAT_FILE_NOT_WRITTEN 1110
#define IDS_PART_NAME_TOO_LONG 1111
#define IDS_NO_ACTIVE_DOCUMENT 1112
#define IDS_PART_FILE_NOT_OPENED 1113
#define IDS_PART_DIRECTORY_BUSY 1115
#define IDS_SAT_FILE_NOT_IMPORTED 1116
#define IDS_PART_DIRECTORY_REENTERED 1118
#define IDS_LOCK_FILE_UNUSABLE 1119
#define IDS_LOCK_WAIT_CANCELLED 1120
// SolidWorks holds another folder's document of the part's name; it gave no
// title for the saved part.
#define IDS_NAMESAKE_OPEN 1140
#define IDS_NO_DOCUMENT_TITLE 1141
// The box shown while an insertion waits for the part directory's lock.
#define IDS_PART_DIRECTORY_WAITING 1117
// A SolidWorks call that has not come back: the box's text and button, and
// the reason of a call cancelled by the user or by the bound.
#define IDS_SOLIDWORKS_NOT_ANSWERING 1130
#define IDS_SOLIDWORKS_SWITCH 1131
#define IDS_SOLIDWORKS_CALL_CANCELLED 1132
#define IDS_PART_FILE_NOT_SAVED 1150
#define IDS_PART_FILE_LEFT 1151
// No part directory at all (none stored, no usable temporary directory), and
// a stored one on a drive or share that is not there when the chooser opens.
#define IDS_NO_PART_DIRECTORY 1160
#define IDS_DRIVE_NOT_READY 1161
// A stored part directory that is not a full path (it would follow the
// program's current directory).
#define IDS_PART_DIRECTORY_RELATIVE 1162
// The options could not be stored: the settings file and the system's reason.
#define IDS_SETTINGS_NOT_SAVED 1114
// The settings file is there and another program keeps it from being read.
#define IDS_SETTINGS_NOT_READ 1122
// A changed setting that another program stored meanwhile: its key and value.
#define IDS_OTHER_SETTING_KEPT 1121

// The options dialog (template 129), its texts and its context help.
#define IDD_OPTIONS 129
#define IDC_OPTIONS_OVERWRITE 1000
#define IDC_OPTIONS_PATH 1044
#define IDC_OPTIONS_LABEL 1099
#define IDC_OPTIONS_BROWSE 1102
#define IDC_OPTIONS_APPLY 12321
#define IDS_OPTIONS_CAPTION 1
#define IDS_OPTIONS_CANCEL 90
#define IDS_OPTIONS_APPLY 91
#define IDS_OPTIONS_OK 92
#define IDS_OPTIONS_LABEL 1099
#define IDS_HELP_OK 200
#define IDS_HELP_CANCEL 201
#define IDS_HELP_APPLY 202
#define IDS_HELP_PATH 211
#define IDS_HELP_BROWSE 212
#define IDS_HELP_OVERWRITE 213

// The box of a wait for the part directory (template 130): its text and Cancel.
#define IDD_LOCK_WAIT 130
#define IDC_LOCK_WAIT_TEXT 1001

// The box of a SolidWorks call that has not come back (template 131).
#define IDD_SOLIDWORKS_WAIT 131
#define IDC_SOLIDWORKS_WAIT_TEXT 1002
#define IDC_SOLIDWORKS_SWITCH 1003

// The directory chooser (template 101): the plug-in's own controls; the
// others carry the ids the system's old-style file dialog expects.
#define IDD_CHOOSE_DIR 101
#define IDC_CHOOSE_DIR_EDIT 1000
#define IDC_CHOOSE_DIR_LABEL 1007
