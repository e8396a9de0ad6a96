// Reports the calling thread's last Windows error: to the debug log, or to the
// user in a box with no owner. Tools for tracing Windows interface failures.
#pragma once

void LogLastError();
void ShowLastError();
