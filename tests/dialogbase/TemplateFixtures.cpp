#include "tests/dialogbase/TemplateFixtures.h"

#include <cstring>
#include <ostream>
#include <stdexcept>

namespace {

const FixtureControl kClosing = {L"static", L"", 845, 0, 0, 1, 1, 0x10000006};

// The site fields of Add Site and Edit Site.
const std::vector<FixtureControl> kSiteControls = {
    {L"EDIT", L"", 33401, 55, 10, 100, 12, 0x10810080},
    {L"EDIT", L"", 33402, 55, 30, 100, 12, 0x10810080},
    {L"EDIT", L"", 33403, 55, 45, 100, 12, 0x10810080},
    {L"EDIT", L"", 33404, 55, 60, 100, 12, 0x10810080},
    {L"EDIT", L"", 33405, 55, 75, 100, 36, 0x10A11044},
    {L"BUTTON", L"&OK", 1, 63, 121, 40, 14, 0x10000001},
    {L"BUTTON", L"&Cancel", 2, 113, 121, 40, 14, 0x10000000},
    {L"BUTTON", L"&Generate", 33400, 160, 45, 50, 12, 0x10000000},
    {L"STATIC", L"Title:", 2500, 0, 12, 50, 10, 0x10000002},
    {L"STATIC", L"User Name:", 2501, 0, 32, 50, 10, 0x10000002},
    {L"STATIC", L"Password:", 2502, 0, 47, 50, 10, 0x10000002},
    {L"STATIC", L"Website URL:", 2503, 0, 62, 50, 10, 0x10000002},
    {L"STATIC", L"Notes:", 2504, 0, 77, 50, 10, 0x10000002},
    kClosing,
};

void Word(std::vector<BYTE>& bytes, int value) {
  bytes.push_back(static_cast<BYTE>(value & 0xFF));
  bytes.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
}

void DoubleWord(std::vector<BYTE>& bytes, DWORD value) {
  Word(bytes, static_cast<int>(value & 0xFFFF));
  Word(bytes, static_cast<int>(value >> 16));
}

void String(std::vector<BYTE>& bytes, const wchar_t* text) {
  for (const wchar_t* c = text; *c; ++c) Word(bytes, *c);
  Word(bytes, 0);
}

}  // namespace

const std::vector<FixtureDialog>& FixtureDialogs() {
  static const std::vector<FixtureDialog> dialogs = {
      {0, "About", L"About", 139, 164,
       {
           {L"STATIC", L"", 2, 60, 15, 16, 16, 0x10000003},
           {L"STATIC", L"Keyfolio for Flash Drives", 2501, 0, 37, 137, 9, 0x10000001},
           {L"STATIC", L"Version 1.01", 2502, 22, 47, 94, 9, 0x10000001},
           {L"STATIC", L"QUILLMARK", 2505, 22, 85, 94, 9, 0x10000001},
           // The text of the link is the program's choice.
           {L"HotLinkText", L"Instructions", 2220, 17, 122, 104, 9, 0x10000000},
           {L"BUTTON", L"&OK", 1, 48, 141, 42, 14, 0x10000001},
           kClosing,
       }},
      {1, "CreatePassword", L"Create Master Password", 111, 59,
       {
           {L"EDIT", L"", 2300, 25, 18, 60, 12, 0x10810000},
           {L"BUTTON", L"&OK", 1, 18, 38, 30, 14, 0x10000001},
           {L"BUTTON", L"&Cancel", 2, 58, 38, 30, 14, 0x10000000},
           {L"STATIC", L"Create Master Password:", 2500, 5, 6, 100, 9, 0x10000001},
           kClosing,
       }},
      {2, "ConfirmPassword", L"Confirm Master Password", 111, 59,
       {
           {L"EDIT", L"", 2300, 25, 18, 60, 12, 0x10810000},
           {L"BUTTON", L"&OK", 1, 18, 38, 30, 14, 0x10000001},
           {L"BUTTON", L"&Cancel", 2, 58, 38, 30, 14, 0x10000000},
           {L"STATIC", L"Re-enter Master Password:", 2500, 0, 6, 110, 9, 0x10000001},
           kClosing,
       }},
      {3, "EnterPassword", L"Keyfolio", 140, 59,
       {
           {L"EDIT", L"", 2300, 40, 18, 60, 12, 0x10810020},
           {L"BUTTON", L"&OK", 1, 12, 38, 30, 14, 0x10000001},
           {L"BUTTON", L"&Cancel", 2, 55, 38, 30, 14, 0x10000000},
           {L"BUTTON", L"&Help", 2301, 98, 38, 30, 14, 0x10000000},
           {L"STATIC", L"Enter Master Password:", 2500, 5, 6, 130, 9, 0x10000001},
           kClosing,
       }},
      {7, "ChangePassword", L"Change Master Password", 111, 90,
       {
           {L"EDIT", L"", 2300, 25, 18, 60, 12, 0x10810000},
           {L"EDIT", L"", 2301, 25, 45, 60, 12, 0x10810000},
           {L"BUTTON", L"&OK", 1, 18, 65, 30, 14, 0x10000001},
           {L"BUTTON", L"&Cancel", 2, 58, 65, 30, 14, 0x10000000},
           {L"STATIC", L"Old Master Password:", 2500, 5, 6, 100, 9, 0x10000001},
           {L"STATIC", L"New Master Password:", 2501, 5, 33, 100, 9, 0x10000001},
           kClosing,
       }},
      {8, "ConfirmNewPassword", L"Confirm New Master Password", 121, 59,
       {
           {L"EDIT", L"", 2300, 30, 18, 60, 12, 0x10810000},
           {L"BUTTON", L"&OK", 1, 23, 38, 30, 14, 0x10000001},
           {L"BUTTON", L"&Cancel", 2, 63, 38, 30, 14, 0x10000000},
           {L"STATIC", L"Re-enter New Master Password:", 2500, 5, 6, 110, 9, 0x10000001},
           kClosing,
       }},
      {9, "AddNewPassword", L"Add Site", 217, 145, kSiteControls},
      {10, "EditPassword", L"Edit Site", 217, 145, kSiteControls},
      {11, "DeletePassword", L"Delete Site", 122, 101,
       {
           {L"LISTBOX", L"", 41000, 6, 17, 111, 63, 0x10A10001},
           {L"STATIC", L"Title:", 2500, 6, 6, 33, 9, 0x10000000},
           {L"BUTTON", L"&Delete", 1, 26, 81, 31, 14, 0x10000001},
           {L"BUTTON", L"&Cancel", 2, 65, 81, 31, 14, 0x10000000},
           kClosing,
       }},
      {12, "GeneratePassword", L"Generate Password", 181, 115,
       {
           {L"BUTTON", L"&Generate Password", 41100, 14, 92, 97, 14, 0x10000001},
           {L"BUTTON", L"&Cancel", 2, 116, 92, 50, 14, 0x10000000},
           {L"STATIC", L"(4 - 64 Characters)", 2505, 117, 8, 105, 13, 0x10000000},
           {L"STATIC", L"Password length:", 2500, 7, 8, 105, 13, 0x10000000},
           {L"STATIC", L"Include lower case letters:", 2501, 7, 24, 105, 13, 0x10000000},
           {L"STATIC", L"Include upper case letters:", 2502, 7, 40, 105, 13, 0x10000000},
           {L"STATIC", L"Include numbers:", 2503, 7, 56, 105, 13, 0x10000000},
           {L"STATIC", L"Include punctuation:", 2504, 7, 72, 105, 13, 0x10000000},
           {L"EDIT", L"", 41102, 100, 7, 12, 13, 0x10812080},
           {L"BUTTON", L"(e.g. abcdef)", 41103, 100, 23, 73, 12, 0x10000003},
           {L"BUTTON", L"(e.g. ABCDEF)", 41104, 100, 39, 73, 12, 0x10000003},
           {L"BUTTON", L"(e.g. 0123456789)", 41105, 100, 55, 73, 12, 0x10000003},
           {L"BUTTON", L"(e.g. !@#$%^&*.,)", 41106, 100, 71, 73, 12, 0x10000003},
           kClosing,
       }},
      // The list is drawn by its dialog (LBS_OWNERDRAWFIXED 0x10, keeping its
      // strings, LBS_HASSTRINGS 0x40) and sized by it (LBS_NOINTEGRALHEIGHT
      // 0x100).
      {13, "FindSite", L"Find Site", 210, 140,
       {
           {L"STATIC", L"Find:", 2500, 0, 9, 30, 10, 0x10000002},
           {L"EDIT", L"", 42000, 35, 7, 168, 12, 0x10810080},
           {L"LISTBOX", L"", 42001, 7, 25, 196, 88, 0x10A10151},
           {L"BUTTON", L"&OK", 1, 62, 120, 40, 14, 0x10000001},
           {L"BUTTON", L"&Cancel", 2, 110, 120, 40, 14, 0x10000000},
           kClosing,
       }},
  };
  return dialogs;
}

const FixtureDialog& FixtureFor(int templateId) {
  for (const FixtureDialog& dialog : FixtureDialogs())
    if (dialog.templateId == templateId) return dialog;
  throw std::out_of_range("no fixture for that template id");
}

void PrintTo(const FixtureDialog& dialog, std::ostream* out) {
  *out << dialog.name;
}

// DLGTEMPLATE: style, extended style, item count (16 bits), x, y, cx, cy;
// menu, class and title as strings. Each DLGITEMTEMPLATE on a DWORD
// boundary: style, extended style, x, y, cx, cy, id; class and text as
// strings; the size of the creation data.
std::vector<BYTE> FixtureBytes(const FixtureDialog& dialog, DialogBaseUnits units) {
  std::vector<BYTE> bytes;
  DoubleWord(bytes, kFixtureDialogStyle);
  DoubleWord(bytes, 0);
  Word(bytes, static_cast<int>(dialog.controls.size()));
  Word(bytes, 0);
  Word(bytes, 0);
  Word(bytes, dialog.cx * 8 / units.x);
  Word(bytes, dialog.cy * 16 / units.y);
  String(bytes, L"");
  String(bytes, L"");
  String(bytes, dialog.caption);
  for (const FixtureControl& control : dialog.controls) {
    while (bytes.size() % 4 != 0) bytes.push_back(0);
    DoubleWord(bytes, control.style | WS_CHILD);
    DoubleWord(bytes, 0);
    Word(bytes, control.x * 8 / units.x);
    Word(bytes, control.y * 16 / units.y);
    Word(bytes, control.cx * 8 / units.x);
    Word(bytes, control.cy * 16 / units.y);
    Word(bytes, control.id);
    String(bytes, control.windowClass);
    String(bytes, control.text);
    Word(bytes, 0);
  }
  return bytes;
}
