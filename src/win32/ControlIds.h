#pragma once

// Stable control IDs of the main window, so tests and automation can find them.
#define IDC_FRAME1 1001    // the "Send Format" group box around the template row
#define IDC_CHECK1 1002    // "AOL": announce in the AOL chat room (three states)
#define IDC_CHECK2 1003    // "AIM": announce in the AIM chat window
#define IDC_LABEL1 1004    // "Modifiers - ...": the placeholders, spelled out in its tooltip
#define IDC_COMBO1 1005    // the font list: the face put into the AOL line's mark-up
#define IDC_LABEL2 1006    // "Font -", the font list's caption
#define IDC_LABEL3 1007    // "Color - ", the colour swatch's caption
#define IDC_PICTURE1 1008  // the colour swatch: shows the AOL colour, a click picks another
#define IDC_LABEL4 1009    // hidden below the window: holds the last announced title
#define IDC_LABEL5 1010    // "View Today's Log": opens today's play log, or says there is none
#define IDC_LABEL6 1011    // "Exit": ends Tobla (closing the window only hides it)
#define IDC_LABEL7 1012    // "All Logs": opens the logs folder, or says it is empty
#define IDC_LABEL8 1013    // "//", the separator between the two log links
#define IDC_TEXT1 1014     // the template box, its drop-down holding the saved templates
#define IDC_LABEL9 1015    // the note of the supported player and chat versions

// Items of the notification-area icon's popup menu mnuoptions.
#define IDM_SHOWHIDE 2001      // "Show Tobla" / "Hide Tobla", after the window's state
#define IDM_CLOSE 2002         // "Close Tobla": ends Tobla, as Exit does
#define IDM_ANNOUNCE_NOW 2003  // "Announce Now": the playing track's line to the chats again
// "Announce After": a track is announced once it has played 1, 5, 15 or 30 seconds.
#define IDM_SETTLE_1 2011
#define IDM_SETTLE_5 2012
#define IDM_SETTLE_15 2013
#define IDM_SETTLE_30 2014

#define IDI_TOBLA 101  // the program's icon, also the notification-area icon

// The poll timer's ID: each tick reads the player and announces a new track.
#define IDT_TIMER1 1
