// Prints how long the NT 6 reader takes over histories of growing size: existing programs,
// shortcuts to them and missing files in equal shares. Figures only; nothing is asserted.
#include <shlobj.h>

#include <stdio.h>

#include "catalogue/user_assist.h"
#include "catalogue/user_assist.h"
#include "system_fixture.h"

namespace {

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void Measure(size_t nValues) {
    catalogue_test::ScratchFolder root(catalogue_test::SpecialFolder(CSIDL_COMMON_APPDATA),
                                       L"bench");
    catalogue_test::RegistryKeyWriter count(HKEY_CURRENT_USER, UserAssistKeyPath(UsageFamilyNt6));
    for (size_t i = 0; i < nValues; ++i) {
        const std::wstring name = L"p" + std::to_wstring(i);
        std::wstring path;
        switch (i % 3) {
        case 0:
            path = root.AddFile(L"bin\\" + name + L".exe");
            break;
        case 1:
            path = root.AddShortcut(L"menu\\" + name + L".lnk",
                                    root.AddFile(L"app\\" + name + L".exe"));
            break;
        default:
            path = root.Path() + L"\\gone\\" + name + L".exe";
            break;
        }
        count.SetBinary(DecodeRot13(path),
                        catalogue_test::Nt6Data(static_cast<uint32_t>(i % 50), 0));
    }
    const int nRounds = 5;
    size_t nRecords = 0;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    for (int round = 0; round < nRounds; ++round) {
        std::vector<AppEntry> vecAllApps;
        ReadUserAssist(UsageFamilyNt6, vecAllApps, NULL);
        SortByRunCount(vecAllApps);
        nRecords = vecAllApps.size();
    }
    QueryPerformanceCounter(&end);
    const double dRead = Seconds(start, end) / nRounds;
    printf("%4u values -> %4u records: %8.2f ms per read and sort, %6.3f ms per value\n",
           static_cast<unsigned>(nValues), static_cast<unsigned>(nRecords), dRead * 1000,
           dRead * 1000 / static_cast<double>(nValues));
}

} // namespace

int main() {
    const size_t sizes[] = {30, 150, 600};
    for (size_t nValues : sizes) {
        Measure(nValues);
    }
    return 0;
}
