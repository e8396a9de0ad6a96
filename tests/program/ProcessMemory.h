// Another process's memory as any program of the same user can read it
// (VirtualQueryEx, ReadProcessMemory): every committed page that is not
// guarded or closed to reading, whatever it belongs to (the heaps, the
// stacks, the program file's data). What the program leaves there, anyone
// on the desktop can find.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// How often `text` stands in the memory of the process, as UTF-16 units
// (two bytes each, at even addresses). Throws StepFailed when the process
// cannot be read.
int CountInProcessMemory(DWORD processId, const std::wstring& text);
// The same for each of `texts`, in one reading of the memory.
std::vector<int> CountEachInProcessMemory(DWORD processId, const std::vector<std::wstring>& texts);
