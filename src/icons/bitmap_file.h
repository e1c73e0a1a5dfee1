// Icon bitmaps as files in the images folder.
#ifndef NPDESKLAUNCH_ICONS_BITMAP_FILE_H
#define NPDESKLAUNCH_ICONS_BITMAP_FILE_H

#include <windows.h>

#include <stdint.h>

#include <vector>

#include "common/wide_text.h"
#include "icons/bitmap_layout.h"

// Stores the icon of `wstrAppPath` as a 32x32 32-bit bitmap file named for the application in
// `wstrImagesFolder`; true only when the whole file was written.
[[nodiscard]] bool SaveAppIcon(const WideString& wstrAppPath, WideString wstrImagesFolder);

// The same icon as the bytes of the file that SaveAppIcon would write, kept in memory; false,
// with `vecFile` untouched, when no icon can be made.
[[nodiscard]] bool RenderAppIconFile(const WideString& wstrAppPath,
                                     std::vector<unsigned char>& vecFile);

// Writes `wstrFolder`\`wstrName`.bmp: the headers for `bm` (32 bits per pixel) and its pixels,
// bottom row first, as WriteBitmapFileParts does. True only when every byte was written.
[[nodiscard]] bool WriteBitmapFile(WideString wstrFolder, const WideString& wstrName,
                                   const BYTE* pPixels, const BITMAP& bm);

// Writes the headers and `nPixelBytes` of pixels to a new file in the folder of `wstrFilePath`,
// unshared, which then replaces `wstrFilePath`. Nothing is written when the folder is a reparse
// point, or when the old file is one, is read-only, a folder or has more than one link; a new file
// whose writing failed or fell short, or that cannot replace the old one (another program holds
// it), is removed and the old file stays. The disk takes `nRoom` bytes before it is full (what
// remains of a real disk when that is less).
[[nodiscard]] bool WriteBitmapFileParts(const WideString& wstrFilePath,
                                        const BitmapFileHeaders& headers, const BYTE* pPixels,
                                        uint32_t nPixelBytes, uint32_t nRoom = 0xFFFFFFFF);

// Makes `wstrFolder` and its missing parents, as far as Windows allows; true when the folder is
// there afterwards.
[[nodiscard]] bool CreateFolderPath(WideString wstrFolder);

#endif
