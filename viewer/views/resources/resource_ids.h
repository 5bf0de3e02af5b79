#pragma once
// Ids of the views' dialog templates and controls, and the bitmap ids the
// views load.  Plain macros: the resource script includes this file too.

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_VIDEO_PLAY_VIEW 310
#define IDD_VIDEO_ERROR_VIEW 313
#define IDD_VIDEO_PLAY_CONTROLLER 314
#define IDD_VIDEO_ERROR_CONTROLLER 317
#define IDD_VIDEO_BLANK_CONTROLLER 329
#define IDD_VIDEO_CAPTION_VIEW 330
#define IDD_VIDEO_BLANK_VIEW 337

// Controls.
#define IDC_FULL_SCREEN 1004
#define IDC_ERROR_FULL_SCREEN 1007
#define IDC_ZOOM_INDICATOR 1008
#define IDC_ERROR_ZOOM_INDICATOR 1011
#define IDC_ZOOM_OUT 1012
#define IDC_ERROR_ZOOM_OUT 1015
#define IDC_ERROR_LINE1 1016
#define IDC_ERROR_LINE2 1017
#define IDC_ERROR_LINE3 1018
#define IDC_ERROR_LINE4 1019
#define IDC_CLOSE 1020
#define IDC_ERROR_BUTTON 1021
#define IDC_ABOUT_PROGRAM_VERSION 1026
#define IDC_ABOUT_DRIVER_VERSION 1027
#define IDC_ABOUT_FIRMWARE_VERSION 1028
#define IDC_ABOUT_API_VERSION 1029
#define IDC_ABOUT_TITLE 1030
#define IDC_ABOUT_DRIVER 1031
#define IDC_ABOUT_FIRMWARE 1032
#define IDC_ABOUT_API 1033
#define IDC_ABOUT_LEGAL 1034

// The program icon and the bitmaps (drawn by the resources build).
#define IDR_PROGRAM_ICON 128
#define IDB_ZOOM_MAP_ENABLED 318
#define IDB_ZOOM_MAP_OFF 319
#define IDB_BUTTON_DISABLED 320
#define IDB_BUTTON_FOCUSED 321
#define IDB_BUTTON_NORMAL 322
#define IDB_BUTTON_PRESSED 323
#define IDB_ZOOM_ICON 326
#define IDB_CLOSE_FACE_NORMAL 332
#define IDB_CLOSE_FACE_PRESSED 333
#define IDB_CLOSE_FACE_FOCUSED 334
#define IDB_CLOSE_FACE_DISABLED 335

// The pane frame's first-view id: the pane lays this child over its client area.
#define AFX_FIRST_VIEW_ID 0xE900
