#include "support/SecureWipe.h"

#include <algorithm>

namespace {

// The filler is written a piece at a time, so that no text of a field's
// length is made for it.
constexpr int kPiece = 32;
const wchar_t kFiller[kPiece + 1] = L"********************************";

}  // namespace

void WipeFieldText(HWND field) {
  const int length = GetWindowTextLengthW(field);
  for (int start = 0; start < length; start += kPiece) {
    const int count = std::min(kPiece, length - start);
    SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(start), start + count);
    SendMessageW(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(kFiller + kPiece - count));
  }
  SendMessageW(field, EM_SETSEL, 0, -1);
  SendMessageW(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
  SendMessageW(field, EM_EMPTYUNDOBUFFER, 0, 0);
}
