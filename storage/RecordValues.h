// The two longs that stand for a bool in a record file. Any other value read
// where a bool belongs is damage.
#pragma once

constexpr unsigned long kRecordTrue = 0xFAB1FAB2;
constexpr unsigned long kRecordFalse = 0xBAD1BAD2;
