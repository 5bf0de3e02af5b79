#pragma once
// Resource ids of the viewer's bitmaps and icon.  Plain macros: the resource
// script includes this file too.

// Program icon (16 to 256 pixels).
#define IDI_TAVRIN 128

// Zoom indicator maps, 300 x 129.
#define IDB_ZOOM_MAP 318
#define IDB_ZOOM_MAP_DISABLED 319

// Button faces, 400 x 110.
#define IDB_FACE_DISABLED 320
#define IDB_FACE_FOCUSED 321
#define IDB_FACE_NORMAL 322
#define IDB_FACE_PRESSED 323

// Button and indicator icons, 75 x 75.
#define IDB_ICON_FULL_SCREEN 324
#define IDB_ICON_NORMAL_SCREEN 325
#define IDB_ICON_ZOOM_IN 326
#define IDB_ICON_ZOOM_OUT 327
#define IDB_ICON_ZOOM_OUT_DISABLED 328
#define IDB_ICON_FULL_SCREEN_DISABLED 336

// Close-button faces, 45 x 45.
#define IDB_CLOSE_NORMAL 332
#define IDB_CLOSE_PRESSED 333
#define IDB_CLOSE_FOCUSED 334
#define IDB_CLOSE_DISABLED 335
