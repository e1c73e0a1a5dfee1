// Which of a page's texts the launcher hands to the shell as a path: drive paths only.
#include <gtest/gtest.h>

#include "app/run_application.h"
#include "support/readable_text.h"

namespace {

TEST(RunApplication, OnlyADrivePathIsAPathEverythingElseIsADisplayName) {
    const struct {
        WideString text;
        WideString path; // empty: a display name
    } cases[] = {
        {WIDE("C:\\x.exe"), WIDE("C:\\x.exe")},
        {WIDE("z:\\Program Files\\x.exe"), WIDE("z:\\Program Files\\x.exe")},
        {WIDE("\"C:\\Program Files\\x.exe\""), WIDE("C:\\Program Files\\x.exe")},
        {WIDE("npdprobe://x/?C:\\y"), WIDE("")},
        {WIDE("npdprobe:C:\\y"), WIDE("")},
        {WIDE("http://host/C:\\x.exe"), WIDE("")},
        {WIDE("\\\\?\\C:\\x.exe"), WIDE("")},
        {WIDE("\\\\.\\C:\\x.exe"), WIDE("")},
        {WIDE("\\\\host\\share\\x.exe"), WIDE("")},
        {WIDE(" C:\\x.exe"), WIDE("")},
        {WIDE("1:\\x.exe"), WIDE("")},
        {WIDE("\uFF23:\\x.exe"), WIDE("")}, // a full-width C
        {WIDE("C:x.exe"), WIDE("")},
        {WIDE("C:/x.exe"), WIDE("")},
        {WIDE("C:"), WIDE("")},
        {WIDE("notepad"), WIDE("")},
        {WIDE("\"\""), WIDE("")},
        {WIDE("\"C:\\x.exe"), WIDE("")},                 // no closing quote
        {WIDE("\"\"C:\\x.exe\"\""), WIDE("")},           // one pair only is taken off
        {WIDE("\"C:\\x.exe\" \"C:\\y.exe\""), WIDE("")}, // a quote left inside
        {WIDE("\"npdprobe://x/?C:\\y\""), WIDE("")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.path, DrivePathOf(c.text)) << Show(c.text);
    }
}

} // namespace
