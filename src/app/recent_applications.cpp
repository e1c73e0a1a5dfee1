// The catalogue: the images folder, the accessories and the family's usage history, joined into
// one text, with every listed program's icon stored or kept on the way.
#include "app/recent_applications.h"

#include <map>
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

// Keeps each icon's file in memory under the path it was made from; the folder is only the
// name the rules go by.
class MemoryIconStore : public IconStore {
  public:
    bool SaveAppIcon(const WideString& wstrAppPath, WideString) override {
        std::vector<unsigned char> vecFile;
        if (!RenderAppIconFile(wstrAppPath, vecFile)) {
            return false;
        }
        mapIcons_[wstrAppPath].swap(vecFile);
        return true;
    }

    std::vector<unsigned char> IconOf(const WideString& wstrAppPath) const {
        const std::map<WideString, std::vector<unsigned char>>::const_iterator it =
            mapIcons_.find(wstrAppPath);
        return it == mapIcons_.end() ? std::vector<unsigned char>() : it->second;
    }

  private:
    std::map<WideString, std::vector<unsigned char>> mapIcons_;
};

} // namespace

WideString RecentApplications(OsFamily family, IconKeeping keeping,
                              std::vector<CatalogueEntry>* pvecEntries) {
    // Without the folder no icon can be stored: the accessories are listed all the same.
    WideChar wszAppFolder[kPathCapacity] = {0};
    static_cast<void>(GetImagesFolder(wszAppFolder));
    const WideString wstrImagesFolder = TextBeforeZero(wszAppFolder, kPathCapacity);

    BitmapIconStore files;
    MemoryIconStore memory;
    IconStore& store = keeping == IconsKeptInMemory ? static_cast<IconStore&>(memory) : files;
    std::vector<ListedApp> vecListed;
    std::vector<ListedApp>* pvecListed = pvecEntries ? &vecListed : NULL;

    // Without a system folder there are no accessories to list or to compare with.
    std::vector<WideString> vecAccessory;
    static_cast<void>(GetAccessoryApps(vecAccessory));
    const WideString wstrAccesoryApps =
        BuildAccessoryBlock(wstrImagesFolder, vecAccessory, store, pvecListed);

    const UsageFamily usage = UsageFamilyOf(family);
    std::vector<AppEntry> vecAllApps;
    ReadUserAssist(usage, vecAllApps, NULL);
    SortByRunCount(vecAllApps);
    const WideString wstrCommonApps = BuildHistoryBlock(
        wstrImagesFolder, vecAllApps, vecAccessory,
        usage == UsageFamilyNt5 ? IsAccessoryDuplicateNt5 : IsAccessoryDuplicateNt6, store,
        pvecListed);
    WideString wstrResult;
    JoinResultText(wstrResult, wstrAccesoryApps, wstrCommonApps);
    for (size_t i = 0; pvecEntries && i < vecListed.size(); ++i) {
        const ListedApp& listed = vecListed[i];
        pvecEntries->push_back(
            CatalogueEntry{listed.wstrPath, listed.wstrName, memory.IconOf(listed.wstrIconPath)});
    }
    return wstrResult;
}
