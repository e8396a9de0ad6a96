#include "tests/dialogbase/DrawItemProbe.h"

#include <gtest/gtest.h>

#include "dialogbase/DialogBase.h"
#include "dialogbase/DialogTemplateBuilder.h"
#include "ui/ScopedGdi.h"

namespace {

class PlainDialog : public DialogBase {
 public:
  PlainDialog() = default;
  int GetTemplateID() const override { return DLG_CreatePassword; }
};

}  // namespace

DrawnItem DrawItem(UINT itemState) {
  InitDialogTemplates();
  PlainDialog dialog;
  const DialogTemplateBlock block = BuildDialogTemplate(DLG_CreatePassword);
  // Bound the way DoModal binds it, but modeless.
  const HWND window =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), block.Get(), nullptr,
                                 DialogBase::DialogBaseProc, reinterpret_cast<LPARAM>(&dialog));
  EXPECT_EQ(dialog.GetHWnd(), window);

  const WindowDC screen(nullptr);
  const HDC dc = CreateCompatibleDC(screen.Get());
  const ScopedGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), 40, 40));
  DrawnItem drawn{};
  {
    const SelectedObject selected(dc, bitmap.Get());
    const ScopedGdiObject grey(CreateSolidBrush(kGrey));
    const RECT all = {0, 0, 40, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(grey.Get()));

    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDOK;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = itemState;
    item.hwndItem = GetDlgItem(window, IDOK);
    item.hDC = dc;
    item.rcItem = {5, 5, 35, 35};
    drawn.answer = DialogBase::DialogBaseProc(window, WM_DRAWITEM, IDOK,
                                              reinterpret_cast<LPARAM>(&item));
    drawn.topLeft = GetPixel(dc, 5, 5);
    drawn.bottomRight = GetPixel(dc, 24, 24);
    drawn.right = GetPixel(dc, 25, 5);
    drawn.below = GetPixel(dc, 5, 25);
    drawn.before = GetPixel(dc, 4, 4);
  }
  DeleteDC(dc);
  return drawn;
}
