// Finds one text inside others without regard to case, the way Windows
// compares names that ignore case (CompareStringOrdinal with bIgnoreCase):
// code unit by code unit through the system's upper-case table, so "é"
// finds "É" and nothing else is folded: no accents dropped, no ligatures
// split, no composed and decomposed forms taken as one, no punctuation
// skipped. The linguistic searches (FindNLSStringEx, CompareStringEx with
// LINGUISTIC_IGNORECASE) do all of that, and are far too slow for a search
// that runs on every keystroke over thousands of sites.
//
// The table covers every 16-bit code unit and is made once per process, by
// one LCMapStringEx call over them all; searching then costs one lookup per
// unit and copies nothing, so texts that hold secrets (a site's notes) are
// read in place.
#pragma once

#include <string>

class TextSearch {
 public:
  explicit TextSearch(const std::wstring& text);

  // An empty text is found in every text.
  bool Empty() const { return m_folded.empty(); }
  bool FoundIn(const std::wstring& text) const;

  // The system's upper case of one code unit; a surrogate is left as it is.
  static wchar_t Fold(wchar_t unit);

 private:
  std::wstring m_folded;
};
