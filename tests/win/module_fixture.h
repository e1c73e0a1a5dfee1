// What the Windows tests share: the module loaded once, as a browser loads it, and helpers.
#ifndef NPDESKLAUNCH_TESTS_WIN_MODULE_FIXTURE_H
#define NPDESKLAUNCH_TESTS_WIN_MODULE_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "host/browser.h"

// The module beside the test program, loaded and initialised on first use.
nphost::PluginModule& Module();

// The family that the command line says this system reports (--expected-family=N), or -1.
extern int g_expectedFamily;

// Renders UTF-16 text for failure messages.
std::string Show(const std::wstring& text);

// A variant filled with a recognisable value, to see whether a call touched it.
NPVariant Sentinel();
bool IsSentinel(const NPVariant& variant);

#endif
