// The operations the program uses on an edit field, apart from how the field
// is made: the main window holds its fields through this interface and gets
// them from EditWindowManager. Each operation is one edit message or a short
// sequence of them; the field keeps no text of its own.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Serializable.h"
#include "ui/Window.h"

class AbstractEditWindowControl : public Window, public Serializable {
 public:
  // Column and line of the selection's start (x the column, y the line).
  virtual POINT GetCaretPosition() = 0;
  // Either pointer may be null. True when the selection is not empty.
  virtual bool GetSelection(DWORD* start, DWORD* end) = 0;
  // The selected characters, or the empty string; true when there were any.
  virtual bool GetSelectedText(std::wstring& text) = 0;
  virtual void SetSelection(int start, int end) = 0;
  // Undoable.
  virtual void ReplaceSelection(const wchar_t* text) = 0;
  virtual bool Check(int value) = 0;
  virtual int LineFromChar(int index) = 0;
  // GetWindowTextW into the caller's buffer of `size` characters.
  virtual int ReadWindowText(wchar_t* buffer, int size) = 0;
  virtual void GetEntireTextForPrinting(std::wstring& text) = 0;
  virtual void SetText(const wchar_t* text) = 0;
  // Places the field in its parent's client area, repainting it.
  virtual void Move(int x, int y, int width, int height) = 0;
  virtual void ApplyFont() = 0;
  // The framework's line height of its normal font, in pixels.
  virtual int GetLineHeight() = 0;
  virtual int GetLineCount() = 0;
  virtual void Copy() = 0;
  virtual void Cut() = 0;
  virtual void Paste() = 0;
  virtual std::wstring GetText() = 0;
  virtual void GetTextIntoString(std::wstring& text) = 0;

  // m_hWnd, tracing when it no longer names a window.
  HWND GetCheckedHWnd() const;
};
