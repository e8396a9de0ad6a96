#include "storage/Scrambler.h"

const uint16_t ScrambleKey[13] = {
    0x6B2E, 0x13D7, 0xA941, 0x5C08, 0xE2F3, 0x0B9A, 0x7D64,
    0xC1B5, 0x38E2, 0x9F1C, 0x24A7, 0xD05B, 0x4E86,
};

void Scramble(std::wstring& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<wchar_t>(text[i] ^ ScrambleKey[i % 13]);
  }
}
