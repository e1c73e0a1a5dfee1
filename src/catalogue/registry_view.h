// The registry views the catalogue reads, chosen on purpose for 32-bit and 64-bit builds alike.
#ifndef NPDESKLAUNCH_CATALOGUE_REGISTRY_VIEW_H
#define NPDESKLAUNCH_CATALOGUE_REGISTRY_VIEW_H

#include <windows.h>

// Access flags for keys that every program of the user shares: the 64-bit view when this
// process is a 32-bit one on 64-bit Windows, so nothing is redirected.
REGSAM SharedUserView();

// Access flags for keys under HKLM\SOFTWARE that the system keeps per bitness: this process'
// own view, through WOW64 redirection for a 32-bit process on 64-bit Windows.
REGSAM ProcessBitnessView();

#endif
