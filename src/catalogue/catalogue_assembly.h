// The two blocks of the catalogue text: the accessories, then the most used programs of the
// sorted usage history, each listed program's icon stored on the way.
#ifndef NPDESKLAUNCH_CATALOGUE_CATALOGUE_ASSEMBLY_H
#define NPDESKLAUNCH_CATALOGUE_CATALOGUE_ASSEMBLY_H

#include <vector>

#include "catalogue/app_entry.h"
#include "common/wide_text.h"

// Most history entries one catalogue lists.
const int kHistorySlots = 20;

// Where icons go: stores the icon of `wstrAppPath` in `wstrImagesFolder`; true when stored.
class IconStore {
  public:
    virtual ~IconStore() {}
    [[nodiscard]] virtual bool SaveAppIcon(const WideString& wstrAppPath,
                                           WideString wstrImagesFolder) = 0;
};

// One entry of the text: the path and name it lists, and the file its icon was made from.
struct ListedApp {
    WideString wstrPath;
    WideString wstrName;
    WideString wstrIconPath;
};

// The family's test of a history record against the accessory paths.
typedef bool (*AccessoryDuplicateTest)(const AppEntry& ad,
                                       const std::vector<WideString>& vecAccessory);

// One entry per accessory path that holds a backslash, in list order, named from
// AccessoryDisplayNames by position; each icon is stored first and listed whatever the store
// answered. Accessories beyond the name table are left out. With `pvecListed`, each entry is
// appended to it as well (so are the history block's).
WideString BuildAccessoryBlock(const WideString& wstrImagesFolder,
                               const std::vector<WideString>& vecAccessory, IconStore& store,
                               std::vector<ListedApp>* pvecListed = NULL);

// Walks the sorted history until kHistorySlots entries are listed: a record that duplicates an
// accessory, whose icon path holds no backslash, or whose icon cannot be stored is skipped
// without using a slot. Without an images folder no icon can be stored, so nothing is listed.
WideString BuildHistoryBlock(const WideString& wstrImagesFolder,
                             const std::vector<AppEntry>& vecAllApps,
                             const std::vector<WideString>& vecAccessory,
                             AccessoryDuplicateTest isAccessoryDuplicate, IconStore& store,
                             std::vector<ListedApp>* pvecListed = NULL);

#endif
