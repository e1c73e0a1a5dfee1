// Which texts the launcher takes for a path: drive paths only.
#include "app/run_application.h"

#include "common/path_text.h"

bool IsDrivePath(const WideString& wstrPath) {
    // A URL, a UNC name or a \\?\ or \\.\ form is no drive path; nor is a text with a quote,
    // which no Windows path holds.
    return BeginsWithDrive(wstrPath) && wstrPath.find('"') == WideString::npos;
}

WideString DrivePathOf(const WideString& wstrText) {
    // Pages pass quoted paths: one pair around the whole text is taken off.
    WideString wstrPath = wstrText;
    if (wstrPath.size() >= 2 && wstrPath[0] == '"' && wstrPath[wstrPath.size() - 1] == '"') {
        wstrPath = wstrPath.substr(1, wstrPath.size() - 2);
    }
    return IsDrivePath(wstrPath) ? wstrPath : WideString();
}
