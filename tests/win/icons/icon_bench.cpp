// Prints the median time of storing an application's icon: a plain executable, a shortcut, the
// Control Panel, and of writing a bitmap file alone. Run by tools/bench.sh (make bench).
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "icon_test_support.h"
#include "icons/bitmap_file.h"

namespace {

const int kWarmUps = 5;
const int kRuns = 200;

template <typename Work> double MedianMicroseconds(Work work, bool* pbAllSucceeded) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < kWarmUps; ++i) {
        work();
    }
    std::vector<double> times;
    *pbAllSucceeded = true;
    for (int i = 0; i < kRuns; ++i) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        const bool bSucceeded = work();
        ::QueryPerformanceCounter(&end);
        *pbAllSucceeded = *pbAllSucceeded && bSucceeded;
        times.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Report(const char* what, double microseconds, bool bAllSucceeded) {
    printf("%-52s median %8.1f us over %d runs%s\n", what, microseconds, kRuns,
           bAllSucceeded ? "" : "  (SOME RUNS FAILED)");
}

} // namespace

int main() {
    wchar_t system[MAX_PATH] = {0};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring notepad = std::wstring(system) + L"\\notepad.exe";
    const std::wstring control = std::wstring(system) + L"\\control.exe";
    icons::ScratchFolder scratch;
    const std::wstring images = scratch / L"images";
    const std::wstring link = scratch / L"Notepad.lnk";
    if (!icons::CreateShortcut(link, notepad, L"", 0)) {
        fprintf(stderr, "cannot create the shortcut\n");
        return 1;
    }

    bool bOk = false;
    double t = MedianMicroseconds([&] { return SaveAppIcon(notepad, images); }, &bOk);
    Report("SaveAppIcon, plain executable (notepad.exe)", t, bOk);
    t = MedianMicroseconds([&] { return SaveAppIcon(link, images); }, &bOk);
    Report("SaveAppIcon, shortcut (Notepad.lnk to notepad.exe)", t, bOk);
    t = MedianMicroseconds([&] { return SaveAppIcon(control, images); }, &bOk);
    Report("SaveAppIcon, Control Panel (control.exe)", t, bOk);

    std::vector<BYTE> pixels(32 * 32 * 4, 0x80);
    const BITMAP bm = icons::Describe32(32, 32);
    t = MedianMicroseconds([&] { return WriteBitmapFile(images, L"bench", pixels.data(), bm); },
                           &bOk);
    Report("WriteBitmapFile alone (32x32, 4150 bytes)", t, bOk);
    return 0;
}
