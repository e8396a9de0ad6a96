// The exception an edit field throws when its window cannot be made. It is an
// ExceptionsEditWnd, so every catcher of the file and window family handles
// it, and it carries what the failed field held (tab-stop width, handle) for
// the catcher's diagnostic steps, which it offers through
// DebugEditWndInterface.
#pragma once

#include <windows.h>

#include <cstdint>

#include "support/ExceptionBase.h"

class EditWindowControl;

class DebugEditWndInterface {
 public:
  virtual void Dump(ExceptionReporter& reporter) const = 0;
  virtual void ShowInternals(ExceptionReporter& reporter) const = 0;
  virtual bool CheckIntegrity() const = 0;

 protected:
  ~DebugEditWndInterface() = default;
};

class DebugEditWnd : public ExceptionsEditWnd, public DebugEditWndInterface {
 public:
  DebugEditWnd(const EditWindowControl& control, int32_t code);
  explicit DebugEditWnd(const EditWindowControl& control);

  void Dump(ExceptionReporter& reporter) const override;
  void ShowInternals(ExceptionReporter& reporter) const override;
  // Traces and answers true: nothing of the field is left to check.
  bool CheckIntegrity() const override;

  int32_t GetTabStop() const { return m_tabStop; }
  HWND GetHWnd() const { return m_hWnd; }

 private:
  int32_t m_tabStop;
  HWND m_hWnd;
};
