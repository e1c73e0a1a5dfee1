// The check of LaunchCatalogueOnly and the paths picked in this process.
#include "app/launch_policy.h"

#include <vector>

#include "app/admin_policy.h"
#include "app/policy_rules.h"
#include "app/recent_applications.h"
#include "app/run_application.h"
#include "catalogue/user_assist.h"
#include "common/unique_resource.h"

namespace {

// The paths picks returned; the picker threads add, the plug-in thread reads.
class PickedPaths {
  public:
    PickedPaths() {}
    PickedPaths(const PickedPaths&) = delete;
    PickedPaths& operator=(const PickedPaths&) = delete;

    void Add(const WideString& wstrPath) {
        ScopedLock lock(lock_);
        if (!IsListedPath(paths_, wstrPath)) {
            paths_.push_back(wstrPath);
        }
    }
    void AppendTo(std::vector<WideString>& vecPaths) {
        ScopedLock lock(lock_);
        vecPaths.insert(vecPaths.end(), paths_.begin(), paths_.end());
    }

  private:
    CriticalSection lock_;
    std::vector<WideString> paths_;
};

PickedPaths g_picked;

} // namespace

void RememberPickedPath(const WideString& wstrPath) {
    if (!wstrPath.empty()) {
        g_picked.Add(wstrPath);
    }
}

bool LaunchPermittedByPolicy(OsFamily family, const WideString& wstrApplication,
                             IconKeeping keeping) {
    if (!ReadLaunchCatalogueOnly()) {
        return true;
    }
    std::vector<CatalogueEntry> vecEntries;
    // Only the paths are wanted; the text is the page's business when it asks.
    static_cast<void>(RecentApplications(family, keeping, &vecEntries));
    std::vector<WideString> vecListed;
    for (size_t i = 0; i < vecEntries.size(); ++i) {
        vecListed.push_back(vecEntries[i].wstrPath);
    }
    g_picked.AppendTo(vecListed);
    const WideString wstrPath = DrivePathOf(wstrApplication);
    if (!wstrPath.empty()) {
        return IsListedPath(vecListed, wstrPath);
    }
    std::vector<AppEntry> vecApps;
    ReadUserAssist(UsageFamilyOf(family), vecApps, NULL);
    return NamedRecordsAreListed(vecApps, wstrApplication, vecListed);
}
