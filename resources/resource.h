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
