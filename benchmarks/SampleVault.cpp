// Writes the made-up vault that scripts/screenshots shows: a few sites of
// people and places that do not exist, under the master password it is
// given, which the script makes up for each run and shows nowhere. It makes
// a new file only, so it can never write over somebody's vault.
//
//   sample_vault.exe <vault file> <master password>
#include <windows.h>

#include <cstdio>
#include <vector>

#include "support/ScopedHandle.h"
#include "tests/storage/VaultBytes.h"

namespace {

const wchar_t kCreated[] = L"Monday, March 02, 2026";
const wchar_t kModified[] = L"Friday, April 17, 2026";

// In title order, as the program keeps them.
std::vector<SiteFields> SampleSites() {
  return {
      {L"Bluefin Bank", L"m.rivera1987", L"t9#Vq!e2LmZ8", L"https://bank.example.com/login",
       L"Branch on Harbour Street. Card PIN is not kept here.", kCreated, kModified, 1},
      {L"Cedar Mail", L"maria.rivera@mail.example.net", L"Quill-Lantern-42",
       L"https://mail.example.net", L"Recovery phone ends in 42.", kCreated, kCreated, 2},
      {L"Harbour Library", L"204117", L"4+Book+Tide", L"https://library.example.org/account",
       L"Renew loans online, three times at most.", kCreated, kCreated, 3},
      {L"Northwind Books", L"mrivera", L"pL7&wQ2z", L"https://books.example.com",
       L"", kCreated, kCreated, 4},
      {L"Pinecrest Gym", L"maria.r", L"Oak!Run9", L"https://gym.example.org/members",
       L"Locker 118.", kCreated, kModified, 5},
      {L"Tailwind Airlines", L"FF 5521 0098", L"k$3Ve8#nRt", L"https://air.example.com/miles",
       L"Frequent flyer number is the user name.", kCreated, kCreated, 6},
  };
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sample_vault.exe <vault file> <master password>\n");
    return 2;
  }
  const Bytes vault = Vault(argv[2], 0, 6, SampleSites());
  ScopedHandle file(
      CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file.IsValid() ||
      !WriteFile(file.Get(), vault.data(), static_cast<DWORD>(vault.size()), &written, nullptr) ||
      written != vault.size()) {
    std::fprintf(stderr, "sample_vault: cannot make a new file (error %lu)\n", GetLastError());
    return 1;
  }
  return 0;
}
