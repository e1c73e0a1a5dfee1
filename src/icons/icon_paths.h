// Text rules of the icon cache: which paths are the Control Panel, the name of an application's
// bitmap file, the images folder's place, the folders above a folder, and which files the cache
// may write over.
#ifndef NPDESKLAUNCH_ICONS_ICON_PATHS_H
#define NPDESKLAUNCH_ICONS_ICON_PATHS_H

#include <stdint.h>

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

// The folder that holds the file `wstrFilePath`: the text before its last backslash, without the
// backslashes that end it unless it is a drive's root ("C:\m\images\\x.bmp" gives "C:\m\images").
WideString FolderOfFile(const WideString& wstrFilePath);

// The file attributes that the cache's rules read (their Win32 values).
const uint32_t kAttributeReadOnly = 0x1;
const uint32_t kAttributeDirectory = 0x10;
const uint32_t kAttributeReparsePoint = 0x400;

// The images folder is written only when it is a folder of its own: not a reparse point (a
// junction or a link that leads elsewhere). Read-only is ignored, as Windows does for folders.
bool IsWritableImagesFolder(uint32_t nAttributes);

// An existing bitmap file is replaced only when it is a plain file with this one name: not a
// folder, not a reparse point, not read-only, and no more than one link.
bool IsReplaceableBitmap(uint32_t nAttributes, uint32_t nLinks);

// The name of a new file beside the bitmaps, for the `nSerial`th write of process `nProcess`:
// "~npd" and both numbers in hexadecimal, ".tmp"; no bitmap is ever named so.
WideString TemporaryFileName(uint32_t nProcess, uint32_t nSerial);

#endif
