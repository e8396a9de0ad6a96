#include "ui/StaticControlManager.h"

#include "ui/StaticControlFrame.h"
#include "ui/StaticControlText.h"

std::unique_ptr<AbstractStaticControl> StaticControlManager::CreateStaticControl(
    int type, HWND parent, int id, const wchar_t* text, int alignmentOrKind, int bold) {
  switch (type) {
    case 0:
      return std::make_unique<StaticControlText>(parent, id, text, alignmentOrKind, bold);
    case 1:
      return std::make_unique<StaticControlFrame>(parent, id, alignmentOrKind);
    default:
      return nullptr;
  }
}
