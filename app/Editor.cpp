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

namespace {

struct Place {
  int x, y, width, height;
};

struct LabelSpec {
  const wchar_t* text;
  Place place;
};

// The labels end five pixels left of the fields, in a 120-pixel column.
const LabelSpec kLabels[5] = {
    {L"Site Title:", {0, 20, 120, 22}},        {L"User Name:", {0, 52, 120, 22}},
    {L"Password:", {0, 79, 120, 22}},          {L"Website Address:", {0, 106, 120, 22}},
    {L"Notes:", {0, 133, 120, 22}},
};

struct FieldSpec {
  int editType;
  Place place;
};

const FieldSpec kFields[4] = {
    {EWC_ReadOnlySingleLineTextLeft, {125, 52, 260, 22}},
    {EWC_ReadOnlyPasswordText, {125, 79, 260, 22}},
    {EWC_ReadOnlySingleLineTextLeft, {125, 106, 260, 22}},
    {EWC_ReadOnlyMultiLineText, {125, 133, 260, 78}},
};

struct ButtonSpec {
  int id;
  const wchar_t* text;
  Place place;
};

const ButtonSpec kButtons[4] = {
    {IDB_USERNAME, L"Copy", {390, 52, 62, 22}},
    {IDB_PASSWORD, L"Copy", {390, 79, 62, 22}},
    {IDB_WEBSITEURL, L"Go", {390, 106, 62, 22}},
    {IDB_ADDNEWSITE, L"Add New Site", {175, 221, 160, 22}},
};

// The height includes the dropped-down list.
constexpr Place kSiteList = {125, 20, 280, 242};
constexpr DWORD kSiteListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP |
                                 CBS_DROPDOWNLIST;
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
  DebugLog(L"Editor::ConstructWindows finished");
}

void Editor::ConstructLabels() {
  for (size_t i = 0; i < m_Labels.size(); ++i) {
    m_Labels[i] = m_StaticControlManager.CreateStaticControl(0, m_hWnd, kAnonymousId,
                                                             kLabels[i].text, kRightAligned, 0);
    const Place& place = kLabels[i].place;
    m_Labels[i]->Move(place.x, place.y, place.width, place.height);
  }
}

void Editor::ConstructSiteList() {
  m_hSiteList = CreateWindowExW(0, L"combobox", nullptr, kSiteListStyle, kSiteList.x, kSiteList.y,
                                kSiteList.width, kSiteList.height, m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCB_DBPASSWORD)),
                                InstanceOf(m_hWnd), nullptr);
  SetNormalFont(m_hSiteList);
}

void Editor::ConstructFields() {
  for (size_t i = 0; i < m_FieldEdits.size(); ++i) {
    // No ES_AUTOHSCROLL: the fields show what fits, and the Notes field wraps.
    m_FieldEdits[i] = m_EditWindowManager.CreateWindowClass(0, m_hWnd, kAnonymousId, L"",
                                                            kFields[i].editType, 0, true);
    const Place& place = kFields[i].place;
    m_FieldEdits[i]->Move(place.x, place.y, place.width, place.height);
  }
}

void Editor::ConstructButtons() {
  for (size_t i = 0; i < m_Buttons.size(); ++i) {
    const ButtonSpec& button = kButtons[i];
    m_Buttons[i] = CreateWindowExW(0, L"button", button.text, kButtonStyle, button.place.x,
                                   button.place.y, button.place.width, button.place.height,
                                   m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)),
                                   InstanceOf(m_hWnd), nullptr);
    SetNormalFont(m_Buttons[i]);
  }
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
    std::wstring stored = m_EditorUpdater->GetMasterPassword();
    ScopedWipe wipe(stored);
    Initialization::GetInstance().SetMasterPassword(stored);
  } else {
    m_EditorUpdater->ReadDefaultDatabase(true);
  }
  return 1;
}

bool Editor::SaveFileValues() {
  DebugLog(L"Editor::SaveFileValues :");
  return m_EditorUpdater->Serialize();
}

void Editor::UpdateDisplayValues() {
  m_EditorUpdater->DisplayPasswordRecord({GetEditField(0), GetEditField(1), GetEditField(2),
                                          GetEditField(3)});
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
