// Identifiers of the program's resources and of the commands that its menu,
// accelerators and main window buttons send, shared by the resource script
// and the code. Plain macros: the resource compiler reads this file too. It
// lives at the bottom of the build so that the dialogs and the password
// flows can name the resources without reaching up into the application.
#pragma once

// The hot-link windows' cursor: a resource name, not a number.
#define IDC_HAND_CURSOR_NAME L"HAND"

#define IDI_KEYFOLIO 107
// The main window's menu bar and its accelerator table share the number.
#define IDC_KEYFOLIO 109
// The dialogs' owner-drawn button image: two 20 x 20 images, one above the
// other, the lower one for the pressed state.
#define IDB_EDITBUTTON 130

#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_PASSWORD_ADD 32771
#define IDM_PASSWORD_DELETE 32772
#define IDM_PASSWORD_EDIT 32775
#define IDM_PASSWORD_HIDE 32776
#define IDM_PASSWORD_SHOW 32777
#define IDM_MASTERPASSWORD_CHANGE 32781
#define IDM_HELP 32792
#define IDM_DISCLAIMER 32793
#define IDM_IMPORT_SITES 32810
#define IDM_EXPORT_SITES 32811
#define IDM_BACKUP_VAULT 32812
// Back to the master password question, nothing of the vault left in memory.
#define IDM_LOCK 32820
#define IDM_FIND_SITE 32830

#define IDCB_DBPASSWORD 33000
#define IDB_USERNAME 33300
#define IDB_PASSWORD 33301
#define IDB_WEBSITEURL 33302
#define IDB_ADDNEWSITE 33303

#ifndef RC_INVOKED
// Posted by the main window to itself, never sent by a menu: a constant, so
// that the command's handler can carry the command's name.
constexpr int ID_Intro_Dialog = 32800;
#endif
