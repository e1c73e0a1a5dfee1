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
                               const std::vector<WideString>& vecAccessory, IconStore& store) {
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
    }
    return wstrAccesoryApps;
}

WideString BuildHistoryBlock(const WideString& wstrImagesFolder,
                             const std::vector<AppEntry>& vecAllApps,
                             const std::vector<WideString>& vecAccessory,
                             AccessoryDuplicateTest isAccessoryDuplicate, IconStore& store) {
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
        AppendEntryText(wstrCommonApps, TextBeforeZero(AD.wszExePath, kPathCapacity),
                        TextBeforeZero(AD.wszAppName, kPathCapacity));
        --nSlots;
    }
    return wstrCommonApps;
}
