// What a program can leave behind outside its own folder in a Wine prefix:
// the registry, as the prefix's system.reg, user.reg and userdef.reg keep
// it, the files under C:\users (the user profiles, drive_c/users), and new
// folders and files at the top of drive C:.
//
// The wineserver holds the registry in memory and writes those three files
// only some 30 s after a change (measured: 28 s) and when it ends, which a
// test can neither wait for in reasonable time nor cause. So the registry
// is read as the server holds it at this moment: RegSaveKey has the server
// write a branch out at once, in the very format of those files, and the
// test compares those copies.
//
// A footprint maps each place (a registry key, a file or folder) to what is
// there, without times: Wine stamps every key it writes, every file has its
// times, and only contents tell a change. Nothing else is left out, because
// Wine changes nothing while its server runs. Measured: between two
// footprints around a whole journey, no key of the three branches changed,
// not even in its time. Across a whole session of the server (started, a
// journey, stopped) the files differ only in times and in one value: the
// display adapter's driver date, "DriverDateData" under
// HKLM\System\CurrentControlSet\Control\Class\{4D36E968-E325-11CE-BFC1-08002BE10318}\0000,
// which Wine writes anew when a server starts its display driver.
#pragma once

#include <map>
#include <string>
#include <vector>

using Footprint = std::map<std::wstring, std::wstring>;

// The registry, the profiles and the top of drive C: now, except
// `programFolder` and all it holds. Throws std::runtime_error when the
// registry cannot be read.
Footprint TakeFootprint(const std::wstring& programFolder);

// One line per place that was added, removed or changed, with the lines of
// a changed place that differ.
std::vector<std::wstring> Differences(const Footprint& before, const Footprint& after);
