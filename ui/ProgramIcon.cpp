#include "ui/ProgramIcon.h"

#include "support/ResourceIds.h"

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KEYFOLIO),
                                       IMAGE_ICON, size, size, LR_CREATEDIBSECTION));
}
