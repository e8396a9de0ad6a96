#include "tests/dialogbase/DrawItemProbe.h"

#include <gtest/gtest.h>

#include "dialogbase/DialogBase.h"
#include "dialogbase/DialogScaling.h"
#include "dialogbase/DialogTemplateBuilder.h"
#include "tests/common/DisplayScale.h"
#include "ui/ScopedGdi.h"

namespace {

class PlainDialog : public DialogBase {
 public:
  PlainDialog() = default;
  int GetTemplateID() const override { return DLG_CreatePassword; }
};

}  // namespace

DrawnItem DrawItem(UINT itemState, UINT dpi) {
  InitDialogTemplates();
  PlainDialog dialog;
  const DialogTemplateBlock block = BuildDialogTemplate(DLG_CreatePassword);
  // Bound and scaled the way RunTemplateDialog does it, but modeless.
  DialogScaling scaling(DLG_CreatePassword, DialogBase::DialogBaseProc,
                        reinterpret_cast<LPARAM>(&dialog));
  const HWND window =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), block.Get(), nullptr,
                                 DialogScaling::Procedure, reinterpret_cast<LPARAM>(&scaling));
  EXPECT_EQ(dialog.GetHWnd(), window);
  if (dpi != DialogScaling::DpiOf(window)) ChangeDpi(window, dpi);
  const int size = MulDiv(20, static_cast<int>(dpi), 96);

  const WindowDC screen(nullptr);
  const HDC dc = CreateCompatibleDC(screen.Get());
  const ScopedGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), 60, 60));
  DrawnItem drawn{};
  {
    const SelectedObject selected(dc, bitmap.Get());
    const ScopedGdiObject grey(CreateSolidBrush(kGrey));
    const RECT all = {0, 0, 60, 60};
    FillRect(dc, &all, static_cast<HBRUSH>(grey.Get()));

    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDOK;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = itemState;
    item.hwndItem = GetDlgItem(window, IDOK);
    item.hDC = dc;
    item.rcItem = {5, 5, 55, 55};
    drawn.answer = DialogBase::DialogBaseProc(window, WM_DRAWITEM, IDOK,
                                              reinterpret_cast<LPARAM>(&item));
    drawn.topLeft = GetPixel(dc, 5, 5);
    drawn.bottomRight = GetPixel(dc, 4 + size, 4 + size);
    drawn.right = GetPixel(dc, 5 + size, 5);
    drawn.below = GetPixel(dc, 5, 5 + size);
    drawn.before = GetPixel(dc, 4, 4);
  }
  DeleteDC(dc);
  DestroyWindow(window);
  return drawn;
}
