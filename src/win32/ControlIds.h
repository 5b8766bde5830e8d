#pragma once

// Stable control IDs of the main window, so tests and automation can find them.
#define IDC_FRAME1 1001
#define IDC_CHECK1 1002
#define IDC_CHECK2 1003
#define IDC_LABEL1 1004
#define IDC_COMBO1 1005
#define IDC_LABEL2 1006
#define IDC_LABEL3 1007
#define IDC_PICTURE1 1008
#define IDC_LABEL4 1009
#define IDC_LABEL5 1010
#define IDC_LABEL6 1011
#define IDC_LABEL7 1012
#define IDC_LABEL8 1013
#define IDC_TEXT1 1014
#define IDC_LABEL9 1015

// Items of the popup menu mnuoptions.
#define IDM_SHOWHIDE 2001
#define IDM_CLOSE 2002

#define IDI_TOBLA 101

// The poll timer's ID.
#define IDT_TIMER1 1
