// Builders of the catalogue text that RecentlyApplications returns.
#ifndef NPDESKLAUNCH_CATALOGUE_CATALOGUE_BUILDER_H
#define NPDESKLAUNCH_CATALOGUE_CATALOGUE_BUILDER_H

#include "common/wide_text.h"

// Fills `wstrResult` with the catalogue and returns its length in characters.
int BuildRecentApplicationsNt6(WideString& wstrResult);
int BuildRecentApplicationsNt5(WideString& wstrResult);

#endif
