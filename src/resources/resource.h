// Resource ids shared by the .rc file and the program.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDI_PROGRAM          10
#define IDB_PORTS_SERIAL     48
#define IDB_PORTS_IRDA       49
#define IDB_PORTS_BLUETOOTH  50

#define IDS_PRODUCT_NAME     100
#define IDS_CAPTION_ERROR    101
#define IDS_CAPTION_WARNING  102
#define IDS_CAPTION_CONNECT  103
#define IDS_CAPTION_DELETE   104
#define IDS_OPEN_ERROR       1001
#define IDS_ASK_DELETE_FAILED      1004
#define IDS_ASK_CHANGE_DIR_FAILED  1007
#define IDS_ASK_REPLACE_FAILED     1008
#define IDS_ASK_CREATE_DIR_FAILED  1009
#define IDS_ASK_COPY_FAILED        1010
#define IDS_NOTE_CHANGE_DIR_FAILED 1011
#define IDS_ASK_SIZE_LIMIT         1050
#define IDS_COM_INIT_FAILED        1101
#define IDS_SETTINGS_NOT_SAVED     1102
#define IDS_PUSH_NOT_SENT          1201
#define IDS_PUSH_NO_CHANNEL        1202
#define IDS_PUSH_NOT_OPENED        1203
#define IDS_PUSH_CONNECT_REFUSED   1204
#define IDS_PUSH_CONNECT_SILENT    1205
#define IDS_PUSH_CANCELLED         1206
#define IDS_PUSH_FILE_REFUSED      1207
#define IDS_PUSH_FILE_BROKEN       1208
#define IDS_PUSH_MORE              1209
#define IDS_PUSH_TOO_MANY          1210
