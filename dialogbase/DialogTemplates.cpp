#include "dialogbase/DialogTemplates.h"

#include "KeyfolioVersion.h"
#include "ui/HotLinkText.h"

namespace {

// No DS_MODALFRAME and no DS_SETFONT: the dialogs use the system font, and
// they are placed at 0, 0 because each centres itself over its owner.
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

constexpr DWORD kLabelLeft = WS_VISIBLE | SS_LEFT;
constexpr DWORD kLabelCentred = WS_VISIBLE | SS_CENTER;
constexpr DWORD kLabelRight = WS_VISIBLE | SS_RIGHT;
constexpr DWORD kIcon = WS_VISIBLE | SS_ICON;
// No button is a tab stop.
constexpr DWORD kButton = WS_VISIBLE | BS_PUSHBUTTON;
constexpr DWORD kDefaultButton = WS_VISIBLE | BS_DEFPUSHBUTTON;
constexpr DWORD kCheckBox = WS_VISIBLE | BS_AUTOCHECKBOX;
constexpr DWORD kEdit = WS_VISIBLE | WS_BORDER | WS_TABSTOP;
constexpr DWORD kHiddenEdit = kEdit | ES_PASSWORD;
constexpr DWORD kScrollingEdit = kEdit | ES_AUTOHSCROLL;
// A note of any length goes in whole: without ES_AUTOVSCROLL the control
// refuses, without a word, whatever no longer fits in the box.
constexpr DWORD kNotesEdit = kEdit | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
constexpr DWORD kNumberEdit = kEdit | ES_NUMBER | ES_AUTOHSCROLL;
// Not sorted: a title's position in the list is its position in title order.
constexpr DWORD kList = WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY;
// Drawn by its dialog, which keeps the lines to whole items itself once it
// knows the height of one; the strings stay in the list for whoever reads it.
constexpr DWORD kDrawnList = kList | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kLink = WS_VISIBLE;

constexpr wchar_t kStatic[] = L"STATIC";
constexpr wchar_t kButtonClass[] = L"BUTTON";
constexpr wchar_t kEditClass[] = L"EDIT";
constexpr wchar_t kListClass[] = L"LISTBOX";

// Every list ends with this white 1 x 1 rectangle, then the end record.
constexpr DialogControlRecord kClosingStatic = {
    0, 0, 1, 1, IDC_CLOSING_STATIC, WS_VISIBLE | SS_WHITERECT, L"static", L""};
constexpr DialogControlRecord kEndOfList = {0, 0, 0, 0, 0, 0, nullptr, nullptr};

// Field order of a control: x, y, cx, cy, id, style, class, text. Controls
// are created in list order, which is also the tab order.
const DialogControlRecord kAboutControls[] = {
    {60, 15, 16, 16, IDC_ABOUT_ICON, kIcon, kStatic, L""},
    {0, 37, 137, 9, 2501, kLabelCentred, kStatic, L"Keyfolio for Flash Drives"},
    {22, 47, 94, 9, 2502, kLabelCentred, kStatic, L"Version " KFO_VERSION_NAME},
    {22, 85, 94, 9, 2505, kLabelCentred, kStatic, L"QUILLMARK"},
    {17, 122, 104, 9, IDC_HOTLINK, kLink, kHotLinkClassName, kHelpLinkText},
    {48, 141, 42, 14, IDOK, kDefaultButton, kButtonClass, L"&OK"},
    kClosingStatic,
    kEndOfList};

// The create, confirm, change and confirm-new fields show what is typed;
// only the entry dialog hides it.
const DialogControlRecord kCreatePasswordControls[] = {
    {25, 18, 60, 12, IDC_PASSWORD_ENTRY, kEdit, kEditClass, L""},
    {18, 38, 30, 14, IDOK, kDefaultButton, kButtonClass, L"&OK"},
    {58, 38, 30, 14, IDCANCEL, kButton, kButtonClass, L"&Cancel"},
    {5, 6, 100, 9, IDC_LABEL_FIRST, kLabelCentred, kStatic, L"Create Master Password:"},
    kClosingStatic,
    kEndOfList};

const DialogControlRecord kConfirmPasswordControls[] = {
    {25, 18, 60, 12, IDC_PASSWORD_ENTRY, kEdit, kEditClass, L""},
    {18, 38, 30, 14, IDOK, kDefaultButton, kButtonClass, L"&OK"},
    {58, 38, 30, 14, IDCANCEL, kButton, kButtonClass, L"&Cancel"},
    {0, 6, 110, 9, IDC_LABEL_FIRST, kLabelCentred, kStatic, L"Re-enter Master Password:"},
    kClosingStatic,
    kEndOfList};

const DialogControlRecord kEnterPasswordControls[] = {
    {40, 18, 60, 12, IDC_PASSWORD_ENTRY, kHiddenEdit, kEditClass, L""},
    {12, 38, 30, 14, IDOK, kDefaultButton, kButtonClass, L"&OK"},
    {55, 38, 30, 14, IDCANCEL, kButton, kButtonClass, L"&Cancel"},
    {98, 38, 30, 14, IDC_HELP_PASSWORD, kButton, kButtonClass, L"&Help"},
    {5, 6, 130, 9, IDC_LABEL_FIRST, kLabelCentred, kStatic, L"Enter Master Password:"},
    kClosingStatic,
    kEndOfList};

const DialogControlRecord kChangePasswordControls[] = {
    {25, 18, 60, 12, IDC_PASSWORD_ENTRY, kEdit, kEditClass, L""},
    {25, 45, 60, 12, IDC_NEW_PASSWORD_ENTRY, kEdit, kEditClass, L""},
    {18, 65, 30, 14, IDOK, kDefaultButton, kButtonClass, L"&OK"},
    {58, 65, 30, 14, IDCANCEL, kButton, kButtonClass, L"&Cancel"},
    {5, 6, 100, 9, IDC_LABEL_FIRST, kLabelCentred, kStatic, L"Old Master Password:"},
    {5, 33, 100, 9, 2501, kLabelCentred, kStatic, L"New Master Password:"},
    kClosingStatic,
    kEndOfList};

const DialogControlRecord kConfirmNewPasswordControls[] = {
    {30, 18, 60, 12, IDC_PASSWORD_ENTRY, kEdit, kEditClass, L""},
    {23, 38, 30, 14, IDOK, kDefaultButton, kButtonClass, L"&OK"},
    {63, 38, 30, 14, IDCANCEL, kButton, kButtonClass, L"&Cancel"},
    {5, 6, 110, 9, IDC_LABEL_FIRST, kLabelCentred, kStatic, L"Re-enter New Master Password:"},
    kClosingStatic,
    kEndOfList};

// Add Site and Edit Site share this list; the fields start empty.
const DialogControlRecord kSiteControls[] = {
    {55, 10, 100, 12, IDC_SITE_TITLE, kScrollingEdit, kEditClass, L""},
    {55, 30, 100, 12, IDC_SITE_USER_NAME, kScrollingEdit, kEditClass, L""},
    {55, 45, 100, 12, IDC_SITE_PASSWORD, kScrollingEdit, kEditClass, L""},
    {55, 60, 100, 12, IDC_SITE_WEBSITE_URL, kScrollingEdit, kEditClass, L""},
    {55, 75, 100, 36, IDC_SITE_NOTES, kNotesEdit, kEditClass, L""},
    {63, 121, 40, 14, IDOK, kDefaultButton, kButtonClass, L"&OK"},
    {113, 121, 40, 14, IDCANCEL, kButton, kButtonClass, L"&Cancel"},
    {160, 45, 50, 12, IDC_GENERATE, kButton, kButtonClass, L"&Generate"},
    {0, 12, 50, 10, IDC_LABEL_FIRST, kLabelRight, kStatic, L"Title:"},
    {0, 32, 50, 10, 2501, kLabelRight, kStatic, L"User Name:"},
    {0, 47, 50, 10, 2502, kLabelRight, kStatic, L"Password:"},
    {0, 62, 50, 10, 2503, kLabelRight, kStatic, L"Website URL:"},
    {0, 77, 50, 10, 2504, kLabelRight, kStatic, L"Notes:"},
    kClosingStatic,
    kEndOfList};

const DialogControlRecord kDeletePasswordControls[] = {
    {6, 17, 111, 63, IDC_DELETE_LIST, kList, kListClass, L""},
    {6, 6, 33, 9, IDC_LABEL_FIRST, kLabelLeft, kStatic, L"Title:"},
    {26, 81, 31, 14, IDOK, kDefaultButton, kButtonClass, L"&Delete"},
    {65, 81, 31, 14, IDCANCEL, kButton, kButtonClass, L"&Cancel"},
    kClosingStatic,
    kEndOfList};

const DialogControlRecord kGeneratePasswordControls[] = {
    {14, 92, 97, 14, IDC_GENERATE_PASSWORD, kDefaultButton, kButtonClass, L"&Generate Password"},
    {116, 92, 50, 14, IDCANCEL, kButton, kButtonClass, L"&Cancel"},
    {117, 8, 105, 13, 2505, kLabelLeft, kStatic, L"(4 - 64 Characters)"},
    {7, 8, 105, 13, IDC_LABEL_FIRST, kLabelLeft, kStatic, L"Password length:"},
    {7, 24, 105, 13, 2501, kLabelLeft, kStatic, L"Include lower case letters:"},
    {7, 40, 105, 13, 2502, kLabelLeft, kStatic, L"Include upper case letters:"},
    {7, 56, 105, 13, 2503, kLabelLeft, kStatic, L"Include numbers:"},
    {7, 72, 105, 13, 2504, kLabelLeft, kStatic, L"Include punctuation:"},
    {100, 7, 12, 13, IDC_PASSWORD_LENGTH, kNumberEdit, kEditClass, L""},
    {100, 23, 73, 12, IDC_LOWERCASE, kCheckBox, kButtonClass, L"(e.g. abcdef)"},
    {100, 39, 73, 12, IDC_UPPERCASE, kCheckBox, kButtonClass, L"(e.g. ABCDEF)"},
    {100, 55, 73, 12, IDC_NUMBERS, kCheckBox, kButtonClass, L"(e.g. 0123456789)"},
    {100, 71, 73, 12, IDC_PUNCTUATION, kCheckBox, kButtonClass, L"(e.g. !@#$%^&*.,)"},
    kClosingStatic,
    kEndOfList};

// The field has the focus; what it holds picks the sites in the list.
const DialogControlRecord kFindSiteControls[] = {
    {0, 9, 30, 10, IDC_LABEL_FIRST, kLabelRight, kStatic, L"Find:"},
    {35, 7, 168, 12, IDC_FIND_TEXT, kScrollingEdit, kEditClass, L""},
    {7, 25, 196, 88, IDC_FIND_LIST, kDrawnList, kListClass, L""},
    {62, 120, 40, 14, IDOK, kDefaultButton, kButtonClass, L"&OK"},
    {110, 120, 40, 14, IDCANCEL, kButton, kButtonClass, L"&Cancel"},
    kClosingStatic,
    kEndOfList};

constexpr DialogHeaderRecord Header(WORD cx, WORD cy, const wchar_t* title) {
  return {kDialogStyle, 0, 0, cx, cy, L"", L"", title, 0, L""};
}

constexpr int kTemplateCount = DLG_FindSite + 1;

// Indexed by template id; ids 4 to 6 have a null title and no list.
const DialogHeaderRecord kHeaders[kTemplateCount] = {
    Header(139, 164, L"About"),
    Header(111, 59, L"Create Master Password"),
    Header(111, 59, L"Confirm Master Password"),
    Header(140, 59, L"Keyfolio"),
    {},
    {},
    {},
    Header(111, 90, L"Change Master Password"),
    Header(121, 59, L"Confirm New Master Password"),
    Header(217, 145, L"Add Site"),
    Header(217, 145, L"Edit Site"),
    Header(122, 101, L"Delete Site"),
    Header(181, 115, L"Generate Password"),
    Header(210, 140, L"Find Site"),
};

const DialogControlRecord* g_controlLists[kTemplateCount] = {};

bool KnownId(int templateId) {
  return templateId >= 0 && templateId < kTemplateCount && kHeaders[templateId].title;
}

}  // namespace

void InitDialogTemplates() {
  g_controlLists[DLG_About] = kAboutControls;
  g_controlLists[DLG_CreatePassword] = kCreatePasswordControls;
  g_controlLists[DLG_ConfirmPassword] = kConfirmPasswordControls;
  g_controlLists[DLG_EnterPassword] = kEnterPasswordControls;
  g_controlLists[DLG_ChangePassword] = kChangePasswordControls;
  g_controlLists[DLG_ConfirmNewPassword] = kConfirmNewPasswordControls;
  g_controlLists[DLG_AddNewPassword] = kSiteControls;
  g_controlLists[DLG_EditPassword] = kSiteControls;
  g_controlLists[DLG_DeletePassword] = kDeletePasswordControls;
  g_controlLists[DLG_GeneratePassword] = kGeneratePasswordControls;
  g_controlLists[DLG_FindSite] = kFindSiteControls;
}

const DialogHeaderRecord* FindDialogHeader(int templateId) {
  return KnownId(templateId) ? &kHeaders[templateId] : nullptr;
}

const DialogControlRecord* FindDialogControls(int templateId) {
  return KnownId(templateId) ? g_controlLists[templateId] : nullptr;
}
