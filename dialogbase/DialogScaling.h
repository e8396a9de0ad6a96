// A dialog of the tables on the screen it is on: laid out for that screen's
// DPI when it opens and again whenever the DPI changes, and drawn in the
// program's face throughout.
//
// RunTemplateDialog gives DialogBoxIndirectParamW the procedure here in
// place of the dialog's own, which it calls with every message, so that
// every dialog, whatever its procedure, is scaled the one way:
// - WM_INITDIALOG: every control takes the program's normal font at the
//   dialog's DPI, before the dialog's own procedure sets any other (the
//   bold labels); the dialog and its controls take the sizes and places of
//   the table at that DPI.
// - WM_GETDPISCALEDSIZE: the dialog's size at the DPI to come.
// - WM_DPICHANGED: the dialog takes the rectangle that Windows gives, its
//   controls their places and their fonts for the new DPI; then the
//   dialog's own procedure hears of it (the About box's icon).
//
// The tables are laid out in pixels at 96 DPI, about two to a table unit
// (DialogTemplateBuilder.h), and a size at another DPI is that size scaled
// (DpiScale), as in the main window. The system font's dialog units cannot
// do it: that font is made for the system's DPI, not the monitor's, and its
// units round each value to a quarter and an eighth of the font, which
// grows unevenly (under Wine 7 x 16 at 96 DPI, 11 x 36 at 144, 14 x 62 at
// 192). At 96 DPI the places are exactly those the system gave the
// template.
//
// Windows 10 (1703 on) lays a per-monitor (v2) dialog out anew by itself
// when its DPI changes, from its font; but these dialogs use the system
// font, which does not follow the monitor, and their controls carry fonts
// of the program's own. So that is switched off where it can be
// (SetDialogDpiChangeBehavior, 1803 on), and the dialog answers the two
// messages itself, which leaves nothing to the system's handling.
#pragma once

#include <windows.h>

class DialogScaling {
 public:
  // One for each dialog that opens, for the time it is open; the dialog's
  // window takes the object that was made last on this thread and has none
  // yet, with its first message.
  DialogScaling(int templateId, DLGPROC dialogProc, LPARAM param);
  DialogScaling(const DialogScaling&) = delete;
  DialogScaling& operator=(const DialogScaling&) = delete;
  virtual ~DialogScaling();

  // The dialog procedure that RunTemplateDialog runs; its lParam at
  // WM_INITDIALOG is the object, which hands the dialog's own procedure its
  // own parameter. No exception leaves it.
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  // The DPI that a dialog open on this thread is laid out for; the window's
  // own DPI for any other window.
  static UINT DpiOf(HWND dialog);

 private:
  // A rectangle of the table: position and size in table units.
  struct TableRect {
    WORD x, y, cx, cy;
  };

  static DialogScaling* Of(HWND dialog);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  // Gives the controls their fonts and places, and the dialog its size, at
  // `dpi`; the dialog keeps its place, or takes `window` when given.
  void LayOut(UINT dpi, const RECT* window);
  SIZE WindowSize(UINT dpi) const;
  // The rectangle in pixels at 96 DPI: left and top, width and height.
  RECT PixelsAt96(const TableRect& table) const;
  INT_PTR Answer(LRESULT result) const;

  int m_templateId;
  DLGPROC m_dialogProc;
  LPARAM m_param;
  HWND m_dialog = nullptr;
  UINT m_dpi = 0;
  DialogScaling* m_opener;
};
