// The demo's browser: gives this Windows a realistic usage history, installs the plug-in in a
// browser's plug-in folder, loads it as the browser does, calls RecentlyApplications() and prints
// the catalogue as a table.
//   demo_host MODULE PROGRAMS_FOLDER CATALOGUE_FILE
// MODULE is the built npDesklaunch.dll, PROGRAMS_FOLDER holds the demo programs (atlas_program.exe
// and the others); the catalogue text is also written, as UTF-8, to CATALOGUE_FILE.
#include <windows.h>
#include <shlobj.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "nphost/browser.h"
#include "nphost/usage_history_seed.h"

namespace {

using nphost::HistoryFamily;
using nphost::HistoryValue;
using nphost::Narrow;

const wchar_t kPluginFolder[] = L"C:\\Program Files\\CorvidBrowser\\plugins";
// The all-users Programs folder of the Start menu, as Windows 7 records shortcuts in it.
const wchar_t kCommonProgramsGuid[] = L"{0139D44E-6AFE-49F2-8690-3DAFCAE6FFB8}";

void Print(const std::string& text) {
    fwrite(text.data(), 1, text.size(), stdout);
    fflush(stdout);
}

std::wstring SpecialFolder(int nCsidl) {
    wchar_t wszPath[MAX_PATH] = {0};
    SHGetFolderPathW(NULL, nCsidl, NULL, SHGFP_TYPE_CURRENT, wszPath);
    return wszPath;
}

// Columns a text takes in a terminal: East Asian wide characters take two.
size_t Columns(const std::wstring& text) {
    size_t n = 0;
    for (wchar_t c : text) {
        const bool bWide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                           (c >= 0xFF00 && c <= 0xFF60);
        n += bWide ? 2 : 1;
    }
    return n;
}

std::string Cell(const std::wstring& text, size_t nWidth) {
    const size_t n = Columns(text);
    return Narrow(text) + std::string(n < nWidth ? nWidth - n : 1, ' ');
}

// One thing the demo user did: a program or shortcut started so many times.
struct Use {
    std::wstring name; // the history value's name, decoded
    int nRunCount;
    std::wstring expect; // what the catalogue should make of it
};

// Demo programs with their own icons, Wine's programs, Start-menu shortcuts, an installer, an
// uninstaller, a program that was removed, and the shell's own bookkeeping values.
std::vector<Use> SetUpMachine(const std::wstring& programs) {
    const std::wstring pf = SpecialFolder(CSIDL_PROGRAM_FILES);
    const std::wstring sys = SpecialFolder(CSIDL_SYSTEM);
    const std::wstring win = SpecialFolder(CSIDL_WINDOWS);
    const std::wstring startMenu = SpecialFolder(CSIDL_COMMON_PROGRAMS);

    const std::wstring atlas = pf + L"\\Atlas Maps\\atlas.exe";
    const std::wstring ledger = pf + L"\\Ledger\\ledger.exe";
    const std::wstring sketch = pf + L"\\Sketch Pad\\\u901F\u5199\u677F.exe";
    const std::wstring setup = SpecialFolder(CSIDL_PROFILE) + L"\\Downloads\\atlas-setup.exe";
    const std::wstring uninst = pf + L"\\Ledger\\uninst.exe";
    nphost::CopyProgram(programs + L"\\atlas_program.exe", atlas);
    nphost::CopyProgram(programs + L"\\ledger_program.exe", ledger);
    nphost::CopyProgram(programs + L"\\sketch_program.exe", sketch);
    nphost::CopyProgram(programs + L"\\marker_program.exe", setup);
    nphost::CopyProgram(programs + L"\\marker_program.exe", uninst);
    nphost::MakeShortcut(startMenu + L"\\Games\\Minesweeper.lnk", sys + L"\\winemine.exe");
    nphost::MakeShortcut(startMenu + L"\\Accessories\\WordPad.lnk",
                         pf + L"\\Windows NT\\Accessories\\wordpad.exe");

    const std::wstring programsToken = std::wstring(kCommonProgramsGuid);
    return {
        {atlas, 14, L"listed, own icon"},
        {L"UEME_CTLSESSION", 0, L"skipped: the shell's session record"},
        {pf + L"\\Old Tool\\oldtool.exe", 13, L"not listed: removed from the disk"},
        {sys + L"\\NOTEPAD.EXE", 12, L"not listed: the Notepad accessory already is"},
        {sketch, 11, L"listed, own icon, Chinese file name"},
        {setup, 10, L"not listed: an installer"},
        {ledger, 9, L"listed, own icon"},
        {programsToken + L"\\Games\\Minesweeper.lnk", 8, L"listed through its Start-menu shortcut"},
        {programsToken + L"\\Accessories\\WordPad.lnk", 7,
         L"listed through its Start-menu shortcut"},
        {win + L"\\regedit.exe", 6, L"listed, Wine's program"},
        {pf + L"\\Internet Explorer\\iexplore.exe", 5, L"listed, Wine's program"},
        {L"Microsoft.Windows.Explorer", 4, L"skipped: a program identifier, not a path"},
        {sys + L"\\taskmgr.exe", 3, L"listed, Wine's program"},
        {uninst, 2, L"not listed: an uninstaller"},
    };
}

struct Entry {
    std::wstring path;
    std::wstring name;
};

// The catalogue text split the way a page splits it (see examples/launcher.html).
std::vector<Entry> SplitCatalogue(const std::wstring& text) {
    std::vector<Entry> entries;
    size_t start = 0;
    while (start < text.size()) {
        const size_t star = text.find(L'*', start);
        if (star == std::wstring::npos) {
            break;
        }
        size_t end = text.find(L'#', star);
        // A "#" inside a name is not an entry's end: the next entry starts with a drive path.
        while (end != std::wstring::npos && end + 1 < text.size() &&
               !(text.size() > end + 3 && text[end + 2] == L':' && text[end + 3] == L'\\')) {
            end = text.find(L'#', end + 1);
        }
        if (end == std::wstring::npos) {
            end = text.size();
        }
        entries.push_back(
            {text.substr(start, star - start), text.substr(star + 1, end - star - 1)});
        start = end + 1;
    }
    return entries;
}

std::wstring IconFileOf(const std::wstring& path) {
    std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) {
        name.erase(dot);
    }
    return name + L".bmp";
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        Print("usage: demo_host MODULE PROGRAMS_FOLDER CATALOGUE_FILE\n");
        return 2;
    }
    nphost::Browser::Get();
    const std::wstring pluginPath = std::wstring(kPluginFolder) + L"\\npDesklaunch.dll";
    if (!nphost::CopyProgram(argv[1], pluginPath)) {
        Print("cannot install the plug-in in " + Narrow(kPluginFolder) + "\n");
        return 1;
    }
    nphost::RemoveTree(std::wstring(kPluginFolder) + L"\\images");

    const std::vector<Use> uses = SetUpMachine(argv[2]);
    std::vector<HistoryValue> values;
    for (const Use& use : uses) {
        values.push_back({use.name, use.nRunCount, 1});
    }
    if (!nphost::SeedUsageHistory(HistoryFamily::Nt6, values)) {
        Print("cannot write the usage history\n");
        return 1;
    }
    Print("Usage history of this Windows 7 user (UserAssist), as the shell keeps it:\n");
    for (const Use& use : uses) {
        Print("  " + Cell(use.name, 66) + Cell(std::to_wstring(use.nRunCount) + L"x", 5) +
              Narrow(use.expect) + "\n");
    }

    nphost::PluginModule module(pluginPath);
    if (!module.Loaded() || module.InitializeResult() != NPERR_NO_ERROR) {
        Print("the plug-in does not load\n");
        return 1;
    }
    std::wstring text;
    {
        nphost::PluginArea area;
        nphost::Instance instance(module);
        instance.SetWindow(area.Handle());
        NPObject* object = instance.ScriptableObject();
        if (!object) {
            Print("the plug-in gives no scriptable object\n");
            return 1;
        }
        NPVariant result;
        result.type = NPVariantType_Void;
        const DWORD dwStart = GetTickCount();
        const bool bOk = nphost::Browser::Get().CallMethod(object, "RecentlyApplications",
                                                           nphost::Arguments(), &result);
        const DWORD dwElapsed = GetTickCount() - dwStart;
        if (bOk && result.type == NPVariantType_String) {
            text = nphost::Widen(std::string(result.value.stringValue.UTF8Characters,
                                             result.value.stringValue.UTF8Length));
        }
        nphost::Browser::Get().ReleaseVariantValue(&result);
        Print("\nRecentlyApplications() returned " + std::string(bOk ? "true" : "false") + " in " +
              std::to_string(dwElapsed) + " ms: " + std::to_string(Narrow(text).size()) +
              " bytes of UTF-8.\n\n");
    }

    const std::wstring images = std::wstring(kPluginFolder) + L"\\images";
    const std::vector<Entry> entries = SplitCatalogue(text);
    Print(" #  " + Cell(L"Display name", 14) + Cell(L"Path", 58) + "Icon file\n");
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::wstring icon = IconFileOf(entries[i].path);
        std::string note;
        if (!FileExists(images + L"\\" + icon)) {
            note = FileExists(entries[i].path) ? "  (not stored: the program has no icon)"
                                               : "  (not stored: no such program here)";
        }
        Print(Cell(std::to_wstring(i + 1), 3) + " " + Cell(entries[i].name, 14) +
              Cell(entries[i].path, 58) + "images\\" + Narrow(icon) + note + "\n");
    }
    Print("\nImages folder: " + Narrow(images) + "\n");

    UniqueFile hFile(
        CreateFileW(argv[3], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
    const std::string utf8 = Narrow(text);
    DWORD dwWritten = 0;
    if (!hFile ||
        !WriteFile(hFile.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &dwWritten, NULL)) {
        Print("cannot write the catalogue file\n");
        return 1;
    }
    return entries.empty() ? 1 : 0;
}
