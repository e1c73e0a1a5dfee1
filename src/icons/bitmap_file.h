// Icon bitmaps as files in the images folder.
#ifndef NPDESKLAUNCH_ICONS_BITMAP_FILE_H
#define NPDESKLAUNCH_ICONS_BITMAP_FILE_H

#include "common/wide_text.h"

// Stores the icon of `wstrAppPath` as a 32x32 32-bit bitmap file named for the application in
// `wstrImagesFolder`; true only when the whole file was written.
bool SaveAppIcon(const WideString& wstrAppPath, WideString wstrImagesFolder);

#endif
