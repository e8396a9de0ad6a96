#include "dialogbase/EditorInterface.h"

#include <stdexcept>

namespace {

EditorInterface* g_editor = nullptr;

}  // namespace

EditorInterface& EditorInterface::GetInstance() {
  if (!g_editor) throw std::logic_error("EditorInterface::GetInstance: no editor is registered");
  return *g_editor;
}

EditorInterface::EditorInterface() {
  g_editor = this;
}

EditorInterface::~EditorInterface() {
  if (g_editor == this) g_editor = nullptr;
}
