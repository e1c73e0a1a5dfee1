// The method identifiers, asked of the browser.
#include "script/method_names.h"

#include "npruntime/browser_services.h"

NPIdentifier idRecentlyApplications = NULL;
NPIdentifier idRunAppointedApplication = NULL;
NPIdentifier idSelectApplications = NULL;

void LookUpMethodNames() {
    idRecentlyApplications = NPN_GetStringIdentifier("RecentlyApplications");
    idRunAppointedApplication = NPN_GetStringIdentifier("RunAppointedApplication");
    idSelectApplications = NPN_GetStringIdentifier("SelectApplications");
}
