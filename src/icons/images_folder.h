// The images folder beside this module's own file, where the icon bitmaps are stored.
#ifndef NPDESKLAUNCH_ICONS_IMAGES_FOLDER_H
#define NPDESKLAUNCH_ICONS_IMAGES_FOLDER_H

#include "common/wide_text.h"

// Writes the images folder beside this module into `wszAppFolder` (a path buffer); false, with an
// empty buffer, when the module's path cannot be had whole or the folder would not fit.
[[nodiscard]] bool GetImagesFolder(WideChar (&wszAppFolder)[kPathCapacity]);

#endif
