// Path buffer fit and the shortcut rule.
#include "common/path_text.h"

bool FitsPathBuffer(const WideString& wstrPath) {
    return wstrPath.size() < kPathCapacity;
}

bool IsShortcutPath(const WideString& wstrPath) {
    return wstrPath.find(WIDE(".lnk")) != WideString::npos;
}
