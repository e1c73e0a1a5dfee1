// The policy values read from the registry. Group Policy on 64-bit Windows is applied by 64-bit
// processes, which write the 64-bit view; a 32-bit module asks for that view explicitly, so that
// it reads what the administrator set whatever WOW64 does with Software\Policies.
#include "app/admin_policy.h"

#include <windows.h>
#include <string.h>

#include "app/policy_rules.h"
#include "catalogue/registry_view.h"
#include "common/unique_resource.h"

const WideChar kPolicyKeyPath[] = L"Software\\Policies\\npDesklaunch";

namespace {

// Most bytes a policy value may hold: some thousand origins. A longer value allows nothing.
const DWORD kMaxPolicyBytes = 64 * 1024;

enum ValueState { ValueAbsent, ValueRead, ValueUnreadable };

// The value `wszName` of the policy key of the first hive that has it. A key or value that
// exists and cannot be read is not skipped: the administrator's word is not known then.
ValueState ReadPolicyValue(const WideChar* wszName, DWORD& dwType, std::vector<BYTE>& data) {
    const HKEY roots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
    for (size_t i = 0; i < sizeof(roots) / sizeof(roots[0]); ++i) {
        UniqueRegKey hKey;
        const LONG lOpen = RegOpenKeyExW(roots[i], kPolicyKeyPath, 0,
                                         KEY_QUERY_VALUE | SharedUserView(), hKey.put());
        if (lOpen == ERROR_FILE_NOT_FOUND) {
            continue;
        }
        if (lOpen != ERROR_SUCCESS) {
            return ValueUnreadable;
        }
        DWORD dwSize = 0;
        const LONG lSize = RegQueryValueExW(hKey.get(), wszName, NULL, &dwType, NULL, &dwSize);
        if (lSize == ERROR_FILE_NOT_FOUND) {
            continue;
        }
        if (lSize != ERROR_SUCCESS || dwSize > kMaxPolicyBytes) {
            return ValueUnreadable;
        }
        data.clear();
        if (dwSize == 0) {
            return ValueRead;
        }
        data.assign(dwSize, 0);
        if (RegQueryValueExW(hKey.get(), wszName, NULL, &dwType, &data[0], &dwSize) !=
            ERROR_SUCCESS) {
            return ValueUnreadable;
        }
        data.resize(dwSize);
        return ValueRead;
    }
    return ValueAbsent;
}

} // namespace

bool ReadAllowedOrigins(std::vector<WideString>& vecOrigins) {
    vecOrigins.clear();
    DWORD dwType = 0;
    std::vector<BYTE> data;
    const ValueState state = ReadPolicyValue(L"AllowedOrigins", dwType, data);
    if (state == ValueAbsent) {
        return false;
    }
    if (state == ValueRead && (dwType == REG_MULTI_SZ || dwType == REG_SZ) && !data.empty()) {
        // Whole units only: a value need not end in its terminators, nor hold an even count.
        std::vector<WideChar> units(data.size() / sizeof(WideChar) + 1, 0);
        memcpy(&units[0], &data[0], data.size() - data.size() % sizeof(WideChar));
        vecOrigins = SplitMultiString(&units[0], units.size());
    }
    return true;
}

bool ReadLaunchCatalogueOnly() {
    DWORD dwType = 0;
    std::vector<BYTE> data;
    const ValueState state = ReadPolicyValue(L"LaunchCatalogueOnly", dwType, data);
    if (state == ValueAbsent) {
        return false;
    }
    const BYTE zero[4] = {0, 0, 0, 0};
    const bool bZero = state == ValueRead && dwType == REG_DWORD && data.size() == sizeof(zero) &&
                       memcmp(&data[0], zero, sizeof(zero)) == 0;
    return !bZero;
}
