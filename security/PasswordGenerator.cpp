#include "security/PasswordGenerator.h"

#include <windows.h>

#include "security/RandomSource.h"
#include "support/DebugLog.h"
#include "support/SecureWipe.h"

std::vector<int32_t> PasswordGenerator::ms_Selections(kSelectionCount, 0);

namespace {

struct CharacterRange {
  wchar_t first;
  wchar_t last;
};

// By class index. Punctuation is '!' (0x21) to '/' (0x2F) and nothing else.
constexpr CharacterRange kClassRanges[kCharacterClassCount] = {
    {L'a', L'z'},
    {L'A', L'Z'},
    {L'0', L'9'},
    {L'!', L'/'},
};

}  // namespace

PasswordGenerator::PasswordGenerator(const std::vector<int32_t>& selections)
    : PasswordGenerator(selections, RandomSource::GetInstance()) {}

PasswordGenerator::PasswordGenerator(const std::vector<int32_t>& selections, RandomSource& source)
    : m_CategoryCount(kSelectionCount, 0) {
  if (selections.size() != kSelectionCount) {
    m_Result = GR_Unusable;
    DebugLog(L"PasswordGenerator::PasswordGenerator: %u selections, not %u",
             static_cast<unsigned>(selections.size()), static_cast<unsigned>(kSelectionCount));
    return;
  }
  ms_Selections = selections;
  m_Result = ScreenSelections();
  if (m_Result != GR_Generated) {
    DebugLog(L"PasswordGenerator::PasswordGenerator: nothing generated, result %i",
             static_cast<int>(m_Result));
    return;
  }
  try {
    Generate(source);
  } catch (const RandomSourceFailure& failure) {
    SecureWipe(m_Password);
    SecureZeroMemory(m_CategoryCount.data(), m_CategoryCount.size() * sizeof(int32_t));
    m_Result = GR_RandomFailed;
    DebugLog(L"PasswordGenerator::PasswordGenerator: %s", failure.GetErrorText().c_str());
  }
}

PasswordGenerator::~PasswordGenerator() {
  SecureWipe(m_Password);
  // The split tells how many characters of each class the password holds.
  SecureZeroMemory(m_CategoryCount.data(), m_CategoryCount.size() * sizeof(int32_t));
}

// GR_Generated when nothing stands in the way of generating.
PasswordGenerator::GenerationResult PasswordGenerator::ScreenSelections() const {
  for (const int32_t selection : ms_Selections)
    if (selection == kSelectionNotFilled) return GR_NotFilled;
  bool anyChosen = false;
  for (size_t i = 0; i < kCharacterClassCount; ++i) {
    if (ms_Selections[i] != 0 && ms_Selections[i] != 1) return GR_Unusable;
    anyChosen = anyChosen || IsChosen(i);
  }
  const int32_t length = ms_Selections[GP_PASSWORDLENGTH];
  if (!anyChosen || length < kMinimumPasswordLength || length > kMaximumPasswordLength)
    return GR_Unusable;
  return GR_Generated;
}

void PasswordGenerator::Generate(RandomSource& source) {
  SplitLength(source);
  // Room for the whole password before its first character: a string that
  // grows frees its old buffer, with part of the password in it, unwiped.
  m_Password.reserve(static_cast<size_t>(ms_Selections[GP_PASSWORDLENGTH]));
  AppendBlocks(source);
  source.Shuffle(m_Password);
}

void PasswordGenerator::SplitLength(RandomSource& source) {
  int32_t& remaining = m_CategoryCount[GP_PASSWORDLENGTH];
  remaining = ms_Selections[GP_PASSWORDLENGTH];
  for (size_t i = 0; i < kCharacterClassCount; ++i) {
    if (!IsChosen(i)) continue;
    ++m_CategoryCount[i];
    --remaining;
  }
  // Each pass offers the chosen classes, earliest first, up to half of what
  // remains; the class reached when one character remains takes it, so the
  // loop ends once a pass meets that.
  while (remaining > 0) {
    for (size_t i = 0; i < kCharacterClassCount && remaining > 0; ++i) {
      if (!IsChosen(i)) continue;
      const int32_t share = remaining > 1 ? source.Random(0, remaining / 2) : remaining;
      m_CategoryCount[i] += share;
      remaining -= share;
    }
  }
}

void PasswordGenerator::AppendBlocks(RandomSource& source) {
  for (size_t i = 0; i < kCharacterClassCount; ++i) {
    const CharacterRange& range = kClassRanges[i];
    for (int32_t n = 0; n < m_CategoryCount[i]; ++n)
      m_Password.push_back(static_cast<wchar_t>(source.Random(range.first, range.last)));
  }
}
