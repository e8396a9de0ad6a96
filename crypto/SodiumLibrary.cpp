#include "crypto/SodiumLibrary.h"

#include <sodium.h>

#include <climits>
#include <cstdint>

#include "crypto/SystemRandomBytes.h"
#include "support/DebugLog.h"

namespace {

const char* Name() {
  return "SystemRandomBytes";
}

// libsodium cannot be told that there are no random bytes, and no weaker
// ones may stand in for them: the process ends, as libsodium's own source
// ends it when the system gives none.
void Fill(void* const buffer, const size_t size) {
  BYTE* bytes = static_cast<BYTE*>(buffer);
  size_t left = size;
  while (left > 0) {
    const ULONG part = left > ULONG_MAX ? ULONG_MAX : static_cast<ULONG>(left);
    if (!SystemRandomBytes::GetInstance().Fill(bytes, part)) {
      DebugLog(L"SodiumLibrary: the system gave no random bytes");
      sodium_misuse();
    }
    bytes += part;
    left -= part;
  }
}

uint32_t Random() {
  uint32_t value = 0;
  Fill(&value, sizeof value);
  return value;
}

randombytes_implementation g_ProgramSource = {Name, Random, nullptr, nullptr, Fill, nullptr};

// Deeper than any of the program's calls into libsodium goes.
constexpr size_t kStackBytes = 32 * 1024;

}  // namespace

void SodiumLibrary::WipeStack() {
  sodium_stackzero(kStackBytes);
}

bool SodiumLibrary::Start() {
  static const bool started = [] {
    randombytes_set_implementation(&g_ProgramSource);
    const int result = sodium_init();
    if (result < 0) DebugLog(L"SodiumLibrary::Start: sodium_init failed %i", result);
    return result >= 0;
  }();
  return started;
}
