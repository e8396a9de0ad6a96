// The main window's form as it was drawn, at 96 DPI: the window's size and
// each child's place, in pixels; and the DPI that the window is laid out
// for now, which turns them into the pixels of its screen (DpiScale). The
// window's client area is scaled and set in the frame that the system
// draws at that DPI: at 96 DPI the window is exactly 487 x 320, and at every
// scale the form keeps its margins inside it.
//
// The DPI is kept here rather than asked of the window each time: when the
// window moves to a screen of another scale it takes its new size first,
// and the size it may have (WM_GETMINMAXINFO) must be the new one by then.
// The editor, which builds the form, holds the main window's layout
// (Editor::Layout); the window sets its DPI.
#pragma once

#include <windows.h>

#include "ui/DpiScale.h"

class MainWindowLayout {
 public:
  // A child's rectangle at 96 DPI.
  struct Place {
    int x, y, width, height;
  };
  struct LabelSpec {
    const wchar_t* text;
    Place place;
  };
  // The single-line fields scroll sideways (ES_AUTOHSCROLL): the caret
  // carries the view to the end of a value longer than the field. The Notes
  // field wraps its lines instead, and scrolls down.
  struct FieldSpec {
    int editType;
    bool noAutoScroll;
    Place place;
  };
  struct ButtonSpec {
    int id;
    const wchar_t* text;
    Place place;
  };

  // The whole window, frame and menu bar included, at 96 DPI.
  static constexpr int kWidth = 487;
  static constexpr int kHeight = 320;
  static const LabelSpec kLabels[5];
  static const FieldSpec kFields[4];
  static const ButtonSpec kButtons[4];
  // The height includes the dropped-down list.
  static const Place kSiteList;
  static constexpr DWORD kSiteListStyle =
      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;

  MainWindowLayout() = default;

  // 96 until the window takes its own (WM_CREATE) and when it moves to
  // another (WM_DPICHANGED).
  DpiScale Scale() const { return DpiScale(m_dpi); }
  void SetDpi(UINT dpi) { m_dpi = dpi; }
  // A child's place at the window's DPI.
  Place Pixels(const Place& place) const;
  // The window's size at its DPI, and at `dpi`, for its style and menu.
  SIZE WindowSize(HWND window) const { return WindowSize(window, m_dpi); }
  static SIZE WindowSize(HWND window, UINT dpi);

 private:
  UINT m_dpi = DpiScale::kBaseDpi;
};
