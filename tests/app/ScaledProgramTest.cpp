// The program at the display scale the test runs at (TestDpi: 96, 120, 144
// and 192 DPI, each in a Wine prefix of its own): its main window made in
// this process as the program makes it, with its vault in a folder of the
// test's, and the dialogs that its commands open. At 96 DPI every size is
// the one drawn; at another, that size times DPI / 96. Then the scale
// changes under each window, as when it is dragged to a monitor of another
// scale, and changes back: the window is laid out for the new scale, and
// back again exactly as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/WindowInitialization.h"
#include "dialogbase/DialogTemplates.h"
#include "support/ResourceIds.h"
#include "support/RunningProgram.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/DisplayScale.h"
#include "tests/common/MessagePump.h"
#include "tests/common/TempFolder.h"
#include "tests/dialogbase/DialogChecks.h"
#include "tests/dialogbase/ScaledLook.h"
#include "tests/program/MainForm.h"
#include "tests/program/ProgramTest.h"
#include "tests/storage/VaultBytes.h"
#include "ui/DpiScale.h"
#include "ui/FontManager.h"

namespace {

constexpr wchar_t kPassword[] = L"Pa55word";
// The main window's font at 96 DPI: 10 points are 13 pixels.
constexpr int kCharacterHeightAt96 = 13;

int Scaled(int at96, UINT dpi) {
  return MulDiv(at96, static_cast<int>(dpi), 96);
}

// A scale to change to and back from.
UINT OtherDpi(UINT dpi) {
  return dpi == 96 ? 192 : 96;
}

int IconWidth(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

// The metrics of `font` as `window` draws it.
TEXTMETRICW MetricsOf(HWND window, HGDIOBJ font) {
  HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics;
}

// What only this process can read of the main window: its fonts and its
// icons.
void ExpectMainDrawnAt(HWND main, UINT dpi) {
  SCOPED_TRACE(testing::Message() << "drawn at " << dpi << " DPI");
  const HFONT normal = FontManager::GetInstance().GetFontHandle(0, dpi);
  for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), normal);
  // The character height the font was made with, and the one it draws.
  LOGFONTW logFont{};
  ASSERT_EQ(GetObjectW(normal, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
  EXPECT_NEAR(-logFont.lfHeight, kCharacterHeightAt96 * static_cast<double>(dpi) / 96, 1);
  if (dpi == 96) {
    EXPECT_EQ(-logFont.lfHeight, kCharacterHeightAt96);
  }
  const TEXTMETRICW metrics = MetricsOf(main, normal);
  EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, -logFont.lfHeight);

  const auto icon = [main](WPARAM which) {
    return IconWidth(reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, which, 0)));
  };
  EXPECT_EQ(icon(ICON_SMALL), Scaled(16, dpi));
  EXPECT_EQ(icon(ICON_BIG), Scaled(32, dpi));
}

std::vector<RECT> ChildPlaces(HWND window) {
  std::vector<RECT> places;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    places.push_back(place);
  }
  return places;
}

SIZE SizeOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// A control's rectangle in its dialog's client area.
RECT ItemPlace(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The Find Site list draws its own lines: each as high as its font at the
// dialog's scale, and the list cut to whole lines of that height.
void ExpectWholeLinesOfItsFont(HWND dialog, UINT dpi) {
  SCOPED_TRACE(testing::Message() << "Find Site's lines at " << dpi << " DPI");
  const HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
  EXPECT_EQ(font, FontManager::GetInstance().GetFontHandle(0, dpi));
  const LRESULT line = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  EXPECT_EQ(line, MetricsOf(list, font).tmHeight);
  RECT client{};
  GetClientRect(list, &client);
  ASSERT_GT(line, 0);
  EXPECT_EQ(client.bottom % line, 0);
  EXPECT_GT(client.bottom / line, 3) << "room for a few sites";
}

bool Same(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != FALSE;
}

bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!Same(a[i], b[i])) return false;
  }
  return true;
}

// The dialog at the test's scale; at another, with the rectangle Windows
// would give it; and back. At 96 DPI the controls stand where the system put
// them, about two pixels a table unit; at any scale, where they stand at 96
// DPI times the scale.
void ExpectDialogFollowsTheScale(HWND dialog, int templateId,
                                 const std::function<void(UINT dpi)>& more = nullptr) {
  const UINT dpi = TestDpi();
  DialogPlaces at96 = TablePlacesAt96(templateId);
  const DialogPlaces first = PlacesOf(dialog);
  if (dpi == 96) {
    // A table value is cut to whole dialog units of the system font, a
    // quarter of its width across and an eighth of its height down.
    const LONG units = GetDialogBaseUnits();
    ExpectPlacesNear(first, at96, {LOWORD(units) / 4 + 1, HIWORD(units) / 8 + 1});
    at96 = first;
  }
  const DialogPlaces scaled = Scaled(at96, dpi);
  EXPECT_NEAR(first.client.cx, scaled.client.cx, 1);
  EXPECT_NEAR(first.client.cy, scaled.client.cy, 1);
  ExpectPlacesNear(first, scaled, {1, 1});
  ExpectDrawnAt(dialog, dpi);
  if (more) more(dpi);
  const SIZE size = SizeOf(dialog);

  // Under Wine the frame stays as it is drawn at the prefix's DPI: the
  // client area takes what the frame at the new DPI would have.
  const UINT other = OtherDpi(dpi);
  const RECT given = ChangeDpi(dialog, other);
  RECT now{};
  GetWindowRect(dialog, &now);
  EXPECT_TRUE(Same(now, given)) << "the dialog takes the rectangle Windows gives";
  const DialogPlaces atOther = Scaled(at96, other);
  const SIZE frame = FrameAt(dialog, other);
  EXPECT_NEAR(now.right - now.left, atOther.client.cx + frame.cx, 1);
  EXPECT_NEAR(now.bottom - now.top, atOther.client.cy + frame.cy, 1);
  ExpectPlacesNear(PlacesOf(dialog), atOther, {1, 1});
  ExpectDrawnAt(dialog, other);
  if (more) more(other);

  ChangeDpi(dialog, dpi);
  EXPECT_TRUE(SamePlaces(PlacesOf(dialog), first)) << "back at " << dpi << " DPI";
  const SIZE back = SizeOf(dialog);
  EXPECT_EQ(back.cx, size.cx);
  EXPECT_EQ(back.cy, size.cy);
}

class ScaledProgram : public testing::Test {
 protected:
  // The program's folder is the one of the running file: this test program
  // runs from a folder of its own (APART in the CMake file), where its
  // vault is made.
  void SetUp() override {
    const std::wstring data = RunningProgramFolder() + L"\\KFOdata";
    ASSERT_TRUE(CreateDirectoryW(data.c_str(), nullptr)) << "a data folder of the test's own";
    WriteBytes(data + L"\\KFO.dta", Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)}));
    ASSERT_NE(WindowInitialization::GetInstance().Initialize(
                  GetCommandLineW(), GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE),
              nullptr);
    m_main = WindowInitialization::GetInstance().GetHWnd();
    // Wine answers every window with the prefix's LogPixels; Windows with
    // its monitor's scale.
    ASSERT_EQ(DpiScale::OfWindow(m_main).Dpi(), TestDpi()) << "the Wine prefix's scale";
  }

  void TearDown() override {
    if (IsWindow(m_main)) DestroyWindow(m_main);
  }

  // The start-up check, posted when the window was made, answered.
  void LogIn() {
    DialogDriver driver([this](HWND dialog) {
      ExpectDialogFollowsTheScale(dialog, DLG_EnterPassword);
      Type(dialog, IDC_PASSWORD_ENTRY, kPassword);
      Click(dialog, IDOK);
    });
    ASSERT_TRUE(PumpUntil([&] {
      return SendMessageW(GetDlgItem(m_main, IDCB_DBPASSWORD), CB_GETCOUNT, 0, 0) == 1;
    }));
    EXPECT_TRUE(driver.ActionRan());
  }

  // Opens the dialog that the menu command shows and hands it to `look`.
  void Open(int command, const std::function<void(HWND dialog)>& look) {
    DialogDriver driver(look);
    SendMessageW(m_main, WM_COMMAND, command, 0);
    EXPECT_TRUE(driver.ActionRan()) << "command " << command;
  }

  HWND m_main = nullptr;
};

}  // namespace

TEST_F(ScaledProgram, TheMainWindowIsItsFormAtTheScreensScale) {
  const UINT dpi = TestDpi();
  ExpectMainFormAt(m_main, dpi);
  ExpectMainClientAt(m_main, dpi);
  ExpectMainDrawnAt(m_main, dpi);
  RECT window{}, desktop{};
  GetWindowRect(m_main, &window);
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(window.left, (desktop.right - (window.right - window.left)) / 2) << "centred";
  EXPECT_EQ(window.top, (desktop.bottom - (window.bottom - window.top)) / 2);
}

TEST_F(ScaledProgram, TheMainWindowFollowsAChangeOfScaleAndComesBackAsItWas) {
  const UINT dpi = TestDpi();
  const std::vector<RECT> places = ChildPlaces(m_main);
  const SIZE size = SizeOf(m_main);
  for (const UINT other : {96u, 120u, 144u, 192u}) {
    if (other == dpi) continue;
    const RECT given = ChangeDpi(m_main, other);
    RECT now{};
    GetWindowRect(m_main, &now);
    EXPECT_TRUE(Same(now, given)) << "the window takes the rectangle Windows gives";
    ExpectMainFormAt(m_main, other);
    ExpectMainDrawnAt(m_main, other);
    // Dragging a border cannot change the size at the new scale either.
    MINMAXINFO limits{};
    SendMessageW(m_main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, now.right - now.left);
    EXPECT_EQ(limits.ptMaxTrackSize.y, now.bottom - now.top);
  }
  ChangeDpi(m_main, dpi);
  EXPECT_TRUE(SameRects(ChildPlaces(m_main), places));
  EXPECT_EQ(SizeOf(m_main).cx, size.cx);
  EXPECT_EQ(SizeOf(m_main).cy, size.cy);
  ExpectMainDrawnAt(m_main, dpi);
}

TEST_F(ScaledProgram, EveryDialogIsLaidOutForItsScreenAndFollowsAChangeOfScale) {
  LogIn();
  Open(IDM_PASSWORD_ADD, [](HWND dialog) {
    ExpectDialogFollowsTheScale(dialog, DLG_AddNewPassword);
    DialogDriver generator(
        [](HWND inner) { ExpectDialogFollowsTheScale(inner, DLG_GeneratePassword); });
    Click(dialog, IDC_GENERATE);
    EXPECT_TRUE(generator.ActionRan());
  });
  Open(IDM_PASSWORD_EDIT,
       [](HWND dialog) { ExpectDialogFollowsTheScale(dialog, DLG_EditPassword); });
  Open(IDM_PASSWORD_DELETE,
       [](HWND dialog) { ExpectDialogFollowsTheScale(dialog, DLG_DeletePassword); });
  Open(IDM_MASTERPASSWORD_CHANGE,
       [](HWND dialog) { ExpectDialogFollowsTheScale(dialog, DLG_ChangePassword); });
  // Export asks for the master password again, without the Help button, OK
  // and Cancel moved to the middle of the row: still there after a change of
  // scale, which puts the controls back in the template's places first.
  Open(IDM_EXPORT_SITES, [](HWND dialog) {
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_HELP_PASSWORD)));
    const RECT ok = ItemPlace(dialog, IDOK);
    const RECT cancel = ItemPlace(dialog, IDCANCEL);
    ChangeDpi(dialog, OtherDpi(TestDpi()));
    ChangeDpi(dialog, TestDpi());
    EXPECT_TRUE(Same(ItemPlace(dialog, IDOK), ok)) << "OK in the middle again";
    EXPECT_TRUE(Same(ItemPlace(dialog, IDCANCEL), cancel)) << "Cancel in the middle again";
  });
  // Its list's height is cut to whole lines, so it is checked on its own.
  Open(IDM_FIND_SITE, [](HWND dialog) {
    const UINT dpi = TestDpi();
    ExpectWholeLinesOfItsFont(dialog, dpi);
    const RECT list = ItemPlace(dialog, IDC_FIND_LIST);
    ChangeDpi(dialog, OtherDpi(dpi));
    ExpectWholeLinesOfItsFont(dialog, OtherDpi(dpi));
    ChangeDpi(dialog, dpi);
    ExpectWholeLinesOfItsFont(dialog, dpi);
    EXPECT_TRUE(Same(ItemPlace(dialog, IDC_FIND_LIST), list)) << "the list as it was";
  });
  Open(IDM_ABOUT, [](HWND dialog) {
    ExpectDialogFollowsTheScale(dialog, DLG_About, [dialog](UINT dpi) {
      const HICON icon = reinterpret_cast<HICON>(
          SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_GETIMAGE, IMAGE_ICON, 0));
      EXPECT_EQ(IconWidth(icon), Scaled(32, dpi)) << "the About box's icon";
    });
  });
}
