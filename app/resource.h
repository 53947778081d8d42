// Identifiers of the program's resources, menu items and child controls.
// Plain macros so that both the resource compiler and the core can use them.
#pragma once

#define IDI_QUILLET 1
#define IDR_MAINMENU 100
#define IDR_POPUPMENU 101
#define IDR_ACCELERATORS 102
#define IDR_MANIFEST 1

// File menu
#define IDM_FILESAVE 1001
#define IDM_REVERT 1002
#define IDM_OPPOSITECASE 1003
#define IDM_LOWERCASE 1004
#define IDM_UPPERCASE 1005
#define IDM_GETIP 1006
#define IDM_PRINT 1007
#define IDM_CLOSE 1008
#define IDM_EXIT 1009

// Edit menu
#define IDM_CLEARLABELS 1101
#define IDM_CLEARCONTENTS 1102
#define IDM_CLEARSTORE 1103
#define IDM_CLEARALLSTORESXLABELS 1104
#define IDM_CLEARALL 1105
#define IDM_EMPTYCLIPBOARD 1106
#define IDM_CUT 1107
#define IDM_COPY 1108
#define IDM_PASTE 1109
#define IDM_UNDO 1110
#define IDM_SELECTALL 1111
#define IDM_FIND 1112

// Stores menu: IDM_STORE0 + n for store n
#define IDM_STORE0 1200
#define IDM_RENAME 1216

// Options menu
#define IDM_AUTORUN 1301
#define IDM_STARTTRAY 1302
#define IDM_HOTKEYS 1303
#define IDM_MIRROR 1304
#define IDM_STAYTOP 1305
#define IDM_AUTOSAVE 1306
#define IDM_SOUNDS 1307

// Help menu
#define IDM_HELP 1401
#define IDM_ABOUT 1402
#define IDM_TELL 1403
#define IDM_HOME 1404
#define IDM_FEEDBACK 1405

// Picture slot pop-up menu
#define IDM_POPCOPY 1501
#define IDM_POPPASTE 1502
#define IDM_POPDELETE 1503
#define IDM_POPUNDO 1504
#define IDM_POPPREVIEW 1505
#define IDM_POPWALLPAPER 1506

// Tray menu: IDM_TRAYSTORE0 + n for store n, IDM_TRAYREF0 + i for slot i
#define IDM_TRAYSTORE0 1600
#define IDM_TRAYREF0 1620
#define IDM_TRAYCONTENTS 1630
#define IDM_TRAYCANCEL 1631
#define IDM_TRAYHELP 1632
#define IDM_TRAYOPEN 1633
#define IDM_TRAYCLOSE 1634
#define IDM_TRAYEXIT 1635
#define IDM_TRAYFIND 1636

// Child controls: base + slot index or store number
#define IDC_STORESTRIP 2000
#define IDC_LBLSTORE0 2001
#define IDC_TXTTITLE0 2100
#define IDC_TXT0 2120
#define IDC_PICCOPY0 2140
#define IDC_PICPASTE0 2160
#define IDC_LABEL1_0 2180
#define IDC_TXTLENGTH 2200
#define IDC_TXTCLIPBOARD 2201
#define IDC_PICBRINDLE 2202
#define IDC_LBLBRINDLE 2203
#define IDC_PICPICTURES 2204
#define IDC_BOX0 2210
#define IDC_IMGPIC0 2220
#define IDC_LBLPIC0 2230

// Help window: IDC_CMDHELP1 + topic - 1 for the topic buttons; its Close
// button is IDCANCEL, so that Esc closes the window.
#define IDC_CMDHELP1 3001
#define IDC_TXTHELP 3011
#define IDC_HELPLABEL1 3012
#define IDC_HELPLABEL2 3013
#define IDC_HELPLABEL3 3014
#define IDC_HELPPICTURE1 3015

// About window; its OK button is IDOK.
#define IDC_ABOUTPICTURE1 3101
#define IDC_ABOUTPICTURE3 3102
#define IDC_LBLHELP4 3103
#define IDC_LBLHELP1 3104
#define IDC_ABOUTLABEL2 3105
#define IDC_LBLHELP3 3106
#define IDC_LBLHYPERLINK 3107

// Print window
#define IDC_CHKCLIPBOARD 3201
#define IDC_CHKTEXT 3202
#define IDC_CHKWHITE 3203
#define IDC_CMDPRINT 3204
#define IDC_CMDCANCEL 3205
#define IDC_PRINTLABEL2 3206
#define IDC_PRINTLABEL1 3207
#define IDC_PRINTLABEL5 3208

// Find window; Enter is IDOK and Esc IDCANCEL, as in a dialog.
#define IDC_FINDLABEL 3301
#define IDC_FINDTEXT 3302
#define IDC_FINDSTATUS 3303
#define IDC_FINDRESULTS 3304
