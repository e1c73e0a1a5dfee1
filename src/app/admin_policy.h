// The administrator's policy as Group Policy writes it: values under
// Software\Policies\npDesklaunch, in HKEY_LOCAL_MACHINE first, then in HKEY_CURRENT_USER. Read
// afresh on every call, so that a policy applied while the browser runs holds from the next call
// on.
#ifndef NPDESKLAUNCH_APP_ADMIN_POLICY_H
#define NPDESKLAUNCH_APP_ADMIN_POLICY_H

#include <vector>

#include "common/wide_text.h"

// The policy key below either hive.
extern const WideChar kPolicyKeyPath[];

// Whether AllowedOrigins is set; its entries go to `vecOrigins`. A value of another type than
// REG_MULTI_SZ or REG_SZ, or one that cannot be read, is set and allows no origin.
bool ReadAllowedOrigins(std::vector<WideString>& vecOrigins);

// Whether LaunchCatalogueOnly is set to anything but the DWORD 0.
bool ReadLaunchCatalogueOnly();

#endif
