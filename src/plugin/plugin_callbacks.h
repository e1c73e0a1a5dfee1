// The plug-in callbacks that NP_GetEntryPoints hands to the browser.
#ifndef NPDESKLAUNCH_PLUGIN_PLUGIN_CALLBACKS_H
#define NPDESKLAUNCH_PLUGIN_PLUGIN_CALLBACKS_H

#include "npapi/npapi.h"

// Puts every callback into the browser's table; size, version and javaClass stay as they are.
void FillPluginFuncs(NPPluginFuncs* pFuncs);

#endif
