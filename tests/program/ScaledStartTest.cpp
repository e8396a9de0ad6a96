// The program started from a flash drive at the display scale the test runs
// at (TestDpi: 96, 120, 144 and 192 DPI, each in a Wine prefix of its own),
// as a person meets it: its first question and its main window as large as
// that scale makes them, and its site list in a font made for that scale.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/common/DisplayScale.h"
#include "tests/program/MainForm.h"
#include "tests/program/ProgramTest.h"

namespace {

using ScaledStartTest = ProgramTest;

// The height of a line of 10 points in the system's default face at `dpi`.
int LineHeightAt(UINT dpi) {
  const HFONT font = CreateFontW(-MulDiv(10, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE,
                                 FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"");
  const HDC screen = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  return metrics.tmHeight;
}

}  // namespace

TEST_F(ScaledStartTest, TheQuestionAndTheMainWindowTakeTheScreensScale) {
  const UINT dpi = TestDpi();
  m_drive.PutVault(Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)}));
  Keyfolio& program = Start();
  // The master password question: 140 x 59 table units, two pixels each at
  // 96 DPI, less what the system font's dialog units round away.
  RECT question{};
  GetClientRect(program.WaitForDialog(L"Keyfolio"), &question);
  const LONG units = GetDialogBaseUnits();
  EXPECT_NEAR(question.right, MulDiv(280, static_cast<int>(dpi), 96), LOWORD(units) / 4 + 1);
  EXPECT_NEAR(question.bottom, MulDiv(118, static_cast<int>(dpi), 96), HIWORD(units) / 8 + 1);
  program.LogIn(kPassword);

  ExpectMainFormAt(program.MainWindow(), dpi);
  ExpectMainClientAt(program.MainWindow(), dpi);
  EXPECT_EQ(SendMessageW(program.SiteList(), CB_GETITEMHEIGHT, 0, 0), LineHeightAt(dpi));
}
