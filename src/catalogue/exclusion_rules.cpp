// The exclusion lists, filled on first use, and the two tests over an executable's path.
#include "catalogue/exclusion_rules.h"

#include <stddef.h>

std::vector<WideString> ExcludedNameWords;
std::vector<WideString> ExcludedPathParts;

namespace {

bool ContainsAny(const WideString& wstrText, const std::vector<WideString>& vctParts) {
    for (size_t i = 0; i < vctParts.size(); ++i) {
        if (wstrText.find(vctParts[i]) != WideString::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

void FillExclusionLists() {
    if (ExcludedNameWords.empty()) {
        ExcludedNameWords.push_back(WIDE("rundll32"));
        ExcludedNameWords.push_back(WIDE("setup"));
        ExcludedNameWords.push_back(WIDE("uninstall"));
        ExcludedNameWords.push_back(WIDE("uninst"));
    }
    if (ExcludedPathParts.empty()) {
        ExcludedPathParts.push_back(WIDE("\\windows\\installer\\"));
    }
}

bool IsExcludedFileName(WideString wstrExePath) {
    if (wstrExePath.empty()) {
        return false;
    }
    const size_t nSlash = wstrExePath.rfind(WIDE('\\'));
    const size_t nDot = wstrExePath.rfind(WIDE('.'));
    if (nSlash == WideString::npos || nDot == WideString::npos) {
        return false;
    }
    const size_t nLength = nDot > nSlash ? nDot - nSlash - 1 : WideString::npos;
    const WideString wstrFileName = ToLowerAscii(wstrExePath.substr(nSlash + 1, nLength));
    if (ExcludedNameWords.empty()) {
        FillExclusionLists();
    }
    return ContainsAny(wstrFileName, ExcludedNameWords);
}

bool IsExcludedLocation(WideString wstrExePath) {
    if (wstrExePath.empty()) {
        return false;
    }
    const WideString wstrLower = ToLowerAscii(wstrExePath);
    if (ExcludedPathParts.empty()) {
        FillExclusionLists();
    }
    return ContainsAny(wstrLower, ExcludedPathParts);
}
