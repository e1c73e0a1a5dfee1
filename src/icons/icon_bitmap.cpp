// Icon to 32-bit bitmap: the icon's image and mask copied onto white, then the alpha pass.
#include "icons/icon_bitmap.h"

#include <string.h>

#include "common/unique_resource.h"
#include "icons/bitmap_pixels.h"

namespace {

const COLORREF kWhite = 0x00FFFFFF;

void FillOpaque(HDC hdc, int nWidth, int nHeight, COLORREF color) {
    RECT rect = {0, 0, nWidth, nHeight};
    const COLORREF previous = ::SetBkColor(hdc, color);
    ::ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rect, NULL, 0, NULL);
    ::SetBkColor(hdc, previous);
}

// Fills `nWidth` x `nHeight` of `hbmTarget` with white and copies onto it, unscaled, `nCopyRows`
// rows of `hbmSource` from (0, ySource) on. A monochrome source gives white for set bits, black
// for clear ones.
bool CopyOntoWhite(HDC hdcDraw, HBITMAP hbmTarget, HDC hdcImage, HBITMAP hbmSource, int ySource,
                   int nCopyRows, int nWidth, int nHeight) {
    ScopedSelection target(hdcDraw, hbmTarget);
    ScopedSelection source(hdcImage, hbmSource);
    if (!target.succeeded() || !source.succeeded()) {
        return false;
    }
    FillOpaque(hdcDraw, nWidth, nHeight, kWhite);
    return ::BitBlt(hdcDraw, 0, 0, nWidth, nCopyRows, hdcImage, 0, ySource, SRCCOPY) != FALSE;
}

} // namespace

HBITMAP CreateBitmap32(int nWidth, int nHeight, void** ppBits) {
    *ppBits = NULL;
    if (nWidth < 1 || nHeight < 1) {
        return NULL;
    }
    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof(bmi));
    BITMAPINFOHEADER& bmih = bmi.bmiHeader;
    bmih.biSize = sizeof(BITMAPINFOHEADER);
    bmih.biWidth = nWidth;
    bmih.biHeight = nHeight;
    bmih.biPlanes = 1;
    bmih.biBitCount = 32;
    bmih.biCompression = BI_RGB;
    return ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, ppBits, NULL, 0);
}

HBITMAP IconToBitmap(HICON hIcon, int nWidth, int nHeight) {
    if (hIcon == NULL || nWidth > kMaxIconSide || nHeight > kMaxIconSide) {
        return NULL;
    }
    ICONINFO iconinf;
    memset(&iconinf, 0, sizeof(iconinf));
    if (!::GetIconInfo(hIcon, &iconinf)) {
        return NULL;
    }
    const UniqueBitmap iconColor(iconinf.hbmColor);
    const UniqueBitmap iconMask(iconinf.hbmMask);
    if (!iconMask) {
        return NULL;
    }
    // A monochrome icon has no colour bitmap: its mask bitmap holds the mask with the image
    // below it, each of the icon's height.
    const bool bMonochrome = !iconColor;
    int yImage = 0;
    int nCopyRows = nHeight;
    if (bMonochrome || nWidth < 1 || nHeight < 1) {
        BITMAP bmIcon;
        memset(&bmIcon, 0, sizeof(bmIcon));
        const HBITMAP hbmSized = bMonochrome ? iconMask.get() : iconColor.get();
        if (::GetObjectW(hbmSized, sizeof(bmIcon), &bmIcon) != static_cast<int>(sizeof(bmIcon))) {
            return NULL;
        }
        const int nIconHeight = bMonochrome ? bmIcon.bmHeight / 2 : bmIcon.bmHeight;
        yImage = bMonochrome ? nIconHeight : 0;
        if (nWidth < 1) {
            nWidth = bmIcon.bmWidth;
        }
        if (nHeight < 1) {
            nHeight = nIconHeight;
        }
        // The two halves of a monochrome icon must not run into each other.
        nCopyRows = bMonochrome && nIconHeight < nHeight ? nIconHeight : nHeight;
        if (nWidth < 1 || nHeight < 1 || nWidth > kMaxIconSide || nHeight > kMaxIconSide) {
            return NULL;
        }
    }

    void* pBitsColor = NULL;
    void* pBitsMask = NULL;
    UniqueBitmap bmColor(CreateBitmap32(nWidth, nHeight, &pBitsColor));
    const UniqueBitmap bmMask(CreateBitmap32(nWidth, nHeight, &pBitsMask));
    if (!bmColor || !bmMask) {
        return NULL;
    }
    const UniqueWindowDc dcWnd(::GetDesktopWindow(), UniqueWindowDc::kWholeWindow);
    if (!dcWnd) {
        return NULL;
    }
    const UniqueMemoryDc dcDraw(::CreateCompatibleDC(dcWnd.get()));
    const UniqueMemoryDc ImgDC(::CreateCompatibleDC(dcWnd.get()));
    if (!dcDraw || !ImgDC) {
        return NULL;
    }
    const HBITMAP hbmImage = bMonochrome ? iconMask.get() : iconColor.get();
    if (!CopyOntoWhite(dcDraw.get(), bmColor.get(), ImgDC.get(), hbmImage, yImage, nCopyRows,
                       nWidth, nHeight) ||
        !CopyOntoWhite(dcDraw.get(), bmMask.get(), ImgDC.get(), iconMask.get(), 0, nCopyRows,
                       nWidth, nHeight)) {
        return NULL;
    }
    ::GdiFlush();
    ApplyMaskAlpha(static_cast<unsigned char*>(pBitsColor),
                   static_cast<const unsigned char*>(pBitsMask),
                   static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight));
    return bmColor.release();
}
