// Identifiers of the program's resources, shared by the resource script and
// the code that loads them.
#pragma once

// The hot-link windows' cursor: a resource name, not a number.
#define IDC_HAND_CURSOR_NAME L"HAND"
