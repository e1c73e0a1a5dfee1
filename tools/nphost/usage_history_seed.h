// A usage history and the files it names, set up the way the Windows shell leaves them: one
// UserAssist value per program or shortcut, its name letter-rotated, its data the shell's
// counters; program files copied into place and Start-menu shortcuts made by the shell.
#ifndef NPDESKLAUNCH_TOOLS_NPHOST_USAGE_HISTORY_SEED_H
#define NPDESKLAUNCH_TOOLS_NPHOST_USAGE_HISTORY_SEED_H

#include <string>
#include <vector>

namespace nphost {

enum class HistoryFamily { Nt5, Nt6 };

// One history value: its decoded name and its counters.
struct HistoryValue {
    std::wstring name; // as the shell means it, e.g. "C:\Apps\tool.exe" or "UEME_RUNPATH:C:\..."
    int nRunCount;
    int nFocusCount;
};

// One value exactly as it is stored: its letter-rotated name and its data.
struct RawHistoryValue {
    std::wstring name;
    std::vector<unsigned char> data;
};

// The name under which the family's shell records a program started by its path.
std::wstring RunPathName(HistoryFamily family, const std::wstring& path);

// ROT13 on the ASCII letters, as the shell writes the names.
std::wstring Rot13(const std::wstring& text);

// Replaces the current user's history of that family with these values; false when the key
// or a value could not be written.
bool SeedUsageHistory(HistoryFamily family, const std::vector<HistoryValue>& values);
void ClearUsageHistory(HistoryFamily family);
// The same with values stored as they are given.
bool SeedRawUsageHistory(HistoryFamily family, const std::vector<RawHistoryValue>& values);
// The data the family's shell keeps for a value with these counters.
std::vector<unsigned char> CounterData(HistoryFamily family, const HistoryValue& value);

// Makes every missing folder of `folder`.
void MakeFolders(const std::wstring& folder);
// Copies `source` to `target`, making its folders; false on failure.
bool CopyProgram(const std::wstring& source, const std::wstring& target);
// A shell shortcut at `linkPath` to `targetPath`; false on failure.
bool MakeShortcut(const std::wstring& linkPath, const std::wstring& targetPath);
// Deletes a folder and everything in it, waiting a while for files still in use (a program
// started from it may still be ending); true when it is gone.
bool RemoveTree(const std::wstring& folder);
// The names of the files directly in `folder`, sorted.
std::vector<std::wstring> FilesIn(const std::wstring& folder);

} // namespace nphost

#endif
