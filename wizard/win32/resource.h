// Resource identifiers of Farrowdale, by kind. The template, icon, bitmap and
// control numbers are fixed: tests and users' tools find the windows by them.
#pragma once

// Icons and bitmaps.
#define IDI_FARROWDALE 128
#define IDB_BANNER 201

// Page templates.
#define IDD_FILES_PAGE 129
#define IDD_OPTIONS_PAGE 202
#define IDD_DESTINATION_PAGE 203

// Labels and the banner.
#define IDC_STATIC -1

// Controls. The same number has the same role on every page where it occurs:
// 1005 goes forward, 1010 browses, 57670 opens the help; 1007 is "Single file"
// on Step 1 and "<<Back" on Steps 2 and 3.
#define IDC_NEXT 1005
#define IDC_DESTINATION 1006
#define IDC_SINGLE_FILE 1007
#define IDC_BACK 1007
#define IDC_FILE_GROUP 1008
#define IDC_CANCEL 1009
#define IDC_BROWSE 1010
#define IDC_FILE_LIST 1011
#define IDC_REMOVE_FILE 1013
#define IDC_ADD_FILE 1014
#define IDC_ENCODE_STRINGS 1015
#define IDC_CHANGE_VARIABLES 1016
#define IDC_FILE_NAME 1018
#define IDC_BANNER 1020
#define IDC_RUN_FILE 1021
#define IDC_PROGRESS_FILE 1022
#define IDC_PROGRESS_ALL 1023
#define IDC_HELP_BUTTON 57670
