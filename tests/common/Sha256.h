// SHA-256 from the system (bcrypt), for known answers given as a digest: the
// tests' own way to the hash, apart from the library the program uses.
#pragma once

#include <string>
#include <vector>

// The digest of `bytes`, as 64 lower-case hexadecimal digits.
std::string Sha256Hex(const std::vector<unsigned char>& bytes);
// `bytes` as lower-case hexadecimal digits.
std::string Hex(const unsigned char* bytes, size_t size);
