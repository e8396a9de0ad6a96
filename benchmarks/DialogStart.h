// Times a program from CreateProcessW to its first dialog on the screen, the
// moment a person can act, and ends it by cancelling that dialog: the
// reference program ends, and so does Keyfolio, whose start-up check closes
// the program when its master password dialog is cancelled. The dialog is
// another process's window, so it is looked for, once a millisecond, among
// the desktop's windows; a millisecond is small beside any start.
#pragma once

#include <string>

// Milliseconds from CreateProcessW of `program`, started in its own folder
// (where Keyfolio finds its vault), to a visible dialog of the new process.
// Throws std::runtime_error when no dialog shows within 60 s, when the first
// dialog's caption is not `caption` (a message box instead), or when the
// program does not end within 10 s of the cancel; the process is then ended.
double TimeToDialog(const std::wstring& program, const std::wstring& caption);
