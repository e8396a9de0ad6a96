// An edit field that moves the highlight of a list while the focus stays in
// the field, as a search field above its results does: Up, Down, Page Up
// and Page Down go to the list as if it had the focus, so the list moves,
// scrolls and tells its parent of the change in its own way; every other
// key, and every other message, is the field's.
#pragma once

#include <windows.h>

#include "ui/Window.h"

class ListSteeringEdit : public Window {
 public:
  // Binds to `edit`. A disabled list (one that says it has nothing to
  // choose) is not moved.
  ListSteeringEdit(HWND edit, HWND list);

  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND m_list;
};
