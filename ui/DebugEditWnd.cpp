#include "ui/DebugEditWnd.h"

#include "support/DebugLog.h"
#include "ui/EditWindowControl.h"

DebugEditWnd::DebugEditWnd(const EditWindowControl& control, int32_t code)
    : ExceptionsEditWnd(code), m_tabStop(control.GetTabStop()), m_hWnd(control.GetHWnd()) {}

DebugEditWnd::DebugEditWnd(const EditWindowControl& control)
    : DebugEditWnd(control, EditWindowErrorCodes::EW_CreateFailed) {}

void DebugEditWnd::Dump(ExceptionReporter& reporter) const {
  reporter.Write(L"EditWindowControl::Dump: ", SEV_None);
}

void DebugEditWnd::ShowInternals(ExceptionReporter& reporter) const {
  reporter.Write(L"EditWindowControl::ShowInternals: ", SEV_None);
}

bool DebugEditWnd::CheckIntegrity() const {
  DebugLog(L"DebugEditWnd::CheckIntegrity");
  return true;
}
