#include "ui/EditWindowManager.h"

#include "support/DebugLog.h"
#include "ui/EditWindowControl.h"

std::unique_ptr<AbstractEditWindowControl> EditWindowManager::CreateWindowClass(
    int classType, HWND parent, int id, const wchar_t* text, int editType, int boldFont,
    bool noAutoScroll) {
  if (classType == 0)
    return std::make_unique<EditWindowControl>(parent, id, text, editType, boldFont,
                                               noAutoScroll);
  if (classType > 0) DebugLog(L"EditWindowManager::CreateWindowClass: Unknown type of class");
  return nullptr;
}
