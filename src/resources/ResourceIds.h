// Resource and control ids shared by the resource script and the code.
#pragma once

#define IDR_ACCELERATORS 101
#define IDI_SEEKWORD 102
#define IDD_NOTFOUND 103
#define IDD_SEARCH 104
#define IDC_MARGIN_CURSOR 32127

// Search dialog controls.
#define IDC_BROWSE 105
#define IDC_LOCATION 106
#define IDC_SEARCHTEXT 107
#define IDC_CASESENSITIVE 108
#define IDC_SUBFOLDERS 110
#define IDC_EXTCHECK1 1001
#define IDC_ALLFILES 1007
#define IDC_EXTEDIT1 1021

// Commands: the button bar's control ids and the accelerators' commands.
#define CMD_START 40001
#define CMD_FINDNEXT 40002
#define CMD_NEXTFILE 40003
#define CMD_COPY 40004
#define CMD_ABOUT 40005
#define CMD_EXIT 40006
#define CMD_EDIT 40007
