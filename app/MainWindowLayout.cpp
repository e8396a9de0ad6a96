#include "app/MainWindowLayout.h"

#include "support/ResourceIds.h"
#include "ui/EditWindowControl.h"

// The labels end five pixels left of the fields, in a 120-pixel column.
const MainWindowLayout::LabelSpec MainWindowLayout::kLabels[5] = {
    {L"Site Title:", {0, 20, 120, 22}},        {L"User Name:", {0, 52, 120, 22}},
    {L"Password:", {0, 79, 120, 22}},          {L"Website Address:", {0, 106, 120, 22}},
    {L"Notes:", {0, 133, 120, 22}},
};

const MainWindowLayout::FieldSpec MainWindowLayout::kFields[4] = {
    {EWC_ReadOnlySingleLineTextLeft, false, {125, 52, 260, 22}},
    {EWC_ReadOnlyPasswordText, false, {125, 79, 260, 22}},
    {EWC_ReadOnlySingleLineTextLeft, false, {125, 106, 260, 22}},
    {EWC_ReadOnlyMultiLineText, true, {125, 133, 260, 78}},
};

const MainWindowLayout::ButtonSpec MainWindowLayout::kButtons[4] = {
    {IDB_USERNAME, L"Copy", {390, 52, 62, 22}},
    {IDB_PASSWORD, L"Copy", {390, 79, 62, 22}},
    {IDB_WEBSITEURL, L"Go", {390, 106, 62, 22}},
    {IDB_ADDNEWSITE, L"Add New Site", {175, 221, 160, 22}},
};

const MainWindowLayout::Place MainWindowLayout::kSiteList = {125, 20, 280, 242};

// Position and size are scaled each on its own, so that children of one
// size keep one size.
MainWindowLayout::Place MainWindowLayout::Pixels(const Place& place) const {
  const DpiScale scale = Scale();
  return {scale.Pixels(place.x), scale.Pixels(place.y), scale.Pixels(place.width),
          scale.Pixels(place.height)};
}

// The client area at 96 DPI is what the 487 x 320 leave inside the frame
// that the system draws at 96 DPI.
SIZE MainWindowLayout::WindowSize(HWND window, UINT dpi) {
  const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  const bool menu = GetMenu(window) != nullptr;
  const SIZE frameAt96 = DpiScale().Frame(style, menu, exStyle);
  const DpiScale scale(dpi);
  const SIZE frame = scale.Frame(style, menu, exStyle);
  return {scale.Pixels(kWidth - frameAt96.cx) + frame.cx,
          scale.Pixels(kHeight - frameAt96.cy) + frame.cy};
}
