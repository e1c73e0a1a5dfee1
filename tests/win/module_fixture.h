// What the Windows tests share: the module loaded once, as a browser loads it, and helpers.
#ifndef NPDESKLAUNCH_TESTS_WIN_MODULE_FIXTURE_H
#define NPDESKLAUNCH_TESTS_WIN_MODULE_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nphost/browser.h"
#include "nphost/dialog_watcher.h"
#include "support/readable_text.h"

// The module beside the test program, loaded and initialised on first use.
nphost::PluginModule& Module();

// The family that the command line says this system reports (--expected-family=N), or -1.
extern int g_expectedFamily;

// The text and the caption of the box the module shows when RunAppointedApplication started
// nothing; the text is followed by what the page passed.
const std::wstring kNotFound = L"\u6CA1\u627E\u5230\u6307\u5B9A\u7684\u7A0B\u5E8F";
const std::wstring kErrorCaption = L"\u9519\u8BEF";

// The module's own failure boxes among those a user saw.
std::vector<nphost::SeenBox> FailureBoxes(const std::vector<nphost::SeenBox>& boxes);

// RunAppointedApplication(args) while a user reads and closes every box that appears; returns
// the boxes seen, in order. The call is expected to return true and leave its result untouched.
std::vector<nphost::SeenBox> CallRunAppointedApplication(NPObject* object,
                                                         const nphost::Arguments& args);

// Whether a file or folder is at `path`.
bool Exists(const std::wstring& path);

// The whole file at `path`, empty when it cannot be read; a new file of `bytes`.
std::vector<uint8_t> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);

// `method` of `object` called as a page calls it: the string it returned (UTF-8), empty when none
// came; a failed call fails the test. The result is released.
std::string CallForText(NPObject* object, const char* method,
                        const nphost::Arguments& args = nphost::Arguments());

// A variant filled with a recognisable value, to see whether a call touched it.
NPVariant Sentinel();
bool IsSentinel(const NPVariant& variant);

#endif
