#include "tests/app/ModuleResource.h"

std::vector<unsigned char> ModuleResource(LPCWSTR name, LPCWSTR type) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(module, name, type);
  if (!found) return {};
  // A module's resources stay mapped as long as the module: nothing to free.
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  if (!data) return {};
  return {data, data + SizeofResource(module, found)};
}

std::wstring ReadWideText(const std::vector<unsigned char>& bytes, size_t& offset) {
  std::wstring text;
  for (wchar_t c; (c = ReadLittle<wchar_t>(bytes, offset)) != 0; offset += 2) text += c;
  offset += 2;
  return text;
}
