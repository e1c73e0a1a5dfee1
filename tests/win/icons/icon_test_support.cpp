// Helpers of the icon cache's Windows tests.
#include "icon_test_support.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <stdio.h>
#include <string.h>

#include "common/unique_resource.h"
#include "nphost/browser.h"
#include "nphost/usage_history_seed.h"

namespace icons {

std::wstring Carrier(const std::wstring& name) {
    return nphost::BesideExecutable(L"icon_carrier_" + name + L".exe");
}

std::wstring Shell32Path() {
    wchar_t system[MAX_PATH] = {0};
    ::GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\shell32.dll";
}

ScratchFolder::ScratchFolder() {
    static LONG nCount = 0;
    wchar_t temp[MAX_PATH] = {0};
    ::GetTempPathW(MAX_PATH, temp);
    wchar_t name[64];
    swprintf(name, 64, L"npd_icons_%lu_%ld", ::GetCurrentProcessId(),
             ::InterlockedIncrement(&nCount));
    path_ = std::wstring(temp) + name;
    ::CreateDirectoryW(path_.c_str(), NULL);
}

ScratchFolder::~ScratchFolder() {
    nphost::RemoveTree(path_);
}

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::wstring& iconLocation, int iIcon) {
    ::CoInitialize(NULL);
    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link.put_void()))) {
        return false;
    }
    bool ok = SUCCEEDED(link->SetPath(target.c_str()));
    if (ok && !iconLocation.empty()) {
        ok = SUCCEEDED(link->SetIconLocation(iconLocation.c_str(), iIcon));
    }
    ComPtr<IPersistFile> file;
    if (ok && SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put_void()))) {
        ok = SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
    } else {
        ok = false;
    }
    return ok;
}

BITMAP Describe32(int nWidth, int nHeight) {
    BITMAP bm;
    memset(&bm, 0, sizeof(bm));
    bm.bmWidth = nWidth;
    bm.bmHeight = nHeight;
    bm.bmWidthBytes = nWidth * 4;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = 32;
    return bm;
}

Bytes ReadBitmapPixels(HBITMAP hBitmap, int nWidth, int nHeight) {
    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight; // top row first
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    Bytes pixels(static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight) * 4);
    HDC hdc = ::GetDC(NULL);
    const int nRows = ::GetDIBits(hdc, hBitmap, 0, static_cast<UINT>(nHeight), pixels.data(), &bmi,
                                  DIB_RGB_COLORS);
    ::ReleaseDC(NULL, hdc);
    if (nRows != nHeight) {
        pixels.clear();
    }
    return pixels;
}

IconImage ReadIconImage(HICON hIcon) {
    IconImage image;
    ICONINFO info;
    memset(&info, 0, sizeof(info));
    if (!::GetIconInfo(hIcon, &info)) {
        return image;
    }
    BITMAP bm;
    memset(&bm, 0, sizeof(bm));
    ::GetObjectW(info.hbmMask, sizeof(bm), &bm);
    image.nWidth = bm.bmWidth;
    image.nHeight = info.hbmColor != NULL ? bm.bmHeight : bm.bmHeight / 2;
    image.mask = ReadBitmapPixels(info.hbmMask, bm.bmWidth, bm.bmHeight);
    if (info.hbmColor != NULL) {
        image.color = ReadBitmapPixels(info.hbmColor, image.nWidth, image.nHeight);
        ::DeleteObject(info.hbmColor);
    }
    ::DeleteObject(info.hbmMask);
    return image;
}

namespace {

// The source pixel that a 32x32 rendering of `kind` shows at (x, y).
IconPixel SourcePixel(IconKind kind, int x, int y) {
    const int side = SideOf(kind);
    return PixelOf(kind, x * side / 32, y * side / 32);
}

} // namespace

Bgra ExpectedStoredPixel(IconKind kind, int x, int y) {
    const IconPixel source = SourcePixel(kind, x, y);
    Bgra pixel = {source.b, source.g, source.r, 255};
    if (source.bMask) {
        pixel.a = 0; // transparent, whatever the icon's own alpha said
    } else if (BitsOf(kind) == 32 && source.a != 0) {
        pixel.a = source.a; // the icon's own alpha
    }
    if (pixel.b == 0 && pixel.g == 0 && pixel.r == 0 && pixel.a == 0) {
        pixel = Bgra{255, 255, 255, 255}; // white background
    }
    return pixel;
}

Bytes ExpectedBitmapFile(IconKind kind) {
    Bytes bytes = {
        'B',  'M',  0x36, 0x10, 0, 0,       // bfType, bfSize 4150
        0,    0,    0,    0,                // bfReserved1, bfReserved2
        54,   0,    0,    0,                // bfOffBits
        40,   0,    0,    0,                // biSize
        32,   0,    0,    0,                // biWidth
        32,   0,    0,    0,                // biHeight
        1,    0,    32,   0,                // biPlanes, biBitCount
        0,    0,    0,    0,                // biCompression
        0x00, 0x10, 0,    0,                // biSizeImage 4096
        0,    0,    0,    0,    0, 0, 0, 0, // biXPelsPerMeter, biYPelsPerMeter
        0,    0,    0,    0,    0, 0, 0, 0, // biClrUsed, biClrImportant
    };
    for (int y = 31; y >= 0; --y) {
        for (int x = 0; x < 32; ++x) {
            const Bgra pixel = ExpectedStoredPixel(kind, x, y);
            bytes.insert(bytes.end(), {pixel.b, pixel.g, pixel.r, pixel.a});
        }
    }
    return bytes;
}

std::string FirstDifference(const Bytes& expected, const Bytes& got, size_t nHeaderBytes,
                            int nWidth) {
    if (expected == got) {
        return "";
    }
    char text[200];
    if (expected.size() != got.size()) {
        snprintf(text, sizeof(text), "expected %u bytes, got %u",
                 static_cast<unsigned>(expected.size()), static_cast<unsigned>(got.size()));
        return text;
    }
    size_t i = 0;
    while (expected[i] == got[i]) {
        ++i;
    }
    if (i < nHeaderBytes) {
        snprintf(text, sizeof(text), "header byte %u: expected %u, got %u",
                 static_cast<unsigned>(i), expected[i], got[i]);
        return text;
    }
    const size_t pixel = (i - nHeaderBytes) / 4;
    const size_t at = nHeaderBytes + pixel * 4;
    snprintf(text, sizeof(text),
             "pixel %u (column %u, stored row %u): expected b,g,r,a %u,%u,%u,%u, got %u,%u,%u,%u",
             static_cast<unsigned>(pixel), static_cast<unsigned>(pixel % nWidth),
             static_cast<unsigned>(pixel / nWidth), expected[at], expected[at + 1],
             expected[at + 2], expected[at + 3], got[at], got[at + 1], got[at + 2], got[at + 3]);
    return text;
}

} // namespace icons
