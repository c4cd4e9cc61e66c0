// Resource and control ids, shared by the resource script and the program.
#pragma once

// Menus
#define IDR_MAIN_MENU 6

// Dialogs, each followed by its controls
#define IDD_NEW_RECORD 103
#define IDC_RECORD_PROMPT 1002
#define IDC_RECORD_NAME 1003

// Menu commands
#define IDM_EXIT 40003
#define IDM_NEW_GAME 40005
#define IDM_BEST_RESULTS 40006
#define IDM_ABOUT 40007
