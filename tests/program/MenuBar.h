// The program's menu bar as a person reads it, taken from the program file
// that runs (its menu resource, loaded as data), so that the driver walks
// the menus the program shows and no test keeps a copy of them. Menus and
// items are named as the menu bar shows them, without the "&" that marks a
// mnemonic and without the shortcut after the tab ("File", "Add New
// Site..."). The keyboard skips separators, so they are not listed.
#pragma once

#include <string>
#include <vector>

class MenuBar {
 public:
  // Reads the menu bar of the program file `program`; throws StepFailed
  // when it has none.
  explicit MenuBar(const std::wstring& program);

  // The letter that opens the menu with Alt, upper case.
  wchar_t Mnemonic(const std::wstring& menu) const;
  // The place of the item among the menu's items; throws StepFailed when
  // there is none of that name.
  int ItemIndex(const std::wstring& menu, const std::wstring& item) const;
  size_t ItemCount(const std::wstring& menu) const;

 private:
  struct Menu {
    std::wstring title;
    wchar_t mnemonic;
    std::vector<std::wstring> items;
  };
  const Menu& Find(const std::wstring& title) const;

  std::vector<Menu> m_menus;
};
