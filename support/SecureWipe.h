// Passwords and site texts pass through ordinary strings. What this program
// promises, and no more: a string that is wiped has every unit of its buffer
// zeroed (the part past the end of the text, and the short-text buffer
// inside the string object, included) before it is cleared, so the wipe
// reaches whatever the string held last. A wipe cannot reach memory that the
// string no longer owns: the old buffer that the standard library frees when
// a string grows, or when a longer text is assigned into it (wipe first,
// then assign), and copies made elsewhere. Which strings are wiped, and when,
// is said where they are kept (PasswordRecStruct, DatabasePasswordHeader,
// Initialization); a copy that a getter hands out is the caller's to wipe.
// Short texts (up to 7 units) that pass through temporaries on the stack
// leave their copy there until the stack is reused.
//
// An edit control keeps its text in a buffer of its own, which it frees
// unwiped when it goes and keeps past a shorter text. WipeFieldText reaches
// that buffer the only way the control allows: through its text. What the
// control copies for itself (its undo memory when the person typed over or
// deleted text, its layout data of a text shown in clear) it does not reach.
#pragma once

#include <windows.h>

#include <string>

// Wide texts, and the UTF-8 bytes of an export, alike.
template <typename Unit>
void SecureWipe(std::basic_string<Unit>& text) {
  // Growing to the capacity moves nothing and makes every unit of the
  // buffer part of the text, so that all of it may be overwritten.
  text.resize(text.capacity());
  SecureZeroMemory(&text[0], text.size() * sizeof(Unit));
  text.clear();
}

// Overwrites the text of an edit control in place and then empties it: the
// same number of characters written over the old ones, so that the control
// keeps its buffer where it is, and no undo kept of them. For a password
// field before its text is changed or the field destroyed.
void WipeFieldText(HWND field);

// Wipes a string of the caller's when the scope ends, on every exit path.
class ScopedWipe {
 public:
  explicit ScopedWipe(std::wstring& text) : m_text(text) {}
  ScopedWipe(const ScopedWipe&) = delete;
  ScopedWipe& operator=(const ScopedWipe&) = delete;
  ~ScopedWipe() { SecureWipe(m_text); }

 private:
  std::wstring& m_text;
};
