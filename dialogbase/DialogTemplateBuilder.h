// Turns the records of DialogTemplates.h into a DLGTEMPLATE with its
// DLGITEMTEMPLATE entries, and runs the result as a modal dialog. Every
// dialog of the program opens through RunTemplateDialog: the master password
// flows with dialog procedures of their own, the dialog objects through
// DialogBase.
//
// Table units are converted with the system font's dialog base units:
// x' = x * 8 / baseX, y' = y * 16 / baseY. The system turns a dialog unit
// into baseX / 4 and baseY / 8 pixels, so a table unit comes out as about
// two pixels in both directions whatever the system font: the tables are
// laid out in pixels, and the text does not grow with the font. With the
// 8 x 16 of Windows's usual system font the converted values equal the
// table's; with the 7 x 16 that Wine reports they grow by 8 / 7 across
// (the Add Site dialog's 217 becomes 248) and stay as they are down.
#pragma once

#include <windows.h>

#include "dialogbase/DialogTemplateBlock.h"
#include "dialogbase/DialogTemplates.h"

// The size of every template block; each table needs well under 1 KiB.
constexpr size_t kDialogTemplateBlockSize = 8192;

struct DialogBaseUnits {
  int x;
  int y;
};

// GetDialogBaseUnits: the average width and the height of the system font.
DialogBaseUnits SystemDialogBaseUnits();
// A table value in dialog units, as above: across, value * 8 / baseX;
// down, value * 16 / baseY (integer division).
long DialogUnitsAcross(WORD value, DialogBaseUnits units);
long DialogUnitsDown(WORD value, DialogBaseUnits units);

// The template of a template id with the system's base units, or with the
// given ones. Empty when it cannot be built: an id without a table (or any
// id before InitDialogTemplates), a template that would not fit the block,
// a converted value that does not fit its 16-bit field, base units that are
// not positive, or no memory for the block.
DialogTemplateBlock BuildDialogTemplate(int templateId);
DialogTemplateBlock BuildDialogTemplate(int templateId, DialogBaseUnits units);
// The same for records that are not in the tables; `controls` ends with a
// record whose class is null.
DialogTemplateBlock BuildDialogTemplate(const DialogHeaderRecord& header,
                                        const DialogControlRecord* controls,
                                        DialogBaseUnits units);

// Builds the template and runs it with DialogBoxIndirectParamW over `owner`,
// with the owner's instance handle (the program's module when the owner is
// null); `param` reaches `dialogProc` as WM_INITDIALOG's lParam. The dialog
// is laid out for the DPI of its screen and drawn in the program's face
// (DialogScaling). The value passed to EndDialog; 0 after "Insufficient
// memory." under "Dialog Box Error" when the dialog cannot be built, and
// also when the system cannot make its window.
INT_PTR RunTemplateDialog(HWND owner, int templateId, DLGPROC dialogProc, LPARAM param);

// Moves the window, keeping its size and without repainting, so that it is
// centred over its parent (the owner of a popup). Integer halves truncate
// toward zero; a window larger than its parent overhangs it on every side.
// A window without a parent stays where it is.
void CenterOverParent(HWND dialog);
