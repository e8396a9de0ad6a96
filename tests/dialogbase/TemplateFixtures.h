// The dialog tables, written out a second time by hand for the tests, and
// the bytes of the DLGTEMPLATE that Windows documents for them. The
// program's own tables and builder are checked against these; the two share
// nothing but the Win32 headers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dialogbase/DialogTemplateBuilder.h"

// One control: class, text, id, x, y, cx, cy, style, as the tables list them.
struct FixtureControl {
  const wchar_t* windowClass;
  const wchar_t* text;
  int id;
  int x;
  int y;
  int cx;
  int cy;
  DWORD style;
};

struct FixtureDialog {
  int templateId;
  const char* name;
  const wchar_t* caption;
  int cx;
  int cy;
  // Ends with the closing 1 x 1 static.
  std::vector<FixtureControl> controls;
};

// Every template id with a table, Add Site and Edit Site each on its own.
const std::vector<FixtureDialog>& FixtureDialogs();
const FixtureDialog& FixtureFor(int templateId);
// gtest names of parameterised tests.
void PrintTo(const FixtureDialog& dialog, std::ostream* out);

// Every dialog's style: WS_POPUP | WS_CAPTION | WS_SYSMENU.
constexpr DWORD kFixtureDialogStyle = 0x80C80000;

// The template bytes for the fixture as DialogBoxIndirectParamW reads them,
// with the table units scaled by 8 / units.x across and 16 / units.y down.
std::vector<BYTE> FixtureBytes(const FixtureDialog& dialog, DialogBaseUnits units);

