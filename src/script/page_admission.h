// The administrator's AllowedOrigins for the NPAPI front end: which page the object answers.
#ifndef NPDESKLAUNCH_SCRIPT_PAGE_ADMISSION_H
#define NPDESKLAUNCH_SCRIPT_PAGE_ADMISSION_H

#include "npapi/npapi.h"

// Whether the page of `npp` may call the object's methods. Without AllowedOrigins every page
// may, and the browser is asked nothing. With it, only a page whose origin the browser tells
// (NPNVdocumentOrigin where it offers it, else the window's location) and the policy allows.
bool PageMayCall(NPP npp);

#endif
