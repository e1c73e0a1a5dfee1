// The images folder beside this module's own file, where the icon bitmaps are stored, and the
// hold on a folder while bitmaps are written into it.
#ifndef NPDESKLAUNCH_ICONS_IMAGES_FOLDER_H
#define NPDESKLAUNCH_ICONS_IMAGES_FOLDER_H

#include <windows.h>

#include "common/unique_resource.h"
#include "common/wide_text.h"

// Writes the images folder beside this module into `wszAppFolder` (a path buffer); false, with an
// empty buffer, when the module's path cannot be had whole or the folder would not fit.
[[nodiscard]] bool GetImagesFolder(WideChar (&wszAppFolder)[kPathCapacity]);

// Every user may write a per-machine install's images folder, so another user could put a
// junction in its place and have this user's bitmaps written wherever it leads. While held, the
// folder can be neither renamed nor removed.
class HeldImagesFolder {
  public:
    explicit HeldImagesFolder(const WideString& wstrFolder);
    // True when the folder is a folder of its own (no reparse point). Ask again after writing:
    // an emptied folder can still be made a junction while held.
    bool Writable() const;

  private:
    WideString wstrFolder_;
    UniqueFile folder_;
};

#endif
