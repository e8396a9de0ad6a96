// Trace lines print handles with "%i", and a variadic call must not receive a
// 64-bit pointer for a 32-bit conversion. Window and GDI handles carry their
// whole value in the low 32 bits (64-bit Windows keeps them sign-extended so
// that 32-bit processes can share them), so the cut loses nothing.
#pragma once

#include <cstdint>

inline int HandleForLog(const void* handle) {
  return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}
