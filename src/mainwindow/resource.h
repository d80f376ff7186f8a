#pragma once
// Resource identifiers, shared by the resource script and the code.

#define IDI_FERRYL 1
#define IDI_SEND_NOW 2
#define IDI_TEMPORARY 3
#define IDI_DESKTOP 4
#define IDI_ATTACHMENTS 5
#define IDI_CUSTOM 6

#define IDM_FERRYL 100
#define IDA_FERRYL 101
#define IDM_LIST_CONTEXT 102

// Menu commands of the main window.
#define IDM_ADD 1001
#define IDM_REMOVE 1002
#define IDM_LAUNCH 1003
#define IDM_PROPERTIES 1004
#define IDM_RESTORE 1011
#define IDM_MINIMIZE 1012
#define IDM_MAXIMIZE 1013
#define IDM_MAIL_PROGRAM 1005
#define IDM_EXIT 1006
#define IDM_COPY_PATH 1007
#define IDM_OPEN_LOCATION 1008
#define IDM_TOPICS 1021
#define IDM_ABOUT 1022

// The "E-Mail Program" dialog.
#define IDD_MAIL_PROGRAM 200
#define IDC_MAIL_CHOICE 201
#define IDC_MAIL_CLIENTS 202
#define IDC_MAIL_OTHER 203
#define IDC_MAIL_SIZE_LIMIT 204
