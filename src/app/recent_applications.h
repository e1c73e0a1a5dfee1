// The catalogue that RecentlyApplications returns: the accessories and the most used programs.
#ifndef NPDESKLAUNCH_APP_RECENT_APPLICATIONS_H
#define NPDESKLAUNCH_APP_RECENT_APPLICATIONS_H

#include <vector>

#include "app/os_family.h"
#include "common/wide_text.h"

// The catalogue text by the rules of the served `family`, every listed program's icon stored in
// the images folder on the way. With `pvecPaths`, the path of each entry goes there too.
WideString RecentApplications(OsFamily family, std::vector<WideString>* pvecPaths = NULL);

#endif
