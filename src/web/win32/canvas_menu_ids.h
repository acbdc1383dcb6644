#pragma once

// Resource identifiers of the canvas window's menu, shared with the program's resource script.
#define IDR_CANVAS_MENU 131
#define IDM_CANVAS_RELOAD 32000
#define IDM_CANVAS_SEND 32001
