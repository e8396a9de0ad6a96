#include "tests/security/ScriptedBytes.h"

#include <cstring>

ScriptedBytes::ScriptedBytes(const std::vector<uint32_t>& values) {
  for (const uint32_t value : values)
    for (int shift = 0; shift < 32; shift += 8) m_bytes.push_back(static_cast<BYTE>(value >> shift));
}

bool ScriptedBytes::Fill(BYTE* buffer, ULONG size) {
  if (size > Remaining()) return false;
  std::memcpy(buffer, m_bytes.data() + m_next, size);
  m_next += size;
  return true;
}
