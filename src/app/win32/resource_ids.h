#pragma once

// Resource identifiers of the program (icons, about box, canvas menu).
#define IDI_ZELVORA_LARGE 101
#define IDD_ABOUT_BOX 103
#define IDI_ZELVORA_SMALL 107
#define IDR_CANVAS_MENU 131
#define IDM_CANVAS_RELOAD 32000
#define IDM_CANVAS_SEND 32001
#define IDC_ABOUT_TITLE 1001
#define IDC_ABOUT_CREDIT 1002
#define IDC_ABOUT_CREDIT_LINE 1003
