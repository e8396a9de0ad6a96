// Helper programs and files of the test suite are built into the folder of
// the test program that uses them.
#pragma once

#include <string>

// The path of `name` in the running test program's folder.
std::wstring BesideThisProgram(const std::wstring& name);
