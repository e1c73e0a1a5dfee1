// The host's operations over the application core on this Windows: the administrator's policy,
// the catalogue with icons in memory, launches outside the browser's job, one picker at a time.
#ifndef NPDESKLAUNCH_MESSAGING_HOST_WINDOWS_OPERATIONS_H
#define NPDESKLAUNCH_MESSAGING_HOST_WINDOWS_OPERATIONS_H

#include <windows.h>

#include "app/os_family.h"
#include "messaging_host/host_methods.h"

class WindowsOperations : public HostOperations {
  public:
    // `hParentWindow`: the browser window the caller is in, NULL when the browser named none.
    explicit WindowsOperations(HWND hParentWindow);

    OriginStanding StandingOf(const std::string& origin) override;
    nlohmann::json Description() override;
    std::vector<HostEntry> RecentApplications(std::string& text) override;
    bool RunApplication(const std::string& application) override;
    HostPick SelectApplication(HostEntry& entry) override;

  private:
    HWND hParentWindow_;
    OsFamily family_;
    volatile LONG nPickerOpen_;
};

#endif
