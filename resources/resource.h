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
