// The accessory block and the history block of the catalogue text.
#include "catalogue/catalogue_assembly.h"

#include "catalogue/accessory_apps.h"
#include "catalogue/result_text.h"

namespace {

bool HasBackslash(const WideString& wstrPath) {
    return wstrPath.find(WIDE('\\')) != WideString::npos;
}

} // namespace

WideString BuildAccessoryBlock(const WideString& wstrImagesFolder,
                               const std::vector<WideString>& vecAccessory, IconStore& store,
                               std::vector<ListedApp>* pvecListed) {
    WideString wstrAccesoryApps;
    for (size_t k = 0; k < vecAccessory.size() && k < kAccessoryCount; ++k) {
        const WideString& wstrPath = vecAccessory[k];
        if (!HasBackslash(wstrPath)) {
            continue;
        }
        if (!wstrImagesFolder.empty()) {
            // An accessory is listed whether its icon was stored or not.
            static_cast<void>(store.SaveAppIcon(wstrPath, wstrImagesFolder));
        }
        AppendEntryText(wstrAccesoryApps, wstrPath, AccessoryDisplayNames[k]);
        if (pvecListed) {
            pvecListed->push_back(ListedApp{wstrPath, AccessoryDisplayNames[k], wstrPath});
        }
    }
    return wstrAccesoryApps;
}

WideString BuildHistoryBlock(const WideString& wstrImagesFolder,
                             const std::vector<AppEntry>& vecAllApps,
                             const std::vector<WideString>& vecAccessory,
                             AccessoryDuplicateTest isAccessoryDuplicate, IconStore& store,
                             std::vector<ListedApp>* pvecListed) {
    WideString wstrCommonApps;
    if (wstrImagesFolder.empty()) {
        return wstrCommonApps;
    }
    int nSlots = kHistorySlots;
    for (size_t i = 0; i < vecAllApps.size() && nSlots >= 1; ++i) {
        const AppEntry& AD = vecAllApps[i];
        if (isAccessoryDuplicate(AD, vecAccessory)) {
            continue;
        }
        const WideString wstrIconPath = TextBeforeZero(AD.wszIconPath, kPathCapacity);
        if (!HasBackslash(wstrIconPath)) {
            continue;
        }
        if (!store.SaveAppIcon(wstrIconPath, wstrImagesFolder)) {
            continue;
        }
        const WideString wstrExePath = TextBeforeZero(AD.wszExePath, kPathCapacity);
        const WideString wstrName = TextBeforeZero(AD.wszAppName, kPathCapacity);
        AppendEntryText(wstrCommonApps, wstrExePath, wstrName);
        if (pvecListed) {
            pvecListed->push_back(ListedApp{wstrExePath, wstrName, wstrIconPath});
        }
        --nSlots;
    }
    return wstrCommonApps;
}
