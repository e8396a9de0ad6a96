// One standard edit control as a framework window object. Its edit type fixes
// its styles once, at creation, and whether it may take the focus. A
// read-only field is there to be read: it takes the focus, so that the caret
// can travel through a value longer than the field, and the multi-line one
// scrolls. A disabled field must never show a caret or react to the mouse,
// so for it the object answers the focus, cursor and mouse-activation
// messages itself and the control never sees them. A password field keeps
// its text from copy and cut, and overwrites it (WipeFieldText) before any
// new text, from whoever sets it, and before it is destroyed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/ErrorCodes.h"
#include "ui/AbstractEditWindowControl.h"

enum EditWindowType : int32_t {
  EWC_SingleLineTextLeft = 0,
  EWC_SingleLineTextCenter = 1,
  EWC_SingleLineTextRight = 2,
  EWC_NumberRight = 3,
  EWC_MultiLineText = 4,
  EWC_DisabledMultiLineText = 5,
  EWC_ReadOnlyMultiLineText = 6,
  EWC_DisabledSingleLineTextLeft = 7,
  EWC_DisabledSingleLineTextCenter = 8,
  EWC_DisabledSingleLineTextRight = 9,
  EWC_ReadOnlySingleLineTextLeft = 10,
  EWC_ReadOnlyPasswordText = 11,
  EWC_ReadOnlySingleLineTextCenter = 12,
  EWC_ReadOnlySingleLineTextRight = 13,
};

class EditWindowControl : public AbstractEditWindowControl, public EditWindowErrorCodes {
 public:
  // Makes the control as a child of `parent` at position and size 0 (the
  // caller places it with Move). `boldFont` 0 takes the framework's normal
  // font, any other value its bold one. `noAutoScroll` false adds
  // ES_AUTOHSCROLL. Throws DebugEditWnd (EW_CreateFailed) when the window
  // cannot be made.
  EditWindowControl(HWND parent, int id, const wchar_t* text, int editType, int boldFont,
                    bool noAutoScroll);
  // Not a deep copy either way: with `deepCopy` false the new object takes
  // the tab-stop width and the handle (both objects then name the same
  // window, and whichever goes first destroys it); with true it takes
  // neither and stays unbound.
  EditWindowControl(const EditWindowControl& source, bool deepCopy);

  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;
  void OnSetFocus() override;
  void OnKillFocus() override;
  wchar_t OnChar(wchar_t charCode, LONG keyData) override;
  WORD OnKeyDown(WORD keyCode, LONG) override { return keyCode; }

  POINT GetCaretPosition() override;
  bool GetSelection(DWORD* start, DWORD* end) override;
  bool GetSelectedText(std::wstring& text) override;
  void SetSelection(int start, int end) override;
  void ReplaceSelection(const wchar_t* text) override;
  bool Check(int) override { return true; }
  int LineFromChar(int index) override;
  int ReadWindowText(wchar_t* buffer, int size) override;
  // Only the first line, although the trace names the line count.
  void GetEntireTextForPrinting(std::wstring& text) override;
  void SetText(const wchar_t* text) override;
  void Move(int x, int y, int width, int height) override;
  void ApplyFont() override;
  int GetLineHeight() override;
  int GetLineCount() override;
  void Copy() override;
  void Cut() override;
  void Paste() override;
  std::wstring GetText() override;
  void GetTextIntoString(std::wstring& text) override;

  // Clears the modified flag; with `emptyUndo` also the undo buffer.
  virtual void ResetModification(bool emptyUndo);
  // One tab stop every `width` average characters (4 dialog units each).
  virtual void SetTabStops(int width);

  // The whole text as one string; the copy taken for writing is wiped.
  void Serialize(SerializerInterface& serializer) override;
  void DeSerialize(DeSerializerInterface& deserializer) override;

  int32_t GetTabStop() const { return m_tabStop; }
  int32_t GetBoldFont() const { return m_boldFont; }
  int32_t GetNoFocus() const { return m_noFocus; }
  // The password type: copy and cut do nothing, and the text is wiped.
  bool HoldsPassword() const { return m_holdsPassword; }

 private:
  // The window style of an edit type; sets m_noFocus and m_holdsPassword on
  // the way.
  DWORD ChooseStyle(int editType, bool noAutoScroll);

  int32_t m_tabStop = 3;
  int32_t m_boldFont = 0;
  int32_t m_noFocus = 0;
  bool m_holdsPassword = false;
};
