// The DLLs that a program file imports, read from its import directory as
// Windows's loader reads it, without loading the file.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

class NotAProgramImage : public std::runtime_error {
 public:
  explicit NotAProgramImage(const std::string& what) : std::runtime_error(what) {}
};

// The names as the file spells them ("KERNEL32.dll"), in the directory's
// order. Throws NotAProgramImage when the bytes are not a 64-bit Windows
// program or its import directory leads outside them.
std::vector<std::string> ImportedDlls(const std::vector<unsigned char>& image);
