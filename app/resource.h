// Resource and command identifiers shared by notavo.rc and the program.
#pragma once

#define IDI_NOTAVO 1
#define IDB_MENU_IMAGES 100
#define IDR_MAIN_MENU 200
#define IDR_EDITOR_MENU 201
#define IDR_ACCELERATORS 300

// Commands (WM_COMMAND identifiers), one per menu item or shortcut.
#define IDM_FILE_NEW 1001
#define IDM_FILE_OPEN 1002
#define IDM_FILE_SAVE 1003
#define IDM_FILE_SAVE_AS 1004
#define IDM_FILE_EXIT 1005
#define IDM_EDIT_UNDO 1101
#define IDM_EDIT_REDO 1102
#define IDM_EDIT_CUT 1103
#define IDM_EDIT_COPY 1104
#define IDM_EDIT_PASTE 1105
#define IDM_EDIT_SELECT_ALL 1106
#define IDM_OPTIONS_DISPLAY 1201
#define IDM_OPTIONS_WRAP 1202
#define IDM_OPTIONS_FONT 1203
#define IDM_SEARCH_FIND 1301
#define IDM_SEARCH_REPLACE 1302
#define IDM_HELP_ABOUT 1401
// Moves the keyboard between the text and the recent-files list (F6).
#define IDM_NEXT_PANE 1501
// Opens the editor's context menu at the caret (Shift+F10, the menu key).
#define IDM_EDITOR_MENU 1502
