// The program's dialogs as two kinds of static records: one header record
// per template id and one list of control records per dialog. There are no
// dialog resources; the builder turns these records into an in-memory
// template each time a dialog opens. Sizes and positions are table units,
// which the builder converts with the system's dialog base units.
//
// The headers are fixed; the lists are reached through a second table that
// InitDialogTemplates fills, so a dialog asked for before the main window
// has set the tables up finds no list and cannot be built.
#pragma once

#include <windows.h>

enum DialogTemplateId {
  DLG_About = 0,
  DLG_CreatePassword = 1,
  DLG_ConfirmPassword = 2,
  DLG_EnterPassword = 3,
  // 4 to 6 have no table.
  DLG_ChangePassword = 7,
  DLG_ConfirmNewPassword = 8,
  DLG_AddNewPassword = 9,
  DLG_EditPassword = 10,
  DLG_DeletePassword = 11,
  DLG_GeneratePassword = 12,
  DLG_FindSite = 13
};

// Control ids of the tables. 1 and 2 are IDOK and IDCANCEL.
constexpr int IDC_ABOUT_ICON = 2;
constexpr int IDC_HOTLINK = 2220;
// The master password fields; the entry dialog's "&Help" button shares 2301.
constexpr int IDC_PASSWORD_ENTRY = 2300;
constexpr int IDC_NEW_PASSWORD_ENTRY = 2301;
constexpr int IDC_HELP_PASSWORD = 2301;
// Labels are numbered from 2500 in every dialog.
constexpr int IDC_LABEL_FIRST = 2500;
constexpr int IDC_LABEL_LAST = 2505;
constexpr int IDC_GENERATE = 33400;
constexpr int IDC_SITE_TITLE = 33401;
constexpr int IDC_SITE_USER_NAME = 33402;
constexpr int IDC_SITE_PASSWORD = 33403;
constexpr int IDC_SITE_WEBSITE_URL = 33404;
constexpr int IDC_SITE_NOTES = 33405;
constexpr int IDC_DELETE_LIST = 41000;
constexpr int IDC_GENERATE_PASSWORD = 41100;
constexpr int IDC_PASSWORD_LENGTH = 41102;
constexpr int IDC_LOWERCASE = 41103;
constexpr int IDC_UPPERCASE = 41104;
constexpr int IDC_NUMBERS = 41105;
constexpr int IDC_PUNCTUATION = 41106;
constexpr int IDC_FIND_TEXT = 42000;
constexpr int IDC_FIND_LIST = 42001;
// The 1 x 1 white rectangle that closes every control list.
constexpr int IDC_CLOSING_STATIC = 845;

// What the About box's link shows. The link opens the help page that ships
// beside the program, so it works offline; the About box gives it that
// address. It fits the link's 104 units in the bold font.
constexpr wchar_t kHelpLinkText[] = L"Instructions";

// The dialog itself. The strings are zero-terminated; an empty menu or class
// is a single zero in the template. pointSize and typeface count only when
// the style has DS_SETFONT.
struct DialogHeaderRecord {
  DWORD style;
  WORD x;
  WORD y;
  WORD cx;
  WORD cy;
  const wchar_t* menu;
  const wchar_t* windowClass;
  const wchar_t* title;
  WORD pointSize;
  const wchar_t* typeface;
};

// One control; a record whose windowClass is null ends a list. The builder
// adds WS_CHILD to the style.
struct DialogControlRecord {
  WORD x;
  WORD y;
  WORD cx;
  WORD cy;
  WORD id;
  DWORD style;
  const wchar_t* windowClass;
  const wchar_t* text;
};

// Fills the table from template id to control list. The main window calls it
// while it is created, before any dialog can open; calling it again changes
// nothing.
void InitDialogTemplates();

// The header of a template id; null for an id outside 0 to 13 or one that
// has no table.
const DialogHeaderRecord* FindDialogHeader(int templateId);
// The control list of a template id, ended by a record with a null class;
// null for an id without a table and for every id before
// InitDialogTemplates.
const DialogControlRecord* FindDialogControls(int templateId);
