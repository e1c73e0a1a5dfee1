// What the icon cache's Windows tests share: the carrier programs, scratch folders, shortcuts,
// files as bytes, icon images read back with GDI, and the pixels a stored bitmap must hold.
#ifndef NPDESKLAUNCH_TESTS_WIN_ICONS_ICON_TEST_SUPPORT_H
#define NPDESKLAUNCH_TESTS_WIN_ICONS_ICON_TEST_SUPPORT_H

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "icon_patterns.h"

namespace icons {

typedef std::vector<uint8_t> Bytes;

// The program beside the test program whose first icon is `name`'s ("alpha", "classic", ...,
// "none" for the one without icons).
std::wstring Carrier(const std::wstring& name);

// The system folder's shell32.dll.
std::wstring Shell32Path();

// A new empty folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

// Saves a shell link to `target`; with `iconLocation` not empty, with that icon setting.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::wstring& iconLocation, int iIcon);

// An icon's colour and mask images as 32-bit pixels, top row first, read back with GetDIBits
// (the colour image is empty for a monochrome icon).
struct IconImage {
    int nWidth = 0;
    int nHeight = 0;
    Bytes color;
    Bytes mask;
};
IconImage ReadIconImage(HICON hIcon);

// The description of a 32-bit bitmap of `nWidth` x `nHeight`, as GetObjectW gives it.
BITMAP Describe32(int nWidth, int nHeight);

// A bitmap's 32-bit pixels, top row first, read back with GetDIBits.
Bytes ReadBitmapPixels(HBITMAP hBitmap, int nWidth, int nHeight);

// What a 32x32 stored bitmap holds at (x, y), y from the top, for an icon made of `kind`
// (images of other sizes reach 32x32 by scaling): blue, green, red, alpha.
struct Bgra {
    uint8_t b, g, r, a;
};
Bgra ExpectedStoredPixel(IconKind kind, int x, int y);

// The 4150 bytes of a stored 32x32 bitmap: headers, then rows bottom row first.
Bytes ExpectedBitmapFile(IconKind kind);

// Describes the first difference of two byte strings as offset, pixel and values, or "".
std::string FirstDifference(const Bytes& expected, const Bytes& got, size_t nHeaderBytes,
                            int nWidth);

} // namespace icons

#endif
