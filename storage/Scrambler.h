// Every text in a record file is stored with each 16-bit unit XOR'ed with a
// fixed 13-entry table, restarting at entry 0 for every string. The table is
// the same in every copy of the program: files written by one copy are read
// by any other, so it can never change.
#pragma once

#include <cstdint>
#include <string>

extern const uint16_t ScrambleKey[13];

// Scrambles or unscrambles in place: the operation is its own inverse.
void Scramble(std::wstring& text);
