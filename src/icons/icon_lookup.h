// Finding the icon that Windows shows for an application file.
#ifndef NPDESKLAUNCH_ICONS_ICON_LOOKUP_H
#define NPDESKLAUNCH_ICONS_ICON_LOOKUP_H

#include <windows.h>

#include "common/wide_text.h"

// The large icon of `wstrAppPath`: a file's first icon, a shortcut's icon setting (or its
// target's first icon), or icon 21 of the system's shell32.dll for the Control Panel program.
// The caller destroys the icon; NULL when there is none.
HICON ExtractAppIcon(WideString wstrAppPath);

#endif
