// The host's operations on this Windows.
#include "messaging_host/windows_operations.h"

#include <vector>

#include "app/admin_policy.h"
#include "app/pick_application.h"
#include "app/policy_rules.h"
#include "app/recent_applications.h"
#include "app/run_application.h"
#include "common/product_version.h"
#include "common/wide_text.h"
#include "messaging_host/data_url.h"
#include "messaging_host/open_outside_job.h"

namespace {

// The version of the messages the host speaks.
const int kProtocolVersion = 1;

HostEntry HostEntryOf(const WideString& wstrPath, const WideString& wstrName,
                      const std::vector<unsigned char>& vecIcon) {
    HostEntry entry;
    entry.path = Utf8FromWide(wstrPath);
    entry.name = Utf8FromWide(wstrName);
    if (!vecIcon.empty()) {
        entry.icon = DataUrl("image/bmp", vecIcon);
    }
    return entry;
}

} // namespace

WindowsOperations::WindowsOperations(HWND hParentWindow)
    : hParentWindow_(hParentWindow), family_(DetectOsFamily()), nPickerOpen_(0) {}

OriginStanding WindowsOperations::StandingOf(const std::string& origin) {
    // Read afresh for every request, as the plug-in does for every call.
    std::vector<WideString> vecAllowed;
    if (!ReadAllowedOrigins(vecAllowed)) {
        return OriginUnregulated;
    }
    return IsOriginAllowed(vecAllowed, WideFromUtf8(origin)) ? OriginListed : OriginRefused;
}

nlohmann::json WindowsOperations::Description() {
    OSVERSIONINFOW osvi;
    ZeroMemory(&osvi, sizeof(osvi));
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    std::string windows;
    if (GetVersionExW(&osvi)) {
        windows = std::to_string(osvi.dwMajorVersion) + "." + std::to_string(osvi.dwMinorVersion);
    }
    const char* rules = !IsServedOsFamily(family_)                 ? "none"
                        : UsageFamilyOf(family_) == UsageFamilyNt5 ? "NT 5"
                                                                   : "NT 6";
    return nlohmann::json{{"protocol", kProtocolVersion},
                          {"product", "npDesklaunch"},
                          {"version", NPD_VERSION_TEXT_DOTTED},
                          {"windows", windows},
                          {"rules", rules}};
}

std::vector<HostEntry> WindowsOperations::RecentApplications(std::string& text) {
    std::vector<HostEntry> vecEntries;
    if (!IsServedOsFamily(family_)) {
        text.clear();
        return vecEntries;
    }
    std::vector<CatalogueEntry> vecCatalogue;
    text = Utf8FromWide(::RecentApplications(family_, IconsKeptInMemory, &vecCatalogue));
    for (const CatalogueEntry& entry : vecCatalogue) {
        vecEntries.push_back(HostEntryOf(entry.wstrPath, entry.wstrName, entry.vecIcon));
    }
    return vecEntries;
}

bool WindowsOperations::RunApplication(const std::string& application) {
    return IsServedOsFamily(family_) &&
           ::RunApplication(family_, WideFromUtf8(application), IconsKeptInMemory, OpenOutsideJob);
}

HostPick WindowsOperations::SelectApplication(HostEntry& entry) {
    if (InterlockedCompareExchange(&nPickerOpen_, 1, 0) != 0) {
        return HostPickBusy;
    }
    // Over the browser window the user is in: the one the browser named, else the foreground.
    const HWND hOwner =
        hParentWindow_ && IsWindow(hParentWindow_) ? hParentWindow_ : GetForegroundWindow();
    PickedApplication picked;
    const PickOutcome outcome = PickApplication(picked, hOwner, IconsKeptInMemory);
    InterlockedExchange(&nPickerOpen_, 0);
    switch (outcome) {
    case PickChosen:
        entry = HostEntryOf(picked.wstrPath, picked.wstrName, picked.vecIcon);
        return HostPicked;
    case PickCancelled:
        return HostPickCancelled;
    default:
        return HostPickFailed;
    }
}
