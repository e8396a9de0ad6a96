#include "app/Editor.h"

#include "support/ResourceIds.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "storage/Initialization.h"
#include "support/DebugLog.h"
#include "support/SecureWipe.h"
#include "support/UserMessages.h"
#include "ui/DebugEditWnd.h"
#include "ui/EditWindowControl.h"
#include "ui/FontManager.h"
#include "ui/PasswordMask.h"
#include "ui/ScopedGdi.h"

namespace {

using Place = MainWindowLayout::Place;

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;

// Labels and fields are never addressed by id.
constexpr int kAnonymousId = 1;
constexpr int kRightAligned = 2;

HINSTANCE InstanceOf(HWND window) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

void SetNormalFont(HWND control) {
  SendMessageW(control, WM_SETFONT,
               reinterpret_cast<WPARAM>(FontManager::GetInstance().GetFontHandle(0)), TRUE);
}

// The height of one line of the field: that of its font, as the edit control
// measures it.
int LineHeightOf(HWND field) {
  const WindowDC dc(field);
  const HGDIOBJ fieldFont = reinterpret_cast<HGDIOBJ>(SendMessageW(field, WM_GETFONT, 0, 0));
  const SelectedObject font(dc.Get(), fieldFont);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  return metrics.tmHeight;
}

// A note that fits shows no scroll bar; one that does not shows it, so that
// its last line can be brought into view. Its lines are counted with the bar
// away, as wide as a note that fits is shown.
void FitScrollBar(HWND notes) {
  ShowScrollBar(notes, SB_VERT, FALSE);
  RECT format{};
  SendMessageW(notes, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const int lineHeight = LineHeightOf(notes);
  const LRESULT shown = lineHeight > 0 ? (format.bottom - format.top) / lineHeight : 0;
  if (SendMessageW(notes, EM_GETLINECOUNT, 0, 0) > shown) ShowScrollBar(notes, SB_VERT, TRUE);
}

}  // namespace

Editor& Editor::GetInstance() {
  static Editor instance;
  return instance;
}

// Taking the vault file manager here makes it older than the editor, so it
// outlives the editor at exit.
Editor::Editor() : m_EditorUpdater(&EditorUpdater::GetInstance()) {}

Editor::~Editor() = default;

void Editor::ConstructWindows(HWND mainWindow) {
  m_hWnd = mainWindow;
  m_ReadMode = EDDB_Read;
  EditorReadDatabase();
  try {
    ConstructLabels();
    ConstructSiteList();
    ConstructFields();
  } catch (const DebugEditWnd& e) {
    DebugLogReporter reporter;
    e.Report(reporter);
    e.CheckIntegrity();
    e.Dump(reporter);
    e.ShowInternals(reporter);
    ErrorMessageBox(UM_EditWindowsFailed, UM_Caption);
    throw;
  }
  MaskPasswordField(!IsPasswordDisplayed());
  ConstructButtons();
  PlaceChildren();
  DebugLog(L"Editor::ConstructWindows finished");
}

// Labels and fields are made at 0, 0 with no size and placed afterwards;
// the list and the buttons are made at their places.
void Editor::ConstructLabels() {
  for (size_t i = 0; i < m_Labels.size(); ++i) {
    m_Labels[i] = m_StaticControlManager.CreateStaticControl(
        0, m_hWnd, kAnonymousId, MainWindowLayout::kLabels[i].text, kRightAligned, 0);
  }
}

void Editor::ConstructSiteList() {
  const Place place = m_Layout.Pixels(MainWindowLayout::kSiteList);
  m_hSiteList = CreateWindowExW(0, L"combobox", nullptr, MainWindowLayout::kSiteListStyle,
                                place.x, place.y, place.width, place.height, m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCB_DBPASSWORD)),
                                InstanceOf(m_hWnd), nullptr);
  SetNormalFont(m_hSiteList);
}

void Editor::ConstructFields() {
  for (size_t i = 0; i < m_FieldEdits.size(); ++i) {
    m_FieldEdits[i] = m_EditWindowManager.CreateWindowClass(
        0, m_hWnd, kAnonymousId, L"", MainWindowLayout::kFields[i].editType, 0,
        MainWindowLayout::kFields[i].noAutoScroll);
  }
}

void Editor::ConstructButtons() {
  for (size_t i = 0; i < m_Buttons.size(); ++i) {
    const MainWindowLayout::ButtonSpec& button = MainWindowLayout::kButtons[i];
    const Place place = m_Layout.Pixels(button.place);
    m_Buttons[i] = CreateWindowExW(0, L"button", button.text, kButtonStyle, place.x, place.y,
                                   place.width, place.height, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)),
                                   InstanceOf(m_hWnd), nullptr);
    SetNormalFont(m_Buttons[i]);
  }
}

void Editor::PlaceChildren() {
  const auto move = [](HWND child, const Place& place) {
    MoveWindow(child, place.x, place.y, place.width, place.height, TRUE);
  };
  for (size_t i = 0; i < m_Labels.size(); ++i) {
    const Place place = m_Layout.Pixels(MainWindowLayout::kLabels[i].place);
    m_Labels[i]->Move(place.x, place.y, place.width, place.height);
  }
  move(m_hSiteList, m_Layout.Pixels(MainWindowLayout::kSiteList));
  for (size_t i = 0; i < m_FieldEdits.size(); ++i) {
    const Place place = m_Layout.Pixels(MainWindowLayout::kFields[i].place);
    m_FieldEdits[i]->Move(place.x, place.y, place.width, place.height);
  }
  for (size_t i = 0; i < m_Buttons.size(); ++i)
    move(m_Buttons[i], m_Layout.Pixels(MainWindowLayout::kButtons[i].place));
  // How many lines fit in the Notes field follows its size and font.
  FitScrollBar(GetEditField(FIELD_Notes));
}

void Editor::LayOut() {
  FontManager::GetInstance().SetChildFonts(m_hWnd, m_Layout.Scale().Dpi());
  PlaceChildren();
}

void Editor::EditorReadDatabase() {
  if (m_ReadMode == EDDB_Read) {
    DebugLog(L"Editor::EditorReadDatabase : EDDB_Read");
    LoadFileValues();
  } else {
    m_EditorUpdater->ReadDefaultDatabase(true);
  }
}

int Editor::LoadFileValues() {
  DebugLog(L"Editor::LoadFileValues !!!!! : m_CurrentFileName: %s",
           m_EditorUpdater->GetDataBaseFileName().c_str());
  if (m_EditorUpdater->DeSerialize()) {
    DebugLog(L"Editor::LoadFileValues m_EditorUpdater.DeSerialize() : m_CurrentFileName: %s",
             m_EditorUpdater->GetDataBaseFileName().c_str());
    TakeStoredMasterPassword();
  } else {
    m_EditorUpdater->ReadDefaultDatabase(true);
  }
  return 1;
}

void Editor::TakeStoredMasterPassword() {
  std::wstring stored = m_EditorUpdater->GetMasterPassword();
  ScopedWipe wipe(stored);
  Initialization::GetInstance().SetMasterPassword(stored);
}

// The drop-down list may be open: it goes with its titles.
void Editor::ForgetVault() {
  SendMessageW(m_hSiteList, CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageW(m_hSiteList, CB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < m_FieldEdits.size(); ++i) WipeFieldText(GetEditField(static_cast<int>(i)));
  m_EditorUpdater->ForgetDatabase();
}

bool Editor::ReadVaultAgain() {
  if (m_EditorUpdater->ReadWithoutWriteBack()) {
    TakeStoredMasterPassword();
    return true;
  }
  m_EditorUpdater->ForgetDatabase();
  return false;
}

bool Editor::SaveFileValues() {
  DebugLog(L"Editor::SaveFileValues :");
  return m_EditorUpdater->Serialize();
}

void Editor::UpdateDisplayValues() {
  m_EditorUpdater->DisplayPasswordRecord({GetEditField(0), GetEditField(1), GetEditField(2),
                                          GetEditField(3)});
  FitScrollBar(GetEditField(FIELD_Notes));
  DebugLog(L"Editor::UpdateDisplayValues 1");
}

void Editor::ShowSite(int position) {
  SendMessageW(m_hSiteList, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
  DatabasePasswordSet::GetInstance().SetCurrentRecord(position);
  UpdateDisplayValues();
}

void Editor::RefreshSiteList() {
  m_EditorUpdater->FillCombobox(m_hSiteList);
  UpdateDisplayValues();
}

void Editor::SetMasterPassword(const std::wstring& text) {
  m_EditorUpdater->SetMasterPassword(text);
}

HWND Editor::GetEditField(int index) const {
  if (index < 0 || index >= static_cast<int>(m_FieldEdits.size()) || !m_FieldEdits[index])
    return nullptr;
  return m_FieldEdits[index]->GetHWnd();
}

bool Editor::IsPasswordDisplayed() const {
  return m_EditorUpdater->GetPasswordDisplayFlag() != 0;
}

void Editor::SetPasswordDisplayed(int flag) {
  m_EditorUpdater->SetPasswordDisplayFlag(flag);
}

// With common controls 6 a password field masks with a bullet unless told
// otherwise; this program shows "*".
void Editor::MaskPasswordField(bool masked) {
  HWND field = GetEditField(FIELD_Password);
  SendMessageW(field, EM_SETPASSWORDCHAR, masked ? kPasswordMask : 0, 0);
  InvalidateRect(field, nullptr, FALSE);
}

void Editor::SetDatabaseFolder(const std::wstring& folder) {
  m_EditorUpdater->SetDataBaseFileName(folder);
}
