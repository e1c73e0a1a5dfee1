// What this process holds, counted the ways that tell the truth under Wine 8 as on Windows.
//
// Wine 8 answers 0 to GetGuiResources and to GetProcessHandleCount, and leaves PrivateUsage of
// GetProcessMemoryInfo unwritten; so the counters are taken where the system keeps them:
// - GDI objects: the GDI handle table that the process environment block points to (Wine keeps
//   it in the layout of 64-bit Windows on both architectures: 24-byte entries whose upper handle
//   word and type sit at bytes 12 and 14), each live entry confirmed by GetObjectType;
// - USER objects: user handle values probed with a zero upper word, which names whatever
//   object holds that slot, as an icon or cursor (GetIconInfo) or a menu (IsMenu); and the
//   process's windows, top-level, message-only and children;
// - kernel handles: every handle value probed with GetHandleInformation, up to a long run of
//   unused values (both systems hand out the lowest free value first);
// - private bytes: the committed private regions of the address space (VirtualQuery).
#include "host/resource_counters.h"

#include <winternl.h>

#include <stddef.h>
#include <stdio.h>

#include <set>

namespace nphost {

namespace {

// The process environment block up to the pointer to the GDI handle table.
struct PebPrefix {
    BYTE flags[4];
    HANDLE hMutant;
    HMODULE hImage;
    void* pLoaderData;
    void* pParameters;
    void* pSubsystemData;
    HANDLE hProcessHeap;
    void* pPebLock;
    void* pReserved1[2];
    ULONG nEnvironmentUpdates;
    void* pKernelCallbacks;
    ULONG nReserved2[2];
    void* pFreeList;
    ULONG nTlsExpansion;
    void* pTlsBitmap;
    ULONG nTlsBits[2];
    void* pReadOnlyShared[3];
    void* pCodePages[3];
    ULONG nProcessors;
    ULONG nGlobalFlag;
    LARGE_INTEGER criticalSectionTimeout;
    SIZE_T nHeapSizes[4];
    ULONG nHeaps;
    ULONG nMaxHeaps;
    void* pHeaps;
    const BYTE* pGdiSharedHandleTable;
};
static_assert(offsetof(PebPrefix, pGdiSharedHandleTable) == (sizeof(void*) == 8 ? 0xF8 : 0x94),
              "the GDI table pointer lies where the system keeps it");

const size_t kGdiTableEntries = 0x10000;
const size_t kGdiEntrySize = 24;
const size_t kGdiUpperOffset = 12;
const size_t kGdiTypeOffset = 14;

const BYTE* GdiHandleTable() {
    PROCESS_BASIC_INFORMATION info;
    ZeroMemory(&info, sizeof(info));
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info),
                                  NULL) != 0 ||
        !info.PebBaseAddress) {
        return nullptr;
    }
    return reinterpret_cast<const PebPrefix*>(info.PebBaseAddress)->pGdiSharedHandleTable;
}

void CountGdiObjects(ResourceCounters& counters) {
    const BYTE* pTable = GdiHandleTable();
    if (!pTable) {
        return;
    }
    for (size_t i = 1; i < kGdiTableEntries; ++i) {
        const BYTE* pEntry = pTable + i * kGdiEntrySize;
        if (pEntry[kGdiTypeOffset] == 0) {
            continue;
        }
        const WORD wUpper = *reinterpret_cast<const WORD*>(pEntry + kGdiUpperOffset);
        const HGDIOBJ hObject = reinterpret_cast<HGDIOBJ>(
            static_cast<ULONG_PTR>(i | (static_cast<ULONG>(wUpper) << 16)));
        const DWORD dwType = GetObjectType(hObject);
        if (dwType == 0) {
            continue;
        }
        ++counters.nGdiObjects;
        if (dwType == OBJ_DC || dwType == OBJ_MEMDC) {
            ++counters.nDcs;
        } else if (dwType == OBJ_BITMAP) {
            ++counters.nBitmaps;
        }
    }
}

void CountUserHandles(const std::set<ULONG_PTR>& windowValues, ResourceCounters& counters) {
    // Wine numbers user handles from 0x20 in steps of two (the odd value names the same one) and
    // reuses freed ones first: the probe ends after a long run of values that hold nothing of
    // this process's (its windows are known by their values).
    const ULONG_PTR nUnusedRun = 4096;
    ULONG_PTR nLastUsed = 0x20;
    for (ULONG_PTR nValue = 0x20; nValue <= 0xFFFF && nValue - nLastUsed <= nUnusedRun;
         nValue += 2) {
        ICONINFO info;
        if (GetIconInfo(reinterpret_cast<HICON>(nValue), &info)) {
            ++counters.nIcons;
            DeleteObject(info.hbmMask);
            if (info.hbmColor) {
                DeleteObject(info.hbmColor);
            }
        } else if (IsMenu(reinterpret_cast<HMENU>(nValue))) {
            ++counters.nUserObjects;
        } else if (!windowValues.count(nValue)) {
            continue;
        }
        nLastUsed = nValue;
    }
}

BOOL CALLBACK AddChildWindow(HWND hWnd, LPARAM lParam) {
    reinterpret_cast<std::set<ULONG_PTR>*>(lParam)->insert(reinterpret_cast<ULONG_PTR>(hWnd) &
                                                           0xFFFF);
    return TRUE;
}

// The low words of this process's windows under `hParent`: top-level ones and their children.
void AddWindowsUnder(HWND hParent, std::set<ULONG_PTR>& values) {
    const DWORD dwProcess = GetCurrentProcessId();
    for (HWND hWnd = FindWindowExW(hParent, NULL, NULL, NULL); hWnd;
         hWnd = FindWindowExW(hParent, hWnd, NULL, NULL)) {
        DWORD dwOwner = 0;
        GetWindowThreadProcessId(hWnd, &dwOwner);
        if (dwOwner != dwProcess) {
            continue;
        }
        AddChildWindow(hWnd, reinterpret_cast<LPARAM>(&values));
        EnumChildWindows(hWnd, AddChildWindow, reinterpret_cast<LPARAM>(&values));
    }
}

long long CountKernelHandles() {
    const ULONG_PTR nStep = 4;
    const ULONG_PTR nUnusedRun = 1024; // values in a row without a handle that end the probe
    long long nHandles = 0;
    ULONG_PTR nLastUsed = 0;
    for (ULONG_PTR nValue = nStep; nValue - nLastUsed <= nUnusedRun * nStep; nValue += nStep) {
        DWORD dwFlags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(nValue), &dwFlags)) {
            ++nHandles;
            nLastUsed = nValue;
        }
    }
    return nHandles;
}

long long CountPrivateBytes() {
    long long nBytes = 0;
    const BYTE* pAddress = nullptr;
    MEMORY_BASIC_INFORMATION info;
    while (VirtualQuery(pAddress, &info, sizeof(info)) == sizeof(info)) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) {
            nBytes += static_cast<long long>(info.RegionSize);
        }
        const BYTE* pNext = static_cast<const BYTE*>(info.BaseAddress) + info.RegionSize;
        if (pNext <= pAddress) {
            break;
        }
        pAddress = pNext;
    }
    return nBytes;
}

} // namespace

ResourceCounters ReadResourceCounters() {
    ResourceCounters counters;
    CountGdiObjects(counters);
    std::set<ULONG_PTR> windowValues;
    AddWindowsUnder(NULL, windowValues);
    AddWindowsUnder(HWND_MESSAGE, windowValues);
    counters.nWindows = static_cast<long long>(windowValues.size());
    CountUserHandles(windowValues, counters);
    counters.nUserObjects += counters.nIcons + counters.nWindows;
    counters.nHandles = CountKernelHandles();
    counters.nPrivateBytes = CountPrivateBytes();
    counters.nGuiResourcesGdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counters.nGuiResourcesUser = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    return counters;
}

std::string Describe(const ResourceCounters& counters) {
    char text[400];
    snprintf(
        text, sizeof(text),
        "GDI objects %lld (DCs %lld, bitmaps %lld), USER objects %lld (icons %lld, windows "
        "%lld), kernel handles %lld, private bytes %lld (GetGuiResources: GDI %lld, USER %lld)",
        counters.nGdiObjects, counters.nDcs, counters.nBitmaps, counters.nUserObjects,
        counters.nIcons, counters.nWindows, counters.nHandles, counters.nPrivateBytes,
        counters.nGuiResourcesGdi, counters.nGuiResourcesUser);
    return text;
}

FlatnessMargins GrowthPer(const ResourceCounters& before, const ResourceCounters& after,
                          int nSteps) {
    auto per = [nSteps](long long nBefore, long long nAfter) {
        return nAfter <= nBefore || nSteps < 1 ? 0 : (nAfter - nBefore + nSteps - 1) / nSteps;
    };
    return {per(before.nGdiObjects, after.nGdiObjects),
            per(before.nUserObjects, after.nUserObjects), per(before.nHandles, after.nHandles),
            per(before.nPrivateBytes, after.nPrivateBytes)};
}

std::vector<std::string> GrowthBeyond(const ResourceCounters& before, const ResourceCounters& after,
                                      const FlatnessMargins& margins) {
    struct Counter {
        const char* name;
        long long nBefore;
        long long nAfter;
        long long nMargin;
    };
    const Counter counters[] = {
        {"GDI objects", before.nGdiObjects, after.nGdiObjects, margins.nGdiObjects},
        {"USER objects", before.nUserObjects, after.nUserObjects, margins.nUserObjects},
        {"kernel handles", before.nHandles, after.nHandles, margins.nHandles},
        {"private bytes", before.nPrivateBytes, after.nPrivateBytes, margins.nPrivateBytes},
    };
    std::vector<std::string> grown;
    for (const Counter& counter : counters) {
        if (counter.nAfter - counter.nBefore > counter.nMargin) {
            char text[160];
            snprintf(text, sizeof(text), "%s grew from %lld to %lld (margin %lld)", counter.name,
                     counter.nBefore, counter.nAfter, counter.nMargin);
            grown.push_back(text);
        }
    }
    return grown;
}

} // namespace nphost
