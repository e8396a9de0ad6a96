// The base of the program's dialog objects: a modal dialog built from one of
// the in-memory templates, whose messages reach virtual handlers of the
// object. Constructing a dialog object shows the dialog; the caller reads
// what it needs afterwards and lets the object go.
//
// Two things shape it. First, the modal loop must run for the most-derived
// object: run from a base constructor it would call the base's
// GetTemplateID and handlers, since the derived parts do not exist yet. So
// the constructor here runs nothing, and the most-derived class calls DoModal
// from its own constructor; a class that others derive from gives them a
// protected constructor that does not run the dialog either.
//
// Second, the dialog window is bound to the object (AttachHWND, which
// subclasses it), and a message reaches a bound window's Dispatch before the
// dialog's own procedure, DialogBaseProc, sees it. DialogBaseProc alone
// cracks the dialog's messages into handlers, and Dispatch hands WM_COMMAND
// and WM_NOTIFY straight on, so every message reaches each handler once.
// WM_NOTIFY therefore arrives in OnDialogNotify, never in OnNotify.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Window.h"

class DialogBase : public Window {
 public:
  // The value that the last modal run ended with; 0 before the first run
  // and when the dialog could not be built.
  INT_PTR GetResult() const { return m_result; }

  // The template that DoModal shows when it is given none.
  virtual int GetTemplateID() const = 0;
  // Every message that no handler below takes; 0: left to the system.
  virtual INT_PTR DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
  // Centres the dialog over its parent. TRUE lets the system give the focus
  // to the first tab stop; a handler that set the focus itself answers FALSE.
  virtual INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam);
  // IDOK and IDCANCEL end the dialog with that id; Esc and the close box
  // arrive as IDCANCEL. Other ids do nothing.
  LRESULT OnCommand(int id, HWND control, UINT notifyCode) override;
  virtual INT_PTR OnDialogNotify(WPARAM wParam, LPARAM lParam);
  // Paints the upper 20 x 20 image of the bitmap IDB_EDITBUTTON of the
  // program's module at the item's top left corner, the lower one while the
  // item is selected, at the size for the dialog's DPI; nothing when the
  // program has no such bitmap.
  virtual INT_PTR OnDrawItem(WPARAM wParam, const DRAWITEMSTRUCT* item);
  // A brush for the control's background; null leaves it to the system.
  virtual HBRUSH OnCTLColorEdit(HDC dc, HWND control);
  virtual HBRUSH OnCTLColorStatic(HDC dc, HWND control);
  virtual HBRUSH OnCTLColorDlg(HDC dc, HWND dialog);
  // Non-zero when the handler erased the background itself.
  virtual INT_PTR OnEraseBkgnd(HDC dc);
  // The dialog's screen has another DPI now; its controls have their fonts
  // and places for it already (DialogScaling). Nothing here.
  virtual void OnDpiChanged(UINT dpi);

  // WM_COMMAND and WM_NOTIFY go on to the dialog's procedure untouched;
  // everything else as in Window.
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The dialog procedure of every dialog object. WM_INITDIALOG binds the
  // object passed as its lParam to the window; messages before it, and
  // after the window left the registry, find no object and answer 0. No
  // exception leaves it: a handler that throws is traced and the message
  // answers 0, except that a failed WM_INITDIALOG ends the dialog with
  // IDCANCEL, so that a dialog that could not set itself up is never used.
  static INT_PTR CALLBACK DialogBaseProc(HWND dialog, UINT message, WPARAM wParam,
                                         LPARAM lParam);

 protected:
  // Runs nothing: see above.
  DialogBase() = default;

  // Shows the template (GetTemplateID() when `templateId` is 0) modally over
  // `parent` and returns when it is closed, with the result it also keeps.
  // Call it from the most-derived constructor only.
  INT_PTR DoModal(HWND parent, int templateId = 0);

  // The control with that id, null when there is none.
  HWND Item(int id) const;
  // FontManager font `fontIndex` at the dialog's DPI on every control with
  // an id from `firstId` to `lastId`; ids without a control are skipped.
  void SetItemFont(int fontIndex, int firstId, int lastId) const;
  // The whole text of a control; empty when there is no such control. A
  // caller that reads a password wipes the string (SecureWipe).
  std::wstring ItemText(int id) const;
  // Ends the modal run with `result` once the current message is handled.
  void End(INT_PTR result) const;

 private:
  INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);

  INT_PTR m_result = 0;
};
