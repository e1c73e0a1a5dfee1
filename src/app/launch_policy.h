// LaunchCatalogueOnly: which programs a launch may reach while the administrator allows only
// those the catalogue lists now and those a pick returned in this browser process.
#ifndef NPDESKLAUNCH_APP_LAUNCH_POLICY_H
#define NPDESKLAUNCH_APP_LAUNCH_POLICY_H

#include "app/os_family.h"
#include "app/recent_applications.h"
#include "common/wide_text.h"

// Whether the policy lets RunApplication(family, wstrApplication) go ahead: always without
// LaunchCatalogueOnly; with it, a text that may be a path must be one the catalogue lists now
// (read as RecentlyApplications reads it, icons kept as `keeping` says) or a picked one, and a
// display name must name only such programs in the usage history.
[[nodiscard]] bool LaunchPermittedByPolicy(OsFamily family, const WideString& wstrApplication,
                                           IconKeeping keeping);

// Remembers a path that a pick returned, for as long as the module stays loaded. Safe from any
// thread.
void RememberPickedPath(const WideString& wstrPath);

#endif
