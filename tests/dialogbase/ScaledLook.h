// A dialog of the tables as a person sees it at a display scale, read from
// its windows. Its places: the client area and each control's rectangle,
// which at a DPI are those at 96 DPI times DPI / 96, to the pixel; at 96 DPI
// about two pixels a table unit, as the system font's dialog units round
// them. Its look: every control in the program's face at the dialog's DPI
// (FontManager's normal or bold font) and every text whole, across and
// down.
#pragma once

#include <windows.h>

#include <vector>

struct DialogPlaces {
  struct Box {
    int x, y, width, height;
    // A list box shortens itself to whole lines: its height is not its
    // table's.
    bool wholeLines;
  };
  SIZE client;
  std::vector<Box> controls;
};

// As the dialog has them now, and as the table draws them at 96 DPI.
DialogPlaces PlacesOf(HWND dialog);
DialogPlaces TablePlacesAt96(int templateId);
DialogPlaces Scaled(const DialogPlaces& at96, UINT dpi);
// Each control's values within `slack` pixels (across, down) of the
// expected ones, and inside the expected client area.
void ExpectPlacesNear(const DialogPlaces& actual, const DialogPlaces& expected, SIZE slack);
bool SamePlaces(const DialogPlaces& a, const DialogPlaces& b);

void ExpectDrawnAt(HWND dialog, UINT dpi);
