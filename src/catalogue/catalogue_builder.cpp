// Catalogue builders: the images folder, the accessories and the family's usage history, joined
// into the text RecentlyApplications returns, with every listed program's icon stored.
#include "catalogue/catalogue_builder.h"

#include <vector>

#include "catalogue/accessory_apps.h"
#include "catalogue/catalogue_assembly.h"
#include "catalogue/result_text.h"
#include "catalogue/usage_history.h"
#include "icons/bitmap_file.h"

namespace {

class BitmapIconStore : public IconStore {
  public:
    bool SaveAppIcon(const WideString& wstrAppPath, WideString wstrImagesFolder) override {
        return ::SaveAppIcon(wstrAppPath, wstrImagesFolder);
    }
};

typedef void (*UsageHistoryReader)(std::vector<AppEntry>& vecAllApps);

int BuildRecentApplications(WideString& wstrResult, UsageHistoryReader readHistory,
                            AccessoryDuplicateTest isAccessoryDuplicate) {
    WideChar wszAppFolder[kPathCapacity] = {0};
    GetImagesFolder(wszAppFolder);
    const WideString wstrImagesFolder = TextBeforeZero(wszAppFolder, kPathCapacity);

    std::vector<WideString> vecAccessory;
    GetAccessoryApps(vecAccessory);
    BitmapIconStore store;
    const WideString wstrAccesoryApps = BuildAccessoryBlock(wstrImagesFolder, vecAccessory, store);

    std::vector<AppEntry> vecAllApps;
    readHistory(vecAllApps);
    SortByRunCount(vecAllApps);
    const WideString wstrCommonApps =
        BuildHistoryBlock(wstrImagesFolder, vecAllApps, vecAccessory, isAccessoryDuplicate, store);
    return static_cast<int>(JoinResultText(wstrResult, wstrAccesoryApps, wstrCommonApps));
}

} // namespace

int BuildRecentApplicationsNt6(WideString& wstrResult) {
    return BuildRecentApplications(wstrResult, ReadUserAssistNt6, IsAccessoryDuplicateNt6);
}

int BuildRecentApplicationsNt5(WideString& wstrResult) {
    return BuildRecentApplications(wstrResult, ReadUserAssistNt5, IsAccessoryDuplicateNt5);
}
