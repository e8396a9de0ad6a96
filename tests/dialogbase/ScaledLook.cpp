#include "tests/dialogbase/ScaledLook.h"

#include <gtest/gtest.h>

#include <string>

#include "dialogbase/DialogTemplates.h"
#include "support/WindowText.h"
#include "tests/dialogbase/DialogChecks.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "ui/FontManager.h"
#include "ui/ScopedGdi.h"

namespace {

TEXTMETRICW MetricsOf(HWND control) {
  TEXTMETRICW metrics{};
  const WindowDC dc(control);
  const SelectedObject font(dc.Get(),
                            reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  GetTextMetricsW(dc.Get(), &metrics);
  return metrics;
}

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = towupper(c);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Upper(name);
}

// Edit fields, lists, buttons, hot links and the statics that hold a text
// draw in a font; the icon and the frames do not.
bool DrawsText(HWND control) {
  const std::wstring kind = ClassOf(control);
  if (kind != L"STATIC") return true;
  return (static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)) & SS_TYPEMASK) <= SS_RIGHT;
}

// The text shows whole: across, in the part of the control that no other
// control covers, less what a button's frame or a check box's box takes;
// down, a line of the font in the control (an edit field's inside).
void ExpectShowsItsText(HWND dialog, HWND control, UINT dpi) {
  const std::wstring kind = ClassOf(control);
  const TEXTMETRICW metrics = MetricsOf(control);
  const RECT place = RectInParent(control);
  if (kind == L"EDIT") {
    RECT inside{};
    GetClientRect(control, &inside);
    EXPECT_GE(inside.bottom, metrics.tmHeight) << "an edit field's line";
    return;
  }
  const std::wstring text = WindowText(control);
  if (text.empty() || kind == L"LISTBOX") return;
  const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
  int taken = 0;
  if (kind == L"BUTTON")
    taken = MulDiv((style & BS_TYPEMASK) == BS_AUTOCHECKBOX ? 16 : 8, static_cast<int>(dpi), 96);
  const int id = GetDlgCtrlID(control);
  const std::string shown(text.begin(), text.end());
  EXPECT_LE(TextWidth(dialog, id) + taken, VisibleWidth(dialog, id)) << shown;
  EXPECT_LE(metrics.tmHeight, place.bottom - place.top) << shown;
}

}  // namespace

DialogPlaces PlacesOf(HWND dialog) {
  DialogPlaces places{};
  RECT client{};
  GetClientRect(dialog, &client);
  places.client = {client.right, client.bottom};
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT place = RectInParent(child);
    places.controls.push_back({place.left, place.top, place.right - place.left,
                               place.bottom - place.top, ClassOf(child) == L"LISTBOX"});
  }
  return places;
}

DialogPlaces TablePlacesAt96(int templateId) {
  DialogPlaces places{};
  const DialogHeaderRecord* header = FindDialogHeader(templateId);
  if (!header) return places;
  places.client = {2 * header->cx, 2 * header->cy};
  for (const DialogControlRecord* control = FindDialogControls(templateId);
       control && control->windowClass; ++control) {
    places.controls.push_back({2 * control->x, 2 * control->y, 2 * control->cx, 2 * control->cy,
                               Upper(control->windowClass) == L"LISTBOX"});
  }
  return places;
}

DialogPlaces Scaled(const DialogPlaces& at96, UINT dpi) {
  const auto scaled = [dpi](int value) { return MulDiv(value, static_cast<int>(dpi), 96); };
  DialogPlaces places{{scaled(at96.client.cx), scaled(at96.client.cy)}, {}};
  for (const DialogPlaces::Box& box : at96.controls) {
    places.controls.push_back({scaled(box.x), scaled(box.y), scaled(box.width),
                               scaled(box.height), box.wholeLines});
  }
  return places;
}

void ExpectPlacesNear(const DialogPlaces& actual, const DialogPlaces& expected, SIZE slack) {
  ASSERT_EQ(actual.controls.size(), expected.controls.size()) << "the table's controls";
  for (size_t i = 0; i < actual.controls.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "control " << i);
    const DialogPlaces::Box& is = actual.controls[i];
    const DialogPlaces::Box& drawn = expected.controls[i];
    EXPECT_NEAR(is.x, drawn.x, slack.cx);
    EXPECT_NEAR(is.y, drawn.y, slack.cy);
    EXPECT_NEAR(is.width, drawn.width, slack.cx);
    if (is.wholeLines) {
      EXPECT_LE(is.height, drawn.height + slack.cy);
    } else {
      EXPECT_NEAR(is.height, drawn.height, slack.cy);
    }
    EXPECT_LE(is.x, expected.client.cx) << "within the dialog";
    EXPECT_LE(is.y + is.height, expected.client.cy) << "within the dialog";
  }
}

bool SamePlaces(const DialogPlaces& a, const DialogPlaces& b) {
  if (a.client.cx != b.client.cx || a.client.cy != b.client.cy) return false;
  if (a.controls.size() != b.controls.size()) return false;
  for (size_t i = 0; i < a.controls.size(); ++i) {
    const DialogPlaces::Box& p = a.controls[i];
    const DialogPlaces::Box& q = b.controls[i];
    if (p.x != q.x || p.y != q.y || p.width != q.width || p.height != q.height) return false;
  }
  return true;
}

void ExpectDrawnAt(HWND dialog, UINT dpi) {
  SCOPED_TRACE(testing::Message() << "drawn at " << dpi << " DPI");
  FontManager& fonts = FontManager::GetInstance();
  const HFONT normal = fonts.GetFontHandle(0, dpi);
  const HFONT bold = fonts.GetFontHandle(1, dpi);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SCOPED_TRACE(testing::Message() << "control " << GetDlgCtrlID(child));
    if (!DrawsText(child)) continue;
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    EXPECT_TRUE(font == normal || font == bold) << "the program's face at the dialog's DPI";
    ExpectShowsItsText(dialog, child, dpi);
  }
}
