// What the tests that run once per OS family share: the family this copy of the program runs
// as, the usage history and the programs they set up, and the plug-in's object.
#ifndef NPDESKLAUNCH_TESTS_WIN_FAMILY_FIXTURE_H
#define NPDESKLAUNCH_TESTS_WIN_FAMILY_FIXTURE_H

#include <string>
#include <vector>

#include "module_fixture.h"
#include "nphost/usage_history_seed.h"

// The history this copy's Windows version reads: NT 5 for --expected-family=3, else NT 6.
nphost::HistoryFamily ThisFamily();

// Where the tests put the programs their histories name.
extern const wchar_t kTestRoot[];

// This system's folder (CSIDL_SYSTEM), without trailing backslash.
std::wstring SystemFolder();
// The accessory block that every catalogue on this system begins with.
std::wstring AccessoryBlock();

// A program that records its starts (see tests/host/marker_program.cpp), beside this one.
std::wstring MarkerProgram(const wchar_t* wszName = L"marker_program.exe");

// The lines that the marker program at `path` wrote, one per start.
std::vector<std::string> RunsOf(const std::wstring& path);
// Waits until the program at `path` has recorded `nRuns` starts; false when it is not so
// within the time.
bool WaitForRuns(const std::wstring& path, size_t nRuns);

#endif
