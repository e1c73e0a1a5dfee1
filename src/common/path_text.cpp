// Path buffer fit, the shortcut rule and drive paths.
#include "common/path_text.h"

bool FitsPathBuffer(const WideString& wstrPath) {
    return wstrPath.size() < kPathCapacity;
}

bool IsShortcutPath(const WideString& wstrPath) {
    return wstrPath.find(WIDE(".lnk")) != WideString::npos;
}

bool BeginsWithDrive(const WideString& wstrPath) {
    if (wstrPath.size() < 3 || wstrPath[1] != WIDE(':') || wstrPath[2] != WIDE('\\')) {
        return false;
    }
    const WideChar letter = wstrPath[0];
    return (letter >= WIDE('A') && letter <= WIDE('Z')) ||
           (letter >= WIDE('a') && letter <= WIDE('z'));
}
