#include "tests/program/ImportedDlls.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

template <typename T>
T At(const std::vector<unsigned char>& image, size_t offset) {
  if (offset > image.size() || image.size() - offset < sizeof(T))
    throw NotAProgramImage("a header lies outside the file");
  T value;
  std::memcpy(&value, image.data() + offset, sizeof(T));
  return value;
}

// Where the section that holds `rva` keeps it in the file.
size_t FileOffset(const std::vector<unsigned char>& image, size_t sections, WORD count,
                  DWORD rva) {
  for (WORD index = 0; index < count; ++index) {
    const auto section =
        At<IMAGE_SECTION_HEADER>(image, sections + index * sizeof(IMAGE_SECTION_HEADER));
    const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
    if (rva >= section.VirtualAddress && rva - section.VirtualAddress < size)
      return section.PointerToRawData + (rva - section.VirtualAddress);
  }
  throw NotAProgramImage("an address in no section");
}

}  // namespace

std::vector<std::string> ImportedDlls(const std::vector<unsigned char>& image) {
  const auto dos = At<IMAGE_DOS_HEADER>(image, 0);
  if (dos.e_magic != IMAGE_DOS_SIGNATURE) throw NotAProgramImage("no MZ header");
  const size_t ntOffset = static_cast<size_t>(dos.e_lfanew);
  const auto nt = At<IMAGE_NT_HEADERS64>(image, ntOffset);
  if (nt.Signature != IMAGE_NT_SIGNATURE ||
      nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    throw NotAProgramImage("not a 64-bit Windows program");
  const size_t sections = ntOffset + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                          nt.FileHeader.SizeOfOptionalHeader;
  const WORD count = nt.FileHeader.NumberOfSections;
  const IMAGE_DATA_DIRECTORY directory =
      nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::vector<std::string> dlls;
  if (directory.VirtualAddress == 0) return dlls;
  // The directory ends with a descriptor of zeros.
  for (size_t entry = FileOffset(image, sections, count, directory.VirtualAddress);;
       entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(image, entry);
    if (descriptor.Name == 0) return dlls;
    std::string name;
    for (size_t at = FileOffset(image, sections, count, descriptor.Name);; ++at) {
      const char unit = At<char>(image, at);
      if (unit == '\0') break;
      name += unit;
    }
    dlls.push_back(name);
  }
}
