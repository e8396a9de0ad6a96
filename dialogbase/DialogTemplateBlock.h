// The in-memory template of one dialog, as DialogBoxIndirectParamW reads it:
// a fixed, zero-filled global memory block that this object owns. Templates
// are built afresh for every run and freed when the run is over, so the
// block lives exactly as long as the object that holds it. An empty object
// stands for a template that could not be built.
#pragma once

#include <windows.h>

#include <cstddef>

class DialogTemplateBlock {
 public:
  DialogTemplateBlock() = default;
  // Takes ownership of a block from GlobalAlloc(GPTR) whose first
  // `usedBytes` hold the template.
  DialogTemplateBlock(HGLOBAL block, size_t usedBytes) : m_block(block), m_usedBytes(usedBytes) {}
  DialogTemplateBlock(DialogTemplateBlock&& other) noexcept;
  DialogTemplateBlock(const DialogTemplateBlock&) = delete;
  DialogTemplateBlock& operator=(const DialogTemplateBlock&) = delete;
  ~DialogTemplateBlock();

  explicit operator bool() const { return m_block != nullptr; }
  // A fixed block's handle is its address: no GlobalLock is needed.
  const DLGTEMPLATE* Get() const { return static_cast<const DLGTEMPLATE*>(m_block); }
  const BYTE* Bytes() const { return static_cast<const BYTE*>(m_block); }
  // The bytes the template takes; the rest of the block is zero.
  size_t UsedBytes() const { return m_usedBytes; }

 private:
  HGLOBAL m_block = nullptr;
  size_t m_usedBytes = 0;
};
