#pragma once
// Resource IDs of Telvor.exe (used by Telvor.rc and by the code; plain defines for the
// resource compiler).

// The program icon, also the main window's and the notification icon's normal picture.
#define IDI_MAINFORM 1
// The configuration dialog's icon; the notification icon shows it while the display of
// calls is switched off.
#define IDI_CONFIGUREFORM 2
// The caller window's icon; the notification icon shows it while a call is held.
#define IDI_CALLERFORM 3
// The about box's picture: 400 x 300, 256 colours (made by tools/make-about-picture).
#define IDB_ABOUTBOX 10
