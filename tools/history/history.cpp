// Prints the current user's usage history as the catalogue reads it: every UserAssist value with
// its decoded name, counters, candidate path and what became of it, then the merged records in
// the catalogue's order. For the question "why is this program not listed?".
//   history [nt5|nt6]      (default: the family of the running system)
#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/registry_view.h"
#include "catalogue/user_assist.h"
#include "catalogue/user_assist.h"
#include "common/unique_resource.h"
#include "app/os_family.h"

namespace {

void Print(const std::wstring& text) {
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                           NULL, 0, NULL, NULL);
    if (nBytes <= 0) {
        return;
    }
    std::string utf8(static_cast<size_t>(nBytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], nBytes,
                        NULL, NULL);
    DWORD dwWritten = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
              &dwWritten, NULL);
}

std::wstring Number(unsigned long long nValue) {
    return std::to_wstring(nValue);
}

std::wstring Outcome(const HistoryValueTrace& trace, const std::vector<AppEntry>& vecAllApps) {
    const HistoryDecision& decision = trace.decision;
    const std::wstring record =
        decision.nRecord < vecAllApps.size()
            ? L"record \"" + std::wstring(vecAllApps[decision.nRecord].wszExePath) + L"\""
            : std::wstring(L"a record");
    switch (decision.outcome) {
    case HistoryNoCandidate:
        return L"not listed: the name is no path on a drive (or its folder could not be expanded)";
    case HistoryFileMissing:
        return L"not listed: no such file";
    case HistoryTargetOffDrive:
        return L"not listed: a shortcut to a program that is not on a drive";
    case HistoryExcludedFileName:
        return L"not listed: installer, uninstaller or DLL runner by its file name";
    case HistoryExcludedLocation:
        return L"not listed: lies in the system's installer cache";
    case HistoryNoAppName:
        return L"not listed: the file name has no extension";
    case HistoryMergedByName:
        return L"counted into " + record + L" (same name \"" + decision.wstrAppName + L"\")";
    case HistoryMergedByPath:
        return L"counted into " + record + L" (same executable" +
               (decision.bShortcut ? L", renamed \"" + decision.wstrAppName + L"\")" : L")");
    case HistoryAppended:
        return L"new record \"" + decision.wstrAppName + L"\"";
    }
    return L"?";
}

// The name and data size of a value that the reader skipped, asked for again with room enough.
std::wstring DescribeSkippedValue(UsageFamily family, DWORD dwIndex) {
    UniqueRegKey hKey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, UserAssistKeyPath(family), 0, KEY_READ | SharedUserView(),
                      hKey.put()) != ERROR_SUCCESS) {
        return std::wstring();
    }
    std::vector<wchar_t> name(16384, 0);
    DWORD dwNameSize = static_cast<DWORD>(name.size());
    DWORD dwDataSize = 0;
    const LONG lResult =
        RegEnumValueW(hKey.get(), dwIndex, &name[0], &dwNameSize, NULL, NULL, NULL, &dwDataSize);
    if (lResult != ERROR_SUCCESS) {
        return std::wstring();
    }
    return L"   value   " + std::wstring(&name[0], dwNameSize) + L"\n   (" + Number(dwNameSize) +
           L" characters, " + Number(dwDataSize) + L" bytes of data)\n";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    UsageFamily family = UsageFamilyOf(DetectOsFamily());
    if (argc > 1) {
        const std::wstring option = argv[1];
        if (option == L"nt5") {
            family = UsageFamilyNt5;
        } else if (option == L"nt6") {
            family = UsageFamilyNt6;
        } else {
            Print(L"usage: history [nt5|nt6]\n");
            return 2;
        }
    }
    Print(std::wstring(L"Usage history (") + (family == UsageFamilyNt6 ? L"NT 6" : L"NT 5") +
          L" rules) of HKEY_CURRENT_USER\\" + UserAssistKeyPath(family) + L"\n\n");

    std::vector<AppEntry> vecAllApps;
    std::vector<UserAssistValue> vecValues;
    ReadUserAssist(family, vecAllApps, &vecValues);
    if (vecValues.empty()) {
        Print(L"(no values, or the key does not exist)\n");
    }
    for (const UserAssistValue& value : vecValues) {
        const std::wstring index = L"#" + Number(value.dwIndex) + L" ";
        if (value.lEnumResult != ERROR_SUCCESS) {
            Print(index + L"skipped: name longer than 259 characters or data longer than " +
                  Number(kUsageDataCapacity) + L" bytes (error " +
                  Number(static_cast<unsigned long>(value.lEnumResult)) + L")\n" +
                  DescribeSkippedValue(family, value.dwIndex));
            continue;
        }
        const HistoryValueTrace& trace = value.trace;
        Print(index + L"value   " + trace.wstrTitle + L"\n");
        Print(L"   decoded " + trace.wstrDecoded + L"\n");
        Print(L"   counts  run " + Number(static_cast<unsigned long>(trace.di.nRunCount)) +
              L", focus " + Number(static_cast<unsigned long>(trace.di.nFocusCount)) + L" (" +
              Number(trace.nDataSize) + L" bytes of data)\n");
        if (!trace.wstrCandidate.empty()) {
            Print(L"   path    " + trace.wstrCandidate + L"\n");
        }
        if (trace.decision.bShortcut) {
            Print(L"   target  " + trace.decision.wstrExePath + L"\n");
        }
        Print(L"   -> " + Outcome(trace, vecAllApps) + L"\n");
    }

    SortByRunCount(vecAllApps);
    Print(L"\nRecords, most used first (the catalogue lists at most 20, after the accessories and "
          L"leaving out duplicates of them and programs whose icon cannot be stored):\n");
    for (size_t i = 0; i < vecAllApps.size(); ++i) {
        const AppEntry& ad = vecAllApps[i];
        Print(L"  " + Number(i + 1) + L". run " + Number(static_cast<unsigned long>(ad.nRunCount)) +
              L"  " + ad.wszAppName + L"  " + ad.wszExePath + L"\n");
    }
    return 0;
}
