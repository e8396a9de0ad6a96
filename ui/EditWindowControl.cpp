#include "ui/EditWindowControl.h"

#include <algorithm>

#include "storage/DeSerializerInterface.h"
#include "storage/SerializerInterface.h"
#include "support/DebugLog.h"
#include "support/SecureWipe.h"
#include "ui/DebugEditWnd.h"
#include "ui/FontManager.h"
#include "ui/HandleForLog.h"

namespace {

// Every field is a visible bordered child that keeps showing its selection
// when it loses the focus.
constexpr DWORD kBaseStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NOHIDESEL;
constexpr DWORD kExtendedStyle = WS_EX_WINDOWEDGE | WS_EX_NOPARENTNOTIFY;
constexpr int kMarginPixels = 5;

bool KeyIsDown(int key) {
  return GetKeyState(key) < 0;
}

// Every way an edit control has of putting its text on the clipboard: the
// messages, its context menu, and the keys it answers itself (Ctrl+C and
// Ctrl+X, characters 3 and 24; Ctrl+Insert, Shift+Delete). Wine's control
// copies on some of the keys without sending itself WM_COPY.
bool WouldCopy(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_COPY:
    case WM_CUT:
    case WM_CONTEXTMENU:
      return true;
    case WM_CHAR:
      return wParam == 3 || wParam == 24;
    case WM_KEYDOWN:
      return (wParam == VK_INSERT && KeyIsDown(VK_CONTROL)) ||
             (wParam == VK_DELETE && KeyIsDown(VK_SHIFT));
    default:
      return false;
  }
}

}  // namespace

EditWindowControl::EditWindowControl(HWND parent, int id, const wchar_t* text, int editType,
                                     int boldFont, bool noAutoScroll) {
  const DWORD style = ChooseStyle(editType, noAutoScroll);
  HWND hWnd = CreateWindowExW(kExtendedStyle, L"EDIT", L"", style, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  if (!IsWindow(hWnd)) throw DebugEditWnd(*this, EW_CreateFailed);
  AttachHWND(hWnd);
  m_boldFont = boldFont;
  ApplyFont();
  SetTabStops(m_tabStop);
  Send(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(kMarginPixels, kMarginPixels));
  Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  ResetModification(true);
}

EditWindowControl::EditWindowControl(const EditWindowControl& source, bool deepCopy) {
  if (deepCopy) {
    DebugLog(L"EditWindowControl::EditWindowControl copy constructor deep copy requested.");
    return;
  }
  m_tabStop = source.m_tabStop;
  m_hWnd = source.m_hWnd;
}

DWORD EditWindowControl::ChooseStyle(int editType, bool noAutoScroll) {
  DWORD added = 0;
  m_noFocus = 1;
  switch (editType) {
    case EWC_SingleLineTextLeft:
      DebugLog(L"EWC_SingleLineTextLeft %i == editType %i", EWC_SingleLineTextLeft, editType);
      m_noFocus = 0;
      break;
    case EWC_SingleLineTextCenter:
      added = ES_CENTER;
      m_noFocus = 0;
      break;
    case EWC_SingleLineTextRight:
      added = ES_RIGHT;
      m_noFocus = 0;
      break;
    case EWC_NumberRight:
      added = ES_NUMBER | ES_RIGHT;
      m_noFocus = 0;
      break;
    case EWC_MultiLineText:
      DebugLog(L"EWC_MultiLineText %i == editType %i", EWC_MultiLineText, editType);
      added = ES_MULTILINE;
      m_noFocus = 0;
      break;
    case EWC_DisabledMultiLineText:
      DebugLog(L"EWC_DisabledMultiLineText %i == editType %i", EWC_DisabledMultiLineText,
               editType);
      added = ES_MULTILINE;
      break;
    case EWC_ReadOnlyMultiLineText:
      DebugLog(L"EWC_ReadOnlyMultiLineText %i == editType %i", EWC_ReadOnlyMultiLineText,
               editType);
      added = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
      m_noFocus = 0;
      break;
    case EWC_DisabledSingleLineTextLeft:
      break;
    case EWC_DisabledSingleLineTextCenter:
      added = ES_CENTER;
      break;
    case EWC_DisabledSingleLineTextRight:
      added = ES_RIGHT;
      break;
    case EWC_ReadOnlySingleLineTextLeft:
      added = ES_READONLY;
      m_noFocus = 0;
      break;
    case EWC_ReadOnlyPasswordText:
      added = ES_READONLY | ES_PASSWORD;
      m_noFocus = 0;
      m_holdsPassword = true;
      break;
    case EWC_ReadOnlySingleLineTextCenter:
      added = ES_READONLY | ES_CENTER;
      m_noFocus = 0;
      break;
    case EWC_ReadOnlySingleLineTextRight:
      added = ES_READONLY | ES_RIGHT;
      m_noFocus = 0;
      break;
    default:
      m_noFocus = 0;
      break;
  }
  return kBaseStyle | added | (noAutoScroll ? 0 : ES_AUTOHSCROLL);
}

// A field that takes no focus answers these itself: the control never learns
// it has the focus (no caret), never sets the cursor shape, and a click on
// it is swallowed before it can activate anything. A password field keeps
// its text off the clipboard (a password leaves only through the program's
// own copy, which takes it off again), and overwrites its text before any
// new text, from whoever sets it.
LRESULT EditWindowControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_holdsPassword) {
    if (WouldCopy(message, wParam)) return 0;
    if (message == WM_SETTEXT) WipeFieldText(m_hWnd);
  }
  if (m_noFocus == 1) {
    switch (message) {
      case WM_SETFOCUS:
        return 1;
      case WM_SETCURSOR:
        return 0;
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATEANDEAT;
      default:
        break;
    }
  }
  return Window::Dispatch(message, wParam, lParam);
}

void EditWindowControl::OnDestroy() {
  if (m_holdsPassword) WipeFieldText(m_hWnd);
}

void EditWindowControl::OnSetFocus() {
  DebugLog(L"EditWindowControl::WM_SETFOCUS %i", HandleForLog(m_hWnd));
}

// ES_NOHIDESEL keeps a selection visible in a field without the focus; the
// fields drop it instead, so only the focused field shows one.
void EditWindowControl::OnKillFocus() {
  SetSelection(-1, -1);
}

// A tab typed into a field would land in the text; it reaches the control as
// character 0, which the control ignores.
wchar_t EditWindowControl::OnChar(wchar_t charCode, LONG) {
  return charCode == L'\t' ? L'\0' : charCode;
}

POINT EditWindowControl::GetCaretPosition() {
  DWORD start = 0;
  GetSelection(&start, nullptr);
  const int line = LineFromChar(static_cast<int>(start));
  const int lineStart = static_cast<int>(Send(EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  return POINT{static_cast<LONG>(start) - lineStart, line};
}

bool EditWindowControl::GetSelection(DWORD* start, DWORD* end) {
  DWORD selectionStart = 0;
  DWORD selectionEnd = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
       reinterpret_cast<LPARAM>(&selectionEnd));
  if (start) *start = selectionStart;
  if (end) *end = selectionEnd;
  return selectionStart < selectionEnd;
}

bool EditWindowControl::GetSelectedText(std::wstring& text) {
  DWORD start = 0;
  DWORD end = 0;
  if (!GetSelection(&start, &end)) {
    text.clear();
    return false;
  }
  std::wstring whole = GetText();
  ScopedWipe wipe(whole);
  const size_t from = std::min<size_t>(start, whole.size());
  text.assign(whole, from, std::min<size_t>(end, whole.size()) - from);
  return true;
}

void EditWindowControl::SetSelection(int start, int end) {
  Send(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void EditWindowControl::ReplaceSelection(const wchar_t* text) {
  Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

int EditWindowControl::LineFromChar(int index) {
  return static_cast<int>(Send(EM_LINEFROMCHAR, static_cast<WPARAM>(index), 0));
}

int EditWindowControl::ReadWindowText(wchar_t* buffer, int size) {
  return GetWindowTextW(m_hWnd, buffer, size);
}

void EditWindowControl::GetEntireTextForPrinting(std::wstring& text) {
  DebugLog(L"EditWindowControl::GetEntireTextForPrinting lineCount %i", GetLineCount());
  const LRESULT firstIndex = Send(EM_LINEINDEX, 0, 0);
  const LRESULT length = Send(EM_LINELENGTH, static_cast<WPARAM>(firstIndex), 0);
  // EM_GETLINE takes the buffer's capacity from its first word and writes
  // no terminating zero.
  const WORD capacity = static_cast<WORD>(std::min<LRESULT>(std::max<LRESULT>(length, 1), 0xFFFF));
  std::wstring line(capacity, L'\0');
  line[0] = static_cast<wchar_t>(capacity);
  const LRESULT copied = Send(EM_GETLINE, 0, reinterpret_cast<LPARAM>(&line[0]));
  line.resize(static_cast<size_t>(std::min<LRESULT>(std::max<LRESULT>(copied, 0), capacity)));
  DebugLog(L"nNumberChar %i pszText %s", static_cast<int>(copied), line.c_str());
  text.swap(line);
  SecureWipe(line);
}

void EditWindowControl::SetText(const wchar_t* text) {
  Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void EditWindowControl::Move(int x, int y, int width, int height) {
  MoveWindow(m_hWnd, x, y, width, height, TRUE);
}

void EditWindowControl::ApplyFont() {
  const HFONT font = FontManager::GetInstance().GetFontHandle(m_boldFont != 0 ? 1 : 0);
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

int EditWindowControl::GetLineHeight() {
  return FontManager::GetInstance().GetLineHeight(0);
}

int EditWindowControl::GetLineCount() {
  return static_cast<int>(Send(EM_GETLINECOUNT, 0, 0));
}

void EditWindowControl::Copy() {
  Send(WM_COPY, 0, 0);
}

void EditWindowControl::Cut() {
  Send(WM_CUT, 0, 0);
}

void EditWindowControl::Paste() {
  Send(WM_PASTE, 0, 0);
}

std::wstring EditWindowControl::GetText() {
  std::wstring text;
  GetTextIntoString(text);
  return text;
}

void EditWindowControl::GetTextIntoString(std::wstring& text) {
  const int length = GetWindowTextLengthW(m_hWnd);
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  buffer.resize(static_cast<size_t>(std::max(ReadWindowText(&buffer[0], length + 1), 0)));
  text.swap(buffer);
  SecureWipe(buffer);
}

void EditWindowControl::ResetModification(bool emptyUndo) {
  Send(EM_SETMODIFY, FALSE, 0);
  if (emptyUndo) Send(EM_EMPTYUNDOBUFFER, 0, 0);
}

void EditWindowControl::SetTabStops(int width) {
  m_tabStop = width;
  int stop = width * 4;
  Send(EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
  InvalidateRect(m_hWnd, nullptr, FALSE);
}

void EditWindowControl::Serialize(SerializerInterface& serializer) {
  std::wstring text = GetText();
  ScopedWipe wipe(text);
  serializer.PutString(text);
}

void EditWindowControl::DeSerialize(DeSerializerInterface& deserializer) {
  std::wstring text = deserializer.GetString();
  ScopedWipe wipe(text);
  SetText(text.c_str());
}
