// The identifiers of the three method names that the scripted object answers to.
#ifndef NPDESKLAUNCH_SCRIPT_METHOD_NAMES_H
#define NPDESKLAUNCH_SCRIPT_METHOD_NAMES_H

#include "npapi/npapi.h"

// Module-wide, written by every LookUpMethodNames.
extern NPIdentifier idRecentlyApplications;
extern NPIdentifier idRunAppointedApplication;
extern NPIdentifier idSelectApplications;

// Asks the browser for the three identifiers; every new instance does.
void LookUpMethodNames();

#endif
