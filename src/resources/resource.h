// Resource ids, command ids and private window messages, shared by the .rc file and the
// program. Plain defines: windres reads this file too.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDI_PROGRAM          10
#define IDI_PORT_APART       21
#define IDI_PORT_PLUGGED     22
#define IDI_PORT_GREYED      23

/* Toolbar strips, seven 24x24 images each: normal, hot and disabled looks. */
#define IDB_TOOLBAR_NORMAL   45
#define IDB_TOOLBAR_HOT      46
#define IDB_TOOLBAR_DISABLED 47
/* 16x16 strips of twelve images in their normal, hot and disabled looks: dialog buttons (OK,
   Cancel, information, settings, help, refresh) and the port kinds with their settings. */
#define IDB_BUTTONS_NORMAL   48
#define IDB_BUTTONS_HOT      49
#define IDB_BUTTONS_DISABLED 50
/* The control panel's file manager button, two 32x32 images each. */
#define IDB_EXPLORER_NORMAL  55
#define IDB_EXPLORER_HOT     56
/* Path line strips of 16x16 images. */
#define IDB_PATHLINE_NORMAL  57
#define IDB_PATHLINE_HOT     58
#define IDB_PATHLINE_DISABLED 59
/* A menu item's gutter image is the bitmap numbered this plus its command id. */
#define IDB_MENU_IMAGE_BASE  1000

/* Commands: menu items, toolbar buttons and command-state flags share these ids. */
#define IDM_EXIT             120
#define IDM_NEW_FOLDER       121
#define IDM_RENAME           122
#define IDM_SEND_FILE        124
#define IDM_CUT              203
#define IDM_COPY             204
#define IDM_PASTE            205
#define IDM_DELETE           206
#define IDM_SELECT_ALL       207
#define IDM_GO_UP            215
#define IDM_FAVOURITES       216
#define IDM_EXPLORER         250
#define IDM_INFORMATION      252
#define IDM_DISCONNECT       253
#define IDM_TOOLBAR          301
#define IDM_CONTROL_PANEL    302
#define IDM_REFRESH          303
#define IDM_STATUS_BAR       305
#define IDM_VIEW_LARGE_ICONS 311
#define IDM_VIEW_SMALL_ICONS 312
#define IDM_VIEW_LIST        313
#define IDM_VIEW_DETAILS     314
#define IDM_PORTS            401
#define IDM_RESCAN           402
#define IDM_HELP_WEB         801
#define IDM_ABOUT            802

/* Private window messages (all sent, never posted). */
#define QVM_SELECT_PORT      0x9401  /* wParam: port or null */
#define QVM_SWITCH_VIEW      0x9402  /* wParam: 250 file manager, other ids the information view */
#define QVM_SHOW_PROGRESS    0x9403  /* wParam: the progress dialog of the port threads */
#define QVM_OPEN_WAIT        0x9404  /* open the file manager's wait dialog */
#define QVM_PORTS_CHANGED    0x9405  /* the port list changed: rebuild the device list */
#define QVM_DEVICE_POPUP     0x9406  /* wParam: port whose popup menu to show */
#define QVM_DEVICE_BUSY      0x9407  /* wParam: Device, lParam: 1 busy, 0 idle */
#define QVM_RELEASE_PORT     0x9408  /* wParam: port about to be disconnected or destroyed */

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
#define IDS_PUSH_NOT_SENT          1401
#define IDS_PUSH_NO_CHANNEL        1402
#define IDS_PUSH_NOT_OPENED        1403
#define IDS_PUSH_CONNECT_REFUSED   1404
#define IDS_PUSH_CONNECT_SILENT    1405
#define IDS_PUSH_CANCELLED         1406
#define IDS_PUSH_FILE_REFUSED      1407
#define IDS_PUSH_FILE_BROKEN       1408
#define IDS_PUSH_MORE              1409
#define IDS_PUSH_TOO_MANY          1410

/* The product's addresses: the About box links and the help command. */
#define QV_WEB_SITE          "https://quorvan.example.org/"
#define QV_SUPPORT_MAIL      "support@quorvan.example.org"
#define QV_HELP_PAGE         "https://quorvan.example.org/help/"

/* Controls of the progress and wait dialogs. */
#define IDC_PROGRESS_TEXT    10300
#define IDC_PROGRESS_BAR     10301
/* Controls of the About box. */
#define IDC_ABOUT_NAME       100
#define IDC_ABOUT_VERSION    101
#define IDC_ABOUT_BANNER     102
#define IDC_ABOUT_ICON       103
#define IDC_ABOUT_SITE       104
#define IDC_ABOUT_MAIL       105
/* Controls of the file operation progress dialog. */
#define IDC_FILEOP_SOURCE    10400
#define IDC_FILEOP_FILE_BAR  10401
#define IDC_FILEOP_TARGET    10402
#define IDC_FILEOP_TOTAL_BAR 10403
#define IDC_FILEOP_SPEED     10404
#define IDC_FILEOP_TIME_LEFT 10405
#define IDC_FILEOP_COUNTER   10406
#define IDC_FILEOP_TOTAL     10407
/* The ports dialog and its options and information dialogs. */
#define IDC_PORT_REFRESH         10104
#define IDC_PORT_OPTIONS         10107
#define IDC_PORT_LIST            10114
#define IDC_KIND_PICTURE_SERIAL  10120
#define IDC_KIND_PICTURE_IRDA    10121
#define IDC_KIND_PICTURE_BTH     10122
#define IDC_KIND_SERIAL          10123
#define IDC_KIND_IRDA            10124
#define IDC_KIND_BTH             10125
#define IDC_KIND_SERIAL_OPTIONS  10127
#define IDC_PORT_INFO            10130
#define IDC_LINE_SPEED           10200
#define IDC_PORT_NAME            10201
#define IDC_LINE_RTS             10203
#define IDC_LINE_DEFAULTS        10205
#define IDC_LINE_DTR             10206
#define IDC_PROFILE_LIST         10230
/* Descriptions of the Bluetooth and IrDA profiles: strings 1201..1230, and two more. */
#define IDS_PROFILE_FIRST        1201
#define IDS_PROFILE_LAST         1230
#define IDS_PROFILE_COMPUTER     1302
#define IDS_PROFILE_FILE_SERVER  1308
/* The main window's status bar. */
#define IDC_STATUS_BAR       601

/* The file manager: its list, and the private messages between its workers and the window
   (sent, like the others). */
#define IDC_FILE_LIST        700
#define QVM_FM_ATTACH        0x9420  /* lParam: the session just opened and its path label */
#define QVM_FM_LISTED        0x9421  /* lParam: the FolderSnapshot a listing worker made */
#define QVM_FM_ASK_REPLACE   0x9422  /* lParam: the ReplaceQuestion to ask on the window's thread */
#define QVM_FM_STATUS        0x9423  /* posted: the selection changed, the status follows once */
#define QVM_FM_DETACH        0x9424  /* the phone's file access is going: give up the session */
#define QVM_FM_NOT_SENT      0x9430  /* lParam: the GString naming what an upload left out */
#define QVM_FM_SHOW_NOT_SENT 0x9431  /* posted: tell the user what the last upload left out */
#define QVM_FM_SHELL_CHECK   0x9432  /* posted: a copy to the desktop may have ended (streams or data released) */

/* The confirmations of the file manager and their controls. */
#define IDD_CONFIRM_DELETE_FILE    1011
#define IDD_CONFIRM_REPLACE_FILE   1014
#define IDD_CONFIRM_REPLACE_FOLDER 1015
#define IDD_CONFIRM_DELETE_FOLDER  1016
#define IDD_CONFIRM_DELETE_OBJECTS 1017
#define IDC_YES_TO_ALL       32
#define IDC_CONFIRM_ICON     101
#define IDC_CONFIRM_TEXT     110
#define IDC_REPLACE_NEW_ICON 112
#define IDC_REPLACE_NEW_SIZE 113
#define IDC_REPLACE_NEW_DATE 114
#define IDC_REPLACE_OLD_ICON 122
#define IDC_REPLACE_OLD_SIZE 123
#define IDC_REPLACE_OLD_DATE 124
