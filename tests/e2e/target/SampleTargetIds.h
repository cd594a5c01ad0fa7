// Names and ids the sample target shares with the driver's self-tests.
#pragma once

#define SAMPLE_CLASS "SampleTargetClass"
#define SAMPLE_TITLE "Sample Target"
#define SAMPLE_DIALOG_TITLE "Sample Dialog"
#define SAMPLE_REGISTRY_KEY "Software\\Ovelund Freeware\\Seekword E2E Sample"
#define SAMPLE_CLIPBOARD_TEXT "Sample clipboard text\r\nsecond line\t!"

// Placement of the window, fixed so screen positions in the tests are known.
#define SAMPLE_X 60
#define SAMPLE_Y 50
#define SAMPLE_WIDTH 520
#define SAMPLE_HEIGHT 380

// Widths of status parts 2 and 1 in pixels; part 0 takes the rest.
#define SAMPLE_PART2_WIDTH 90
#define SAMPLE_PART1_WIDTH 120

// The colour block painted in the client area, for the screenshot checks.
#define SAMPLE_BLOCK_LEFT 300
#define SAMPLE_BLOCK_TOP 150
#define SAMPLE_BLOCK_WIDTH 120
#define SAMPLE_BLOCK_HEIGHT 60
#define SAMPLE_BLOCK_RED 0
#define SAMPLE_BLOCK_GREEN 160
#define SAMPLE_BLOCK_BLUE 80

// Exit code of the Exit button.
#define SAMPLE_EXIT_CODE 7

#define IDB_DIALOG 201
#define IDB_COPY 202
#define IDB_REGISTRY 203
#define IDB_DISABLED 204
#define IDB_EXIT 205
#define IDC_MAIN_EDIT 210
#define IDC_FOLDER 211
#define IDC_STATUS 212

#define IDD_SAMPLE 100
#define IDC_DLG_EDIT 101
#define IDC_DLG_FLAG 102
#define IDC_DLG_COMBO 103

#define IDR_SAMPLE_KEYS 300
#define CMD_ALT_K 301
#define CMD_CTRL_L 302
#define CMD_F5 303
