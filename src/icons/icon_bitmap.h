// Rendering an icon into a 32-bit bitmap whose fourth byte per pixel is alpha.
#ifndef NPDESKLAUNCH_ICONS_ICON_BITMAP_H
#define NPDESKLAUNCH_ICONS_ICON_BITMAP_H

#include <windows.h>

// Sides above this are refused by IconToBitmap.
const int kMaxIconSide = 512;

// An empty bottom-up 32-bit DIB section of `nWidth` x `nHeight`, its pixel memory in `ppBits`;
// NULL on failure.
HBITMAP CreateBitmap32(int nWidth, int nHeight, void** ppBits);

// The icon drawn at its top-left corner into a new 32-bit bitmap of `nWidth` x `nHeight`, alpha
// 0 where the icon is transparent, its own alpha where it has one, 255 elsewhere. A side below 1
// takes the icon's own; a side above 512 gives NULL. The caller deletes the bitmap; the icon
// stays the caller's.
HBITMAP IconToBitmap(HICON hIcon, int nWidth, int nHeight);

#endif
