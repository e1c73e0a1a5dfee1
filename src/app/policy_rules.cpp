// Origins taken apart and compared part by part, never as text, so that no prefix, suffix or
// user name makes one origin pass for another; and the listed-program rules.
#include "app/policy_rules.h"

namespace {

// Longest origin looked at: a host has at most 253 units, a scheme and a port add little.
const size_t kMaxOriginUnits = 300;

bool IsAsciiLetter(WideChar unit) {
    return (unit >= WIDE('a') && unit <= WIDE('z')) || (unit >= WIDE('A') && unit <= WIDE('Z'));
}

bool IsDigit(WideChar unit) {
    return unit >= WIDE('0') && unit <= WIDE('9');
}

bool IsHexDigit(WideChar unit) {
    return IsDigit(unit) || (unit >= WIDE('a') && unit <= WIDE('f'));
}

long DefaultPort(const WideString& wstrScheme) {
    if (wstrScheme == WIDE("http") || wstrScheme == WIDE("ws")) {
        return 80;
    }
    if (wstrScheme == WIDE("https") || wstrScheme == WIDE("wss")) {
        return 443;
    }
    if (wstrScheme == WIDE("ftp")) {
        return 21;
    }
    return -1;
}

// A letter, then letters, digits, "+", "-" and ".".
bool IsScheme(const WideString& wstrScheme) {
    if (wstrScheme.empty() || !IsAsciiLetter(wstrScheme[0])) {
        return false;
    }
    for (size_t i = 0; i < wstrScheme.size(); ++i) {
        const WideChar unit = wstrScheme[i];
        if (!IsAsciiLetter(unit) && !IsDigit(unit) && unit != WIDE('+') && unit != WIDE('-') &&
            unit != WIDE('.')) {
            return false;
        }
    }
    return true;
}

// Labels of lower-case letters, digits, "-" and "_", each separated by one dot; none empty, so
// that neither "a..b" nor a trailing dot passes.
bool IsDomainName(const WideString& wstrHost) {
    bool bLabelEmpty = true;
    for (size_t i = 0; i < wstrHost.size(); ++i) {
        const WideChar unit = wstrHost[i];
        if (unit == WIDE('.')) {
            if (bLabelEmpty) {
                return false;
            }
            bLabelEmpty = true;
            continue;
        }
        if (!IsAsciiLetter(unit) && !IsDigit(unit) && unit != WIDE('-') && unit != WIDE('_')) {
            return false;
        }
        bLabelEmpty = false;
    }
    return !bLabelEmpty;
}

// An IPv6 address in brackets: hex digits, ":" and ".".
bool IsBracketedAddress(const WideString& wstrHost) {
    if (wstrHost.size() < 3 || wstrHost[0] != WIDE('[') ||
        wstrHost[wstrHost.size() - 1] != WIDE(']')) {
        return false;
    }
    for (size_t i = 1; i + 1 < wstrHost.size(); ++i) {
        const WideChar unit = wstrHost[i];
        if (!IsHexDigit(unit) && unit != WIDE(':') && unit != WIDE('.')) {
            return false;
        }
    }
    return true;
}

// A host whose last label is all digits is an IPv4 address: it has no subdomains.
bool EndsInNumericLabel(const WideString& wstrHost) {
    const size_t nDot = wstrHost.rfind(WIDE('.'));
    const size_t nStart = nDot == WideString::npos ? 0 : nDot + 1;
    for (size_t i = nStart; i < wstrHost.size(); ++i) {
        if (!IsDigit(wstrHost[i])) {
            return false;
        }
    }
    return nStart < wstrHost.size();
}

// Decimal digits only, 1 to 65535.
bool ParsePort(const WideString& wstrPort, long& nPort) {
    if (wstrPort.empty() || wstrPort.size() > 5) {
        return false;
    }
    long nValue = 0;
    for (size_t i = 0; i < wstrPort.size(); ++i) {
        if (!IsDigit(wstrPort[i])) {
            return false;
        }
        nValue = nValue * 10 + (wstrPort[i] - WIDE('0'));
    }
    if (nValue < 1 || nValue > 65535) {
        return false;
    }
    nPort = nValue;
    return true;
}

bool ParseOrigin(const WideString& wstrText, bool bPatternAllowed, Origin& origin) {
    if (wstrText.size() > kMaxOriginUnits) {
        return false;
    }
    const size_t nSeparator = wstrText.find(WIDE("://"));
    if (nSeparator == WideString::npos) {
        return false;
    }
    Origin parsed;
    parsed.wstrScheme = ToLowerAscii(wstrText.substr(0, nSeparator));
    parsed.nPort = DefaultPort(parsed.wstrScheme);
    parsed.bSubdomains = false;
    if (!IsScheme(parsed.wstrScheme)) {
        return false;
    }
    WideString wstrHost = ToLowerAscii(wstrText.substr(nSeparator + 3));
    if (!wstrHost.empty() && wstrHost[wstrHost.size() - 1] == WIDE('/')) {
        wstrHost.erase(wstrHost.size() - 1);
    }
    const bool bFile = parsed.wstrScheme == WIDE("file");
    // The port follows the last ":" that is not inside an address's brackets.
    const size_t nColon = wstrHost.rfind(WIDE(':'));
    const size_t nBracket = wstrHost.rfind(WIDE(']'));
    if (nColon != WideString::npos && (nBracket == WideString::npos || nColon > nBracket)) {
        if (bFile || !ParsePort(wstrHost.substr(nColon + 1), parsed.nPort)) {
            return false;
        }
        wstrHost.erase(nColon);
    }
    if (bPatternAllowed && wstrHost.size() > 2 && wstrHost[0] == WIDE('*') &&
        wstrHost[1] == WIDE('.')) {
        wstrHost.erase(0, 2);
        if (!IsDomainName(wstrHost) || EndsInNumericLabel(wstrHost)) {
            return false;
        }
        parsed.bSubdomains = true;
    } else if (wstrHost.empty()) {
        // Only a page from a local file has no host.
        if (!bFile) {
            return false;
        }
    } else if (!IsDomainName(wstrHost) && !IsBracketedAddress(wstrHost)) {
        return false;
    }
    parsed.wstrHost = wstrHost;
    origin = parsed;
    return true;
}

WideString WithoutSurroundingQuotes(const WideString& wstrText) {
    if (wstrText.size() >= 2 && wstrText[0] == WIDE('"') &&
        wstrText[wstrText.size() - 1] == WIDE('"')) {
        return wstrText.substr(1, wstrText.size() - 2);
    }
    return wstrText;
}

} // namespace

bool ParsePageOrigin(const WideString& wstrText, Origin& origin) {
    return ParseOrigin(wstrText, false, origin);
}

bool ParseAllowedOrigin(const WideString& wstrText, Origin& origin) {
    const WideString wstrBlanks = WIDE(" \t");
    const size_t nFirst = wstrText.find_first_not_of(wstrBlanks);
    if (nFirst == WideString::npos) {
        return false;
    }
    const size_t nLast = wstrText.find_last_not_of(wstrBlanks);
    return ParseOrigin(wstrText.substr(nFirst, nLast - nFirst + 1), true, origin);
}

bool OriginMatches(const Origin& allowed, const Origin& page) {
    if (page.bSubdomains || allowed.wstrScheme != page.wstrScheme || allowed.nPort != page.nPort) {
        return false;
    }
    if (!allowed.bSubdomains) {
        return allowed.wstrHost == page.wstrHost;
    }
    const WideString wstrSuffix = WIDE(".") + allowed.wstrHost;
    return page.wstrHost.size() > wstrSuffix.size() &&
           page.wstrHost.compare(page.wstrHost.size() - wstrSuffix.size(), wstrSuffix.size(),
                                 wstrSuffix) == 0;
}

bool IsOriginAllowed(const std::vector<WideString>& vecAllowed, const WideString& wstrPageOrigin) {
    Origin page;
    if (!ParsePageOrigin(wstrPageOrigin, page)) {
        return false;
    }
    for (size_t i = 0; i < vecAllowed.size(); ++i) {
        Origin allowed;
        if (ParseAllowedOrigin(vecAllowed[i], allowed) && OriginMatches(allowed, page)) {
            return true;
        }
    }
    return false;
}

std::vector<WideString> SplitMultiString(const WideChar* units, size_t nUnits) {
    std::vector<WideString> vecStrings;
    WideString wstrCurrent;
    for (size_t i = 0; i < nUnits; ++i) {
        if (units[i] != 0) {
            wstrCurrent += units[i];
            continue;
        }
        if (!wstrCurrent.empty()) {
            vecStrings.push_back(wstrCurrent);
            wstrCurrent.clear();
        }
    }
    if (!wstrCurrent.empty()) {
        vecStrings.push_back(wstrCurrent);
    }
    return vecStrings;
}

bool IsListedPath(const std::vector<WideString>& vecListed, const WideString& wstrPath) {
    const WideString wstrBare = WithoutSurroundingQuotes(wstrPath);
    if (wstrBare.empty()) {
        return false;
    }
    for (size_t i = 0; i < vecListed.size(); ++i) {
        if (EqualsIgnoringAsciiCase(vecListed[i], wstrBare)) {
            return true;
        }
    }
    return false;
}

bool NamedRecordsAreListed(const std::vector<AppEntry>& vecApps, const WideString& wstrName,
                           const std::vector<WideString>& vecListed) {
    const WideString wstrBare = WithoutSurroundingQuotes(wstrName);
    for (size_t i = 0; i < vecApps.size(); ++i) {
        const WideString wstrRecordName = TextBeforeZero(vecApps[i].wszAppName, kPathCapacity);
        if (!EqualsIgnoringAsciiCase(wstrRecordName, wstrName) &&
            !EqualsIgnoringAsciiCase(wstrRecordName, wstrBare)) {
            continue;
        }
        if (!IsListedPath(vecListed, TextBeforeZero(vecApps[i].wszIconPath, kPathCapacity))) {
            return false;
        }
    }
    return true;
}
