// Text rules of the icon cache: which paths are the Control Panel, the name of an application's
// bitmap file, the images folder's place and the folders above a folder.
#ifndef NPDESKLAUNCH_ICONS_ICON_PATHS_H
#define NPDESKLAUNCH_ICONS_ICON_PATHS_H

#include "common/wide_text.h"

// An icon file in which "control.exe" occurs (exact case, anywhere) shows the Control Panel icon.
bool IsControlPanelPath(const WideString& wstrIconLocation);

// The file name of `wstrAppPath` without its last extension: the text after the last backslash,
// up to the last dot when that dot lies after the backslash.
WideString AppIconName(const WideString& wstrAppPath);

// Whether `wstrName` may name a bitmap file: one that stays in its folder and is no device. Not
// when it holds "\\", "/" or ":", is "." or "..", ends in a dot or a space, or is a device name
// (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, the last two also with the superscript digits
// that Windows takes for 1 to 3; in any letter case, with or without an extension).
bool IsStorableBitmapName(const WideString& wstrName);

// `wstrFolder` + "\" + `wstrName` + ".bmp" into `pwstrFilePath`; false when the name is not
// storable or the path would not fit a path buffer (more than 259 characters).
[[nodiscard]] bool BitmapFilePath(const WideString& wstrFolder, const WideString& wstrName,
                                  WideString* pwstrFilePath);

// The images folder beside the module file `wstrModulePath`: its folder followed by "\images".
// Empty when that would not fit a path buffer.
WideString ImagesFolderBeside(const WideString& wstrModulePath);

// The text before the last backslash of `wstrFolder`; empty when it has none.
WideString ParentFolder(const WideString& wstrFolder);

#endif
