// Watches the text of an edit control of the test's own thread: after every
// message the control handles, what it holds, and what it held when it was
// destroyed. A password field must give up a password only as the program
// promises (WipeFieldText): its characters overwritten in place by as many
// others, then the field emptied, before it takes another text or goes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class FieldTextWatch {
 public:
  FieldTextWatch() = default;
  FieldTextWatch(const FieldTextWatch&) = delete;
  FieldTextWatch& operator=(const FieldTextWatch&) = delete;
  // Stops watching a field that still lives.
  ~FieldTextWatch();

  // Starts watching `field` (one field per watch), from the text it holds.
  void Attach(HWND field);

  // The texts in the order the field held them, each once per stretch.
  const std::vector<std::wstring>& Texts() const { return m_texts; }
  bool Destroyed() const { return m_destroyed; }
  // True when every time the field held `secret`, what came next was texts
  // of its length ending in one with none of its characters in place, and
  // then the empty text; and the field, once destroyed, was empty then.
  bool OverwrittenInPlace(const std::wstring& secret) const;

 private:
  static LRESULT CALLBACK Procedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
  void Record();

  HWND m_field = nullptr;
  WNDPROC m_previous = nullptr;
  std::vector<std::wstring> m_texts;
  bool m_destroyed = false;
};
