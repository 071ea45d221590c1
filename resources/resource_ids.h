#pragma once
// Shared by the resource script and the code: keep it preprocessor-only.

#define IDR_CONTEXTMENU 101
#define IDB_BACKGROUND 200
#define IDB_OVERLAY 201

#define IDM_ZORDER_NORMAL 40400
#define IDM_ZORDER_TOPMOST 40401
#define IDM_ZORDER_BOTTOM 40402
#define IDM_ASPECTRATIO 40403
#define IDM_SNAP 40404
#define IDM_ATTACHEDPICTURE 40405
#define IDM_THEME_DEFAULT 40500
#define IDM_THEME_FIRST 50000
