// The rules of the administrator's policy, for every front end: origins as a policy names them
// and as a page has one, and which programs a launch may reach when only listed ones may start.
#ifndef NPDESKLAUNCH_APP_POLICY_RULES_H
#define NPDESKLAUNCH_APP_POLICY_RULES_H

#include <vector>

#include "catalogue/app_entry.h"
#include "common/wide_text.h"

// An origin taken apart: scheme and host in lower case, the port with the scheme's default
// filled in (-1 where the scheme has none and none was given).
struct Origin {
    WideString wstrScheme;
    WideString wstrHost; // without the "*." of a pattern; empty for a local file page
    long nPort;
    bool bSubdomains; // a pattern "*.host": every host below wstrHost, not wstrHost itself
};

// A page's origin, "scheme://host[:port]" (one trailing "/" is ignored), or "file://" for a
// file page. False for anything else: "null", a path, a user name, "%", a host other than ASCII
// letters, digits, "-", "_" and dot-separated labels or a bracketed IPv6 address, a port outside
// 1-65535.
bool ParsePageOrigin(const WideString& wstrText, Origin& origin);

// An AllowedOrigins entry: a page origin, or one whose host is "*." and a domain name (not an
// address), which names every subdomain of that domain. Spaces and tabs around it are ignored.
bool ParseAllowedOrigin(const WideString& wstrText, Origin& origin);

// Whether `page` is what `allowed` names: the same scheme and port, and the same host or, for a
// pattern, a host that ends in "." followed by the pattern's host.
bool OriginMatches(const Origin& allowed, const Origin& page);

// Whether the page's origin matches one of the entries; entries that do not parse match nothing.
bool IsOriginAllowed(const std::vector<WideString>& vecAllowed, const WideString& wstrPageOrigin);

// The strings of a REG_MULTI_SZ value of `nUnits` units; empty strings are left out, and a last
// string without its terminator still counts.
std::vector<WideString> SplitMultiString(const WideChar* units, size_t nUnits);

// Whether `wstrPath`, without one pair of surrounding double quotes, is one of `vecListed` (A to
// Z compared without case, every other unit exactly).
bool IsListedPath(const std::vector<WideString>& vecListed, const WideString& wstrPath);

// Whether every record of `vecApps` that the launcher may try for the display name `wstrName`
// starts a listed program: the launcher tries them in turn. A record is named by the text as it
// is and without one pair of surrounding double quotes (A to Z compared without case).
bool NamedRecordsAreListed(const std::vector<AppEntry>& vecApps, const WideString& wstrName,
                           const std::vector<WideString>& vecListed);

#endif
