#include "security/GeneratePassword.h"

#include <cstdlib>

#include "dialogbase/DialogTemplates.h"
#include "security/GeneratorSelections.h"
#include "security/PasswordGenerator.h"
#include "security/RandomSource.h"
#include "support/SecureWipe.h"

std::vector<int32_t> GeneratePassword::ms_Selections(kSelectionCount, 0);

namespace {

const wchar_t kCaption[] = L"Keyfolio";
const wchar_t kLengthMessage[] = L"A password must be between 4 to 64 characters long.";
const wchar_t kNoClassMessage[] = L"Select at least one character type.";
const wchar_t kRandomFailedMessage[] =
    L"Windows could not supply random numbers, so no password was made. Try again, or type a "
    L"password yourself.";

// The length field takes two digits; more are never read.
constexpr int kLengthDigits = 2;
constexpr int kLengthReadLimit = 64;

// The table's "(e.g. !@#$%^&*.,)" as the check box must be given it to show
// it whole.
const wchar_t kPunctuationBoxText[] = L"(e.g. !@#$%^&&*.,)";

const int kClassBoxes[kCharacterClassCount] = {IDC_LOWERCASE, IDC_UPPERCASE, IDC_NUMBERS,
                                               IDC_PUNCTUATION};

}  // namespace

GeneratePassword::GeneratePassword(HWND parent)
    : GeneratePassword(parent, RandomSource::GetInstance()) {}

GeneratePassword::GeneratePassword(HWND parent, RandomSource& source) : m_Source(source) {
  DoModal(parent);
}

GeneratePassword::~GeneratePassword() {
  SecureWipe(m_Password);
}

int GeneratePassword::GetTemplateID() const {
  return DLG_GeneratePassword;
}

INT_PTR GeneratePassword::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  SetItemFont(1, IDC_LABEL_FIRST, IDC_LABEL_LAST);
  // A button takes "&" as the mark of its access key: doubled, it shows.
  SetDlgItemTextW(m_hWnd, IDC_PUNCTUATION, kPunctuationBoxText);
  for (int box : kClassBoxes) CheckDlgButton(m_hWnd, box, BST_CHECKED);
  DialogBase::OnInitDialog(wParam, lParam);
  HWND length = Item(IDC_PASSWORD_LENGTH);
  ::SetFocus(length);
  SendMessageW(length, EM_LIMITTEXT, kLengthDigits, 0);
  SetWindowTextW(length, L"8");
  // Selected, as the dialog manager selects the text of a field it gives
  // the focus to: typing a length replaces the "8" rather than joining it
  // ("12" would otherwise become "18").
  SendMessageW(length, EM_SETSEL, 0, -1);
  return FALSE;
}

LRESULT GeneratePassword::OnCommand(int id, HWND, UINT) {
  if (id == IDOK || id == IDC_GENERATE_PASSWORD) {
    if (Generate()) End(id);
  } else if (id == IDCANCEL) {
    End(IDCANCEL);
  }
  return 0;
}

bool GeneratePassword::Generate() {
  ms_Selections.assign(kSelectionCount, kSelectionNotFilled);
  wchar_t lengthText[kLengthReadLimit + 1] = {};
  GetDlgItemTextW(m_hWnd, IDC_PASSWORD_LENGTH, lengthText, kLengthReadLimit + 1);
  // As atoi reads it: empty or non-numeric text is 0.
  const int length = _wtoi(lengthText);
  if (length < kMinimumPasswordLength || length > kMaximumPasswordLength) {
    MessageBoxW(m_hWnd, kLengthMessage, kCaption, MB_OK);
    return false;
  }
  ms_Selections[GP_PASSWORDLENGTH] = length;
  int chosen = 0;
  for (size_t i = 0; i < kCharacterClassCount; ++i) {
    ms_Selections[i] = IsDlgButtonChecked(m_hWnd, kClassBoxes[i]) == BST_CHECKED ? 1 : 0;
    chosen += ms_Selections[i];
  }
  if (chosen == 0) {
    MessageBoxW(m_hWnd, kNoClassMessage, kCaption, MB_OK);
    return false;
  }
  PasswordGenerator generator(ms_Selections, m_Source);
  if (generator.GetResult() != PasswordGenerator::GR_Generated) {
    MessageBoxW(m_hWnd, kRandomFailedMessage, kCaption, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  SecureWipe(m_Password);
  m_Password = generator.GetPassword();
  return true;
}
