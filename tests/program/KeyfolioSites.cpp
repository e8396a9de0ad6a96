// The sites as a person works with them: the site list of the main window,
// and the five fields of the Add and Edit Site dialogs.
#include <algorithm>

#include "tests/program/Desktop.h"
#include "tests/program/Keyfolio.h"
#include "tests/program/KeyfolioWindows.h"

namespace {

const wchar_t* const kSiteLabels[] = {L"Title:", L"User Name:", L"Password:", L"Website URL:",
                                      L"Notes:"};

}  // namespace

void Keyfolio::FillSite(HWND dialog, const SiteEntry& site) {
  const std::wstring* texts[] = {&site.title, &site.user, &site.password, &site.address,
                                 &site.notes};
  for (size_t i = 0; i < std::size(kSiteLabels); ++i)
    TypeInto(EditBeside(dialog, kSiteLabels[i]), *texts[i]);
}

SiteEntry Keyfolio::ReadSite(HWND dialog) const {
  SiteEntry site;
  std::wstring* texts[] = {&site.title, &site.user, &site.password, &site.address, &site.notes};
  for (size_t i = 0; i < std::size(kSiteLabels); ++i)
    *texts[i] = TextOf(EditBeside(dialog, kSiteLabels[i]));
  return site;
}

// A drop-down list that a late focus event closed is opened again; a title
// that was chosen late is not chosen twice.
void Keyfolio::ChooseTitle(const std::wstring& title) {
  const std::vector<std::wstring> titles = Titles();
  const auto found = std::find(titles.begin(), titles.end(), title);
  if (found == titles.end()) throw StepFailed("the list has no such title");
  const int index = static_cast<int>(found - titles.begin());
  const auto chosen = [&] {
    return Ask(SiteList(), CB_GETCURSEL) == index && Ask(SiteList(), CB_GETDROPPEDSTATE) == 0;
  };
  bool again = false;
  Retry("the title to be chosen", [&](DWORD waitMs) {
    if (again && chosen()) return true;
    again = true;
    if (Ask(SiteList(), CB_GETDROPPEDSTATE)) PressKey(VK_ESCAPE);
    Click(SiteList());
    HWND dropped = nullptr;
    if (!WaitFor(
            [&] {
              const std::vector<HWND> lists = m_process.Windows(L"ComboLBox");
              dropped = lists.empty() ? nullptr : lists.front();
              return dropped != nullptr;
            },
            waitMs))
      return false;
    ClickAt(ListItemPoint(dropped, index));
    return WaitFor(chosen, waitMs);
  });
}

HWND Keyfolio::SiteList() const {
  const std::vector<HWND> lists = ChildrenOfClass(m_main, L"ComboBox");
  if (lists.empty()) throw StepFailed("the main window has no site list");
  return lists.front();
}

std::vector<std::wstring> Keyfolio::Titles() const {
  return ListItems(SiteList());
}

std::wstring Keyfolio::SelectedTitle() const {
  return SelectedItem(SiteList());
}

POINT ListItemPoint(HWND list, int index) {
  const LRESULT top = Ask(list, LB_GETTOPINDEX);
  const LRESULT height = Ask(list, LB_GETITEMHEIGHT, static_cast<WPARAM>(index));
  RECT client{};
  GetClientRect(list, &client);
  if (height <= 0 || index < top || (index - top + 1) * height > client.bottom)
    throw StepFailed("the list item is not in view");
  POINT point{client.right / 2, static_cast<LONG>((index - top) * height + height / 2)};
  ClientToScreen(list, &point);
  return point;
}
