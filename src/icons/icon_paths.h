// Text rules of the icon cache: which paths are shortcuts or the Control Panel, the name of an
// application's bitmap file, and the folders above a folder.
#ifndef NPDESKLAUNCH_ICONS_ICON_PATHS_H
#define NPDESKLAUNCH_ICONS_ICON_PATHS_H

#include "common/wide_text.h"

// A shortcut is any path in which ".lnk" occurs (exact case, anywhere).
bool IsShortcutPath(const WideString& wstrPath);

// An icon file in which "control.exe" occurs (exact case, anywhere) shows the Control Panel icon.
bool IsControlPanelPath(const WideString& wstrIconLocation);

// The file name of `wstrAppPath` without its last extension: the text after the last backslash,
// up to the last dot when that dot lies after the backslash.
WideString AppIconName(const WideString& wstrAppPath);

// `wstrFolder` + "\" + `wstrName` + ".bmp" into `pwstrFilePath`; false when that would not fit a
// path buffer (more than 259 characters).
bool BitmapFilePath(const WideString& wstrFolder, const WideString& wstrName,
                    WideString* pwstrFilePath);

// The text before the last backslash of `wstrFolder`; empty when it has none.
WideString ParentFolder(const WideString& wstrFolder);

#endif
