// The catalogue: the images folder, the accessories and the family's usage history, joined into
// one text, with every listed program's icon stored.
#include "app/recent_applications.h"

#include <vector>

#include "catalogue/accessory_apps.h"
#include "catalogue/catalogue_assembly.h"
#include "catalogue/result_text.h"
#include "catalogue/user_assist.h"
#include "icons/bitmap_file.h"
#include "icons/images_folder.h"

namespace {

class BitmapIconStore : public IconStore {
  public:
    bool SaveAppIcon(const WideString& wstrAppPath, WideString wstrImagesFolder) override {
        return ::SaveAppIcon(wstrAppPath, wstrImagesFolder);
    }
};

} // namespace

WideString RecentApplications(OsFamily family, std::vector<WideString>* pvecPaths) {
    // Without the folder no icon can be stored: the accessories are listed all the same.
    WideChar wszAppFolder[kPathCapacity] = {0};
    static_cast<void>(GetImagesFolder(wszAppFolder));
    const WideString wstrImagesFolder = TextBeforeZero(wszAppFolder, kPathCapacity);

    // Without a system folder there are no accessories to list or to compare with.
    std::vector<WideString> vecAccessory;
    static_cast<void>(GetAccessoryApps(vecAccessory));
    BitmapIconStore store;
    const WideString wstrAccesoryApps =
        BuildAccessoryBlock(wstrImagesFolder, vecAccessory, store, pvecPaths);

    const UsageFamily usage = UsageFamilyOf(family);
    std::vector<AppEntry> vecAllApps;
    ReadUserAssist(usage, vecAllApps, NULL);
    SortByRunCount(vecAllApps);
    const WideString wstrCommonApps = BuildHistoryBlock(
        wstrImagesFolder, vecAllApps, vecAccessory,
        usage == UsageFamilyNt5 ? IsAccessoryDuplicateNt5 : IsAccessoryDuplicateNt6, store,
        pvecPaths);
    WideString wstrResult;
    JoinResultText(wstrResult, wstrAccesoryApps, wstrCommonApps);
    return wstrResult;
}
