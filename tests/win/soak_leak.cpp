// Built only into npDesklaunch_leaky.dll, a test copy of the module that is never shipped: each
// icon it stores leaks an icon, a device context, a 256 x 256 bitmap and a kernel handle, so that
// the soak tests can show that their counters catch each kind. The linker routes the module's
// calls of SaveAppIcon (whose symbol NPD_LEAK_SYMBOL names) here.
#include <windows.h>

#include <utility>

#include "icons/bitmap_file.h"

#define NPD_JOIN(a, b) NPD_JOIN_TOKENS(a, b)
#define NPD_JOIN_TOKENS(a, b) a##b

extern "C" bool NPD_JOIN(__real_, NPD_LEAK_SYMBOL)(const WideString& wstrAppPath,
                                                   WideString wstrImagesFolder);

extern "C" bool NPD_JOIN(__wrap_, NPD_LEAK_SYMBOL)(const WideString& wstrAppPath,
                                                   WideString wstrImagesFolder) {
    CopyIcon(LoadIconW(NULL, IDI_APPLICATION));
    CreateCompatibleDC(NULL);
    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 256;
    info.bmiHeader.biHeight = 256;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    CreateEventW(NULL, TRUE, FALSE, NULL);
    return NPD_JOIN(__real_, NPD_LEAK_SYMBOL)(wstrAppPath, std::move(wstrImagesFolder));
}
