// The catalogue that RecentlyApplications returns: the accessories and the most used programs.
#ifndef NPDESKLAUNCH_APP_RECENT_APPLICATIONS_H
#define NPDESKLAUNCH_APP_RECENT_APPLICATIONS_H

#include <vector>

#include "app/os_family.h"
#include "common/wide_text.h"

// Where a front end's icons go. The same rules list the same programs either way: a history
// record whose icon cannot be made is left out.
enum IconKeeping {
    IconsStoredBesideModule, // 32x32 bitmap files in the images folder beside the module
    IconsKeptInMemory,       // the same files' bytes, kept in memory: nothing is written
};

// One program of the catalogue; `vecIcon` holds its icon's bitmap file when icons are kept in
// memory and one could be made, and is empty otherwise.
struct CatalogueEntry {
    WideString wstrPath;
    WideString wstrName;
    std::vector<unsigned char> vecIcon;
};

// The catalogue text by the rules of the served `family`, every listed program's icon kept as
// `keeping` says on the way. With `pvecEntries`, each entry goes there too, in text order.
WideString RecentApplications(OsFamily family, IconKeeping keeping = IconsStoredBesideModule,
                              std::vector<CatalogueEntry>* pvecEntries = NULL);

#endif
