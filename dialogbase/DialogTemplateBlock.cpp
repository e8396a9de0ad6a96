#include "dialogbase/DialogTemplateBlock.h"

#include <utility>

DialogTemplateBlock::DialogTemplateBlock(DialogTemplateBlock&& other) noexcept
    : m_block(std::exchange(other.m_block, nullptr)),
      m_usedBytes(std::exchange(other.m_usedBytes, 0)) {}

DialogTemplateBlock::~DialogTemplateBlock() {
  if (m_block) GlobalFree(m_block);
}
