// Real files, shortcuts and registry keys that the catalogue's Windows tests set up and remove.
#ifndef NPDESKLAUNCH_TESTS_WIN_CATALOGUE_SYSTEM_FIXTURE_H
#define NPDESKLAUNCH_TESTS_WIN_CATALOGUE_SYSTEM_FIXTURE_H

#include <windows.h>

#include <string>
#include <vector>

#include "catalogue/history_rules.h"

namespace catalogue_test {

// A special folder of this system (CSIDL_...), without trailing backslash.
std::wstring SpecialFolder(int nCsidl);

// A folder made for one test and removed with everything in it at the end.
class ScratchFolder {
  public:
    // Made inside `parent` under a name unique to this process and test.
    ScratchFolder(const std::wstring& parent, const std::wstring& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    // Makes an empty file (and its folders) at `relative` inside; returns its full path.
    std::wstring AddFile(const std::wstring& relative) const;
    // Makes a shortcut file at `relative` inside, pointing at `target`; returns its full path.
    std::wstring AddShortcut(const std::wstring& relative, const std::wstring& target) const;

  private:
    std::wstring path_;
};

// Makes the folders of `path` up to its last backslash.
void MakeParentFolders(const std::wstring& path);

// Saves a shortcut at `linkPath` to the file-system path `target`, or to the item `pidlTarget`.
bool SaveShortcut(const std::wstring& linkPath, const std::wstring& target);
bool SaveShortcutToItem(const std::wstring& linkPath, int nCsidl);

// Values written into a key under HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE; at the end the
// values go, and the key too when this made it.
class RegistryKeyWriter {
  public:
    RegistryKeyWriter(HKEY hRoot, const std::wstring& subKey);
    ~RegistryKeyWriter();
    RegistryKeyWriter(const RegistryKeyWriter&) = delete;
    RegistryKeyWriter& operator=(const RegistryKeyWriter&) = delete;

    bool Created() const { return bCreated_; }
    HKEY Key() const { return hKey_; }
    void SetString(const std::wstring& name, const std::wstring& value);
    void SetBinary(const std::wstring& name, const std::vector<BYTE>& data);
    // Removes the key now (its values included), and the parents this writer made.
    void DeleteKey();

  private:
    HKEY hRoot_;
    std::wstring subKey_;
    HKEY hKey_ = NULL;
    bool bCreated_ = false;
    size_t createdFrom_ = 0; // length of the outermost key path that this writer made
    std::vector<std::wstring> names_;
};

// Usage data: NT 6 (72 bytes, run count at 4, focus count at 8) and NT 5 (16 bytes).
std::vector<BYTE> Nt6Data(uint32_t nRun, uint32_t nFocus);
std::vector<BYTE> Nt5Data(uint32_t nRun);

// The history as "name|exe path|run count" lines.
std::wstring Listing(const std::vector<AppEntry>& vecAllApps);

} // namespace catalogue_test

#endif
