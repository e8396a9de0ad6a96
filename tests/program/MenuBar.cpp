#include "tests/program/MenuBar.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "support/ResourceIds.h"
#include "tests/common/LoadedModule.h"
#include "tests/common/StepFailed.h"

namespace {

class LoadedMenu {
 public:
  explicit LoadedMenu(HMODULE module) : m_menu(LoadMenuW(module, MAKEINTRESOURCEW(IDC_KEYFOLIO))) {}
  LoadedMenu(const LoadedMenu&) = delete;
  LoadedMenu& operator=(const LoadedMenu&) = delete;
  ~LoadedMenu() {
    if (m_menu) DestroyMenu(m_menu);
  }
  HMENU Get() const { return m_menu; }

 private:
  HMENU m_menu;
};

std::wstring TextOfItem(HMENU menu, int position) {
  wchar_t text[256] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
  return text;
}

// "E&xit\tAlt+F4" shows as "Exit", with x underlined.
std::wstring Shown(const std::wstring& text, wchar_t* mnemonic = nullptr) {
  std::wstring shown;
  for (size_t i = 0; i < text.size() && text[i] != L'\t'; ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) {
      ++i;
      if (mnemonic && text[i] != L'&') *mnemonic = static_cast<wchar_t>(std::towupper(text[i]));
    }
    shown += text[i];
  }
  return shown;
}

bool IsSeparator(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) &&
         (info.fType & MFT_SEPARATOR) != 0;
}

}  // namespace

MenuBar::MenuBar(const std::wstring& program) {
  const LoadedModule module(program, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module.Get()) throw StepFailed("the program file cannot be read");
  const LoadedMenu bar(module.Get());
  if (!bar.Get()) throw StepFailed("the program file has no menu bar");
  for (int position = 0; position < GetMenuItemCount(bar.Get()); ++position) {
    Menu menu{L"", L'\0', {}};
    menu.title = Shown(TextOfItem(bar.Get(), position), &menu.mnemonic);
    HMENU popup = GetSubMenu(bar.Get(), position);
    for (int item = 0; popup && item < GetMenuItemCount(popup); ++item)
      if (!IsSeparator(popup, item)) menu.items.push_back(Shown(TextOfItem(popup, item)));
    m_menus.push_back(menu);
  }
}

const MenuBar::Menu& MenuBar::Find(const std::wstring& title) const {
  for (const Menu& menu : m_menus)
    if (menu.title == title) return menu;
  throw StepFailed("the menu bar has no menu of that name");
}

wchar_t MenuBar::Mnemonic(const std::wstring& menu) const {
  const wchar_t mnemonic = Find(menu).mnemonic;
  if (!mnemonic) throw StepFailed("the menu has no mnemonic");
  return mnemonic;
}

int MenuBar::ItemIndex(const std::wstring& menu, const std::wstring& item) const {
  const std::vector<std::wstring>& items = Find(menu).items;
  const auto found = std::find(items.begin(), items.end(), item);
  if (found == items.end()) throw StepFailed("the menu has no item of that name");
  return static_cast<int>(found - items.begin());
}

size_t MenuBar::ItemCount(const std::wstring& menu) const {
  return Find(menu).items.size();
}
