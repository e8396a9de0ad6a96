#include "security/RandomSource.h"

#include <cstdint>
#include <stdexcept>
#include <utility>

#include "crypto/SystemRandomBytes.h"

std::wstring RandomSourceFailure::GetErrorText() const {
  return L"The system's random generator gave no random bytes.";
}

RandomSource& RandomSource::GetInstance() {
  static RandomSource instance(SystemRandomBytes::GetInstance());
  return instance;
}

int32_t RandomSource::Random(int32_t low, int32_t high) {
  if (low > high) throw std::invalid_argument("RandomSource::Random: low is above high");
  // Worked in 64 bits: the widest range, INT32_MIN..INT32_MAX, holds 2^32
  // values, one more than an unsigned 32-bit number can count.
  constexpr uint64_t kValues = uint64_t{1} << 32;
  const uint64_t count = static_cast<uint64_t>(static_cast<int64_t>(high) - low + 1);
  const uint64_t accepted = kValues - kValues % count;
  uint64_t value = Draw();
  while (value >= accepted) value = Draw();
  return static_cast<int32_t>(low + static_cast<int64_t>(value % count));
}

void RandomSource::Shuffle(std::wstring& text) {
  if (text.size() > static_cast<size_t>(INT32_MAX) + 1)
    throw std::invalid_argument("RandomSource::Shuffle: text too long");
  for (size_t i = text.size(); i > 1; --i) {
    const size_t j = static_cast<size_t>(Random(0, static_cast<int32_t>(i - 1)));
    std::swap(text[i - 1], text[j]);
  }
}

uint32_t RandomSource::Draw() {
  BYTE bytes[4];
  if (!m_Bytes.Fill(bytes, sizeof bytes)) throw RandomSourceFailure();
  return bytes[0] | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}
