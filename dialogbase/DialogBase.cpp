#include "dialogbase/DialogBase.h"

#include <memory>
#include <type_traits>

#include "dialogbase/DialogScaling.h"
#include "dialogbase/DialogTemplateBuilder.h"
#include "support/ResourceIds.h"
#include "support/WindowText.h"
#include "ui/FontManager.h"
#include "ui/DpiScale.h"
#include "ui/InstanceSubclasser.h"
#include "ui/ProcedureGuard.h"
#include "ui/ScopedGdi.h"

namespace {

// One image of IDB_EDITBUTTON; the two lie one above the other.
constexpr int kButtonImageSize = 20;

struct MemoryDCDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDCDeleter>;

DialogBase* DialogObjectOf(HWND dialog) {
  return dynamic_cast<DialogBase*>(GetWindowObject(dialog));
}

}  // namespace

INT_PTR DialogBase::DefaultHandler(UINT, WPARAM, LPARAM) {
  return 0;
}

INT_PTR DialogBase::OnInitDialog(WPARAM, LPARAM) {
  CenterOverParent(m_hWnd);
  return TRUE;
}

LRESULT DialogBase::OnCommand(int id, HWND, UINT) {
  if (id == IDOK || id == IDCANCEL) End(id);
  return 0;
}

INT_PTR DialogBase::OnDialogNotify(WPARAM, LPARAM) {
  return TRUE;
}

INT_PTR DialogBase::OnDrawItem(WPARAM, const DRAWITEMSTRUCT* item) {
  if (!item) return TRUE;
  // Declared in this order so that the bitmap is selected out of the memory
  // context before the context, and then the bitmap, are deleted.
  const ScopedGdiObject bitmap(
      LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_EDITBUTTON)));
  if (!bitmap.Get()) return TRUE;
  const MemoryDC memory(CreateCompatibleDC(item->hDC));
  if (!memory) return TRUE;
  const SelectedObject selected(memory.get(), bitmap.Get());
  const int imageTop = (item->itemState & ODS_SELECTED) ? kButtonImageSize : 0;
  // Pixel for pixel at 96 DPI; larger, each source pixel stays one colour.
  const int size = DpiScale(DialogScaling::DpiOf(m_hWnd)).Pixels(kButtonImageSize);
  const int mode = SetStretchBltMode(item->hDC, COLORONCOLOR);
  StretchBlt(item->hDC, item->rcItem.left, item->rcItem.top, size, size, memory.get(), 0, imageTop,
             kButtonImageSize, kButtonImageSize, SRCCOPY);
  SetStretchBltMode(item->hDC, mode);
  return TRUE;
}

HBRUSH DialogBase::OnCTLColorEdit(HDC, HWND) {
  return nullptr;
}

HBRUSH DialogBase::OnCTLColorStatic(HDC, HWND) {
  return nullptr;
}

HBRUSH DialogBase::OnCTLColorDlg(HDC, HWND) {
  return nullptr;
}

INT_PTR DialogBase::OnEraseBkgnd(HDC) {
  return 0;
}

void DialogBase::OnDpiChanged(UINT) {}

LRESULT DialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  // Window::Dispatch would call OnCommand or OnNotify here, and the dialog's
  // own procedure, which the message is forwarded to, calls OnCommand or
  // OnDialogNotify again.
  if (message == WM_COMMAND || message == WM_NOTIFY) return Forward(message, wParam, lParam);
  return Window::Dispatch(message, wParam, lParam);
}

INT_PTR CALLBACK DialogBase::DialogBaseProc(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  // The dialog manager in user32 calls this for every message, so an
  // exception has to stop here, before it unwinds through user32's frames:
  // FrameworkWndProc's guard lies beyond them, and WM_INITDIALOG arrives
  // before the window is bound at all.
  return GuardProcedure(
      L"DialogBase::DialogBaseProc", message,
      [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
          if (auto* object = reinterpret_cast<DialogBase*>(lParam)) object->AttachHWND(dialog);
        }
        DialogBase* object = DialogObjectOf(dialog);
        return object ? object->Route(message, wParam, lParam) : 0;
      },
      [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) EndDialog(dialog, IDCANCEL);
        return 0;
      });
}

// A dialog procedure answers the WM_CTLCOLOR messages with the brush itself
// and the others with TRUE or FALSE: the results go back as they are.
INT_PTR DialogBase::Route(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(wParam, lParam);
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
    case WM_NOTIFY:
      return OnDialogNotify(wParam, lParam);
    case WM_DRAWITEM:
      return OnDrawItem(wParam, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_ERASEBKGND:
      return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<INT_PTR>(
          OnCTLColorEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          OnCTLColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(
          OnCTLColorDlg(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam));
      return TRUE;
    default:
      return DefaultHandler(message, wParam, lParam);
  }
}

INT_PTR DialogBase::DoModal(HWND parent, int templateId) {
  const int id = templateId ? templateId : GetTemplateID();
  m_result = RunTemplateDialog(parent, id, DialogBaseProc, reinterpret_cast<LPARAM>(this));
  // The window is gone. Its handle may be given to a later window, which
  // Window's destructor would then destroy.
  m_hWnd = nullptr;
  return m_result;
}

HWND DialogBase::Item(int id) const {
  return GetDlgItem(m_hWnd, id);
}

void DialogBase::SetItemFont(int fontIndex, int firstId, int lastId) const {
  const HFONT font =
      FontManager::GetInstance().GetFontHandle(fontIndex, DialogScaling::DpiOf(m_hWnd));
  for (int id = firstId; id <= lastId; ++id) {
    if (const HWND control = Item(id))
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

std::wstring DialogBase::ItemText(int id) const {
  return WindowText(Item(id));
}

void DialogBase::End(INT_PTR result) const {
  EndDialog(m_hWnd, result);
}
