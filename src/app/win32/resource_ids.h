#pragma once

// Resource identifiers of the program (icons, about box); the canvas menu has its own, beside its window.
#define IDI_ZELVORA_LARGE 101
#define IDD_ABOUT_BOX 103
#define IDI_ZELVORA_SMALL 107
#define IDC_ABOUT_TITLE 1001
#define IDC_ABOUT_CREDIT 1002
#define IDC_ABOUT_CREDIT_LINE 1003
