#include "dialogbase/DialogScaling.h"

#include "dialogbase/DialogTemplateBuilder.h"
#include "dialogbase/DialogTemplates.h"
#include "support/SystemLibrary.h"
#include "ui/DpiScale.h"
#include "ui/FontManager.h"
#include "ui/ForeignNotify.h"
#include "ui/ProcedureGuard.h"

namespace {

// The dialogs open on this thread, the last opened first; modal dialogs
// close in the reverse order of their opening.
thread_local DialogScaling* t_lastOpened = nullptr;

void SwitchOffSystemScaling(HWND dialog) {
  using SetBehavior = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
  static const auto setBehavior =
      SystemLibrary::Function<SetBehavior>(L"user32.dll", "SetDialogDpiChangeBehavior");
  if (setBehavior) setBehavior(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

}  // namespace

DialogScaling::DialogScaling(int templateId, DLGPROC dialogProc, LPARAM param)
    : m_templateId(templateId),
      m_dialogProc(dialogProc),
      m_param(param),
      m_opener(t_lastOpened) {
  t_lastOpened = this;
}

DialogScaling::~DialogScaling() {
  t_lastOpened = m_opener;
}

DialogScaling* DialogScaling::Of(HWND dialog) {
  for (DialogScaling* open = t_lastOpened; open; open = open->m_opener) {
    if (open->m_dialog == dialog) return open;
  }
  // A dialog's first message: the system makes the window of the last
  // object made here before it returns to anything else.
  if (t_lastOpened && !t_lastOpened->m_dialog) {
    t_lastOpened->m_dialog = dialog;
    return t_lastOpened;
  }
  return nullptr;
}

UINT DialogScaling::DpiOf(HWND dialog) {
  for (const DialogScaling* open = t_lastOpened; open; open = open->m_opener) {
    if (open->m_dialog == dialog && open->m_dpi) return open->m_dpi;
  }
  return DpiScale::OfWindow(dialog).Dpi();
}

INT_PTR CALLBACK DialogScaling::Procedure(HWND dialog, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
  return GuardProcedure(
      L"DialogScaling::Procedure", message,
      [&]() -> INT_PTR {
        DialogScaling* scaling = Of(dialog);
        return scaling ? scaling->Handle(message, wParam, lParam) : FALSE;
      },
      [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) EndDialog(dialog, IDCANCEL);
        return FALSE;
      });
}

INT_PTR DialogScaling::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SwitchOffSystemScaling(m_dialog);
      LayOut(DpiScale::OfWindow(m_dialog).Dpi(), nullptr);
      return m_dialogProc(m_dialog, message, wParam, m_param);
    // The addresses are read only when they are this thread's
    // (ui/ForeignNotify.h): otherwise the system scales the present size,
    // and the dialog keeps its place and takes its own size.
    case kWmGetDpiScaledSize:
      if (!MessageFromThisThread()) return FALSE;
      *reinterpret_cast<SIZE*>(lParam) = WindowSize(static_cast<UINT>(wParam));
      return Answer(TRUE);
    case WM_DPICHANGED:
      // Across and down, the same DPI.
      LayOut(LOWORD(wParam),
             MessageFromThisThread() ? reinterpret_cast<const RECT*>(lParam) : nullptr);
      m_dialogProc(m_dialog, message, wParam, lParam);
      return Answer(0);
    default:
      return m_dialogProc(m_dialog, message, wParam, lParam);
  }
}

// A dialog procedure gives the result of a message that has one through
// DWLP_MSGRESULT, and TRUE for "handled".
INT_PTR DialogScaling::Answer(LRESULT result) const {
  SetWindowLongPtrW(m_dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

// The fonts first: a list box fits its height to whole lines of its font.
void DialogScaling::LayOut(UINT dpi, const RECT* window) {
  m_dpi = dpi;
  FontManager::GetInstance().SetChildFonts(m_dialog, dpi);
  const DpiScale scale(dpi);
  const DialogControlRecord* control = FindDialogControls(m_templateId);
  for (HWND child = GetWindow(m_dialog, GW_CHILD); child && control && control->windowClass;
       child = GetWindow(child, GW_HWNDNEXT), ++control) {
    const RECT at96 = PixelsAt96({control->x, control->y, control->cx, control->cy});
    MoveWindow(child, scale.Pixels(at96.left), scale.Pixels(at96.top), scale.Pixels(at96.right),
               scale.Pixels(at96.bottom), TRUE);
  }
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (window) {
    SetWindowPos(m_dialog, nullptr, window->left, window->top, window->right - window->left,
                 window->bottom - window->top, flags);
  } else {
    const SIZE size = WindowSize(dpi);
    SetWindowPos(m_dialog, nullptr, 0, 0, size.cx, size.cy, flags | SWP_NOMOVE);
  }
}

// The table's size is that of the dialog's client area.
SIZE DialogScaling::WindowSize(UINT dpi) const {
  const DialogHeaderRecord* header = FindDialogHeader(m_templateId);
  const RECT at96 = PixelsAt96({0, 0, header->cx, header->cy});
  const DpiScale scale(dpi);
  const SIZE frame =
      scale.Frame(static_cast<DWORD>(GetWindowLongW(m_dialog, GWL_STYLE)), false,
                  static_cast<DWORD>(GetWindowLongW(m_dialog, GWL_EXSTYLE)));
  return {scale.Pixels(at96.right) + frame.cx, scale.Pixels(at96.bottom) + frame.cy};
}

// Where the system font is the one of 96 DPI, the system's own conversion,
// each value on its own as the system maps them; elsewhere the system font
// has other units (under Wine at 192 DPI a dialog unit down is 7.75
// pixels), and the table's two pixels a unit stand.
RECT DialogScaling::PixelsAt96(const TableRect& table) const {
  if (DpiScale::OfWindow(nullptr).Dpi() != DpiScale::kBaseDpi)
    return {2 * table.x, 2 * table.y, 2 * table.cx, 2 * table.cy};
  const DialogBaseUnits units = SystemDialogBaseUnits();
  RECT place = {DialogUnitsAcross(table.x, units), DialogUnitsDown(table.y, units),
                DialogUnitsAcross(table.cx, units), DialogUnitsDown(table.cy, units)};
  MapDialogRect(m_dialog, &place);
  return place;
}
