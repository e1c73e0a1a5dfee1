// The five accessory programs that head every catalogue, and the test that drops their duplicates.
#ifndef NPDESKLAUNCH_CATALOGUE_ACCESSORY_APPS_H
#define NPDESKLAUNCH_CATALOGUE_ACCESSORY_APPS_H

#include <vector>

#include "catalogue/app_entry.h"
#include "common/wide_text.h"

const size_t kAccessoryCount = 5;

// Display names of the accessories, in the order of the accessory list.
extern const WideChar* const AccessoryDisplayNames[kAccessoryCount];

// Appends the five accessory paths made from the system folder `wstrSystemFolder` (the Windows
// folder is its parent). False, with nothing appended, when the folder has no parent or a path
// would not fit a path buffer.
[[nodiscard]] bool AccessoryPathsFromSystemFolder(const WideString& wstrSystemFolder,
                                                  std::vector<WideString>& vecAccessory);

// Appends the five accessory paths of this system; false, with nothing appended, when the
// system folder cannot be found.
[[nodiscard]] bool GetAccessoryApps(std::vector<WideString>& vecAccessory);

// NT 6: the record's executable path equals an accessory path (A to Z compared without case).
bool IsAccessoryDuplicateNt6(const AppEntry& ad, const std::vector<WideString>& vecAccessory);

// NT 5: as on NT 6, or the record's display name occurs, with exact case, inside an accessory path.
bool IsAccessoryDuplicateNt5(const AppEntry& ad, const std::vector<WideString>& vecAccessory);

#endif
