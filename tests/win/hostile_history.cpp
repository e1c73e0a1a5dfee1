// The hostile usage history, its known folders and programs, and the check of a catalogue text.
#include "hostile_history.h"

#include <windows.h>
#include <shlobj.h>
#include <stdio.h>

#include <algorithm>
#include <set>

#include "common/unique_resource.h"
#include "nphost/browser.h"

namespace hostile {

namespace {

using nphost::HistoryFamily;

const wchar_t kDescriptions[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FolderDescriptions\\";
const std::wstring kAppsRoot = L"C:\\npd-hostile";
const wchar_t kOwnFolder[] = L"npd-hostile";
const size_t kProgramCount = 28;
const size_t kMaxNameUnits = 300;
const size_t kMaxDataBytes = 200;

// Known folders, by number: two that are each other's parent, one that is its own, a chain of
// 50 (deeper than any description is followed) and a chain of 10 that leads to a program.
const unsigned kCycleA = 0xA1, kCycleB = 0xA2, kSelfParent = 0x5E1F, kMissing = 0xDEAD;
const unsigned kDeepChain = 0xC001, kDeepChainLength = 50;
const unsigned kShortChain = 0xD001, kShortChainLength = 10;

std::wstring Guid(unsigned nNumber) {
    wchar_t wszGuid[64] = {0};
    _snwprintf(wszGuid, 63, L"{4E504448-0000-4000-8000-%012X}", nNumber);
    return wszGuid;
}

struct FolderDescription {
    unsigned nNumber;
    std::wstring parent; // empty: none
    std::wstring relativePath;
    std::wstring name; // empty: none
};

std::vector<FolderDescription> Descriptions() {
    std::vector<FolderDescription> all = {{kCycleA, Guid(kCycleB), L"a", L""},
                                          {kCycleB, Guid(kCycleA), L"b", L""},
                                          {kSelfParent, Guid(kSelfParent), L"s", L""}};
    const struct {
        unsigned nFirst, nLength;
        const wchar_t* wszLevel;
    } chains[] = {{kDeepChain, kDeepChainLength, L"c"}, {kShortChain, kShortChainLength, L"d"}};
    for (const auto& chain : chains) {
        for (unsigned i = 0; i + 1 < chain.nLength; ++i) {
            all.push_back({chain.nFirst + i, Guid(chain.nFirst + i + 1), chain.wszLevel, L""});
        }
        all.push_back({chain.nFirst + chain.nLength - 1, L"", kOwnFolder, L"Common AppData"});
    }
    return all;
}

std::wstring SpecialFolder(int nCsidl) {
    wchar_t wszPath[MAX_PATH] = {0};
    SHGetSpecialFolderPathW(NULL, wszPath, nCsidl, FALSE);
    return wszPath;
}

// Where the 10-deep chain (Windows 7) or "%csidl2%" (Windows XP) leads.
std::wstring TokenFolder(HistoryFamily family) {
    if (family == HistoryFamily::Nt6) {
        std::wstring folder = SpecialFolder(CSIDL_COMMON_APPDATA) + L"\\" + kOwnFolder;
        for (unsigned i = 1; i < kShortChainLength; ++i) {
            folder += L"\\d";
        }
        return folder;
    }
    return SpecialFolder(CSIDL_PROGRAMS) + L"\\" + kOwnFolder;
}

std::wstring TokenPrefix(HistoryFamily family) {
    return family == HistoryFamily::Nt6 ? Guid(kShortChain)
                                        : std::wstring(L"%csidl2%\\") + kOwnFolder;
}

// xorshift64*: the same numbers from the same seed everywhere.
class Random {
  public:
    explicit Random(uint32_t nSeed) : nState_(0x9E3779B97F4A7C15ull ^ nSeed) {}
    uint32_t Next() {
        nState_ ^= nState_ >> 12;
        nState_ ^= nState_ << 25;
        nState_ ^= nState_ >> 27;
        return static_cast<uint32_t>((nState_ * 0x2545F4914F6CDD1Dull) >> 32);
    }
    uint32_t Below(uint32_t nLimit) { return Next() % nLimit; }

  private:
    uint64_t nState_;
};

wchar_t Unit(unsigned nCode) {
    return static_cast<wchar_t>(nCode);
}

// Random text of exactly `nUnits` UTF-16 units.
std::wstring RandomText(Random& random, size_t nUnits) {
    static const wchar_t kMarks[] = L"{}%:\\. -_";
    std::wstring text;
    while (text.size() < nUnits) {
        switch (random.Below(10)) {
        case 0:
        case 1:
            text += Unit(L'a' + random.Below(26));
            break;
        case 2:
            text += Unit(L'A' + random.Below(26));
            break;
        case 3:
            text += Unit(L'0' + random.Below(10));
            break;
        case 4:
        case 5:
            text += kMarks[random.Below(sizeof(kMarks) / sizeof(kMarks[0]) - 1)];
            break;
        case 6:
            text += Unit(0x4E00 + random.Below(0x5000));
            break;
        case 7:
            if (text.size() + 2 <= nUnits) {
                text += Unit(0xD83D);
                text += Unit(0xDE00 + random.Below(0x50));
            }
            break;
        case 8:
            text += Unit(0xD800 + random.Below(0x400)); // a high surrogate alone
            break;
        default:
            text += Unit(0xDC00 + random.Below(0x400)); // a low surrogate alone
            break;
        }
    }
    return text;
}

// A decoded junk name of `nUnits` units: random text, one in ten a drive path and one in ten
// a folder token followed by random text (the family's prefix where its shell writes one).
std::wstring JunkName(HistoryFamily family, Random& random, size_t nUnits) {
    static const unsigned kFolders[] = {kCycleA,    kCycleB,     kSelfParent,
                                        kDeepChain, kShortChain, kMissing};
    std::wstring start;
    switch (random.Below(10)) {
    case 0:
        start = nphost::RunPathName(family, L"C:\\");
        break;
    case 1:
        start = family == HistoryFamily::Nt6
                    ? Guid(kFolders[random.Below(sizeof(kFolders) / sizeof(kFolders[0]))]) + L"\\"
                    : std::wstring(random.Below(2) ? L"UEME_RUNPATH:%csidl2%\\"
                                                   : L"UEME_RUNPIDL:%csidl");
        break;
    default:
        break;
    }
    if (start.size() >= nUnits) {
        return RandomText(random, nUnits);
    }
    return start + RandomText(random, nUnits - start.size());
}

// Registry names are the same without regard to case.
std::wstring Folded(const std::wstring& name) {
    std::wstring folded = name;
    for (wchar_t& unit : folded) {
        if (unit >= L'a' && unit <= L'z') {
            unit = static_cast<wchar_t>(unit - L'a' + L'A');
        }
    }
    return folded;
}

bool WriteDescriptions() {
    for (const FolderDescription& d : Descriptions()) {
        UniqueRegKey hKey;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kDescriptions + Guid(d.nNumber)).c_str(), 0, NULL,
                            0, KEY_WRITE, NULL, hKey.put(), NULL) != ERROR_SUCCESS) {
            return false;
        }
        const std::pair<const wchar_t*, const std::wstring*> values[] = {
            {L"ParentFolder", &d.parent}, {L"RelativePath", &d.relativePath}, {L"Name", &d.name}};
        for (const auto& value : values) {
            if (!value.second->empty() &&
                RegSetValueExW(hKey.get(), value.first, 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(value.second->c_str()),
                               static_cast<DWORD>((value.second->size() + 1) * sizeof(wchar_t))) !=
                    ERROR_SUCCESS) {
                return false;
            }
        }
    }
    return true;
}

void RemoveDescriptions() {
    for (const FolderDescription& d : Descriptions()) {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, (kDescriptions + Guid(d.nNumber)).c_str());
    }
}

void RemoveFolders() {
    nphost::RemoveTree(kAppsRoot);
    nphost::RemoveTree(SpecialFolder(CSIDL_COMMON_APPDATA) + L"\\" + kOwnFolder);
    nphost::RemoveTree(SpecialFolder(CSIDL_PROGRAMS) + L"\\" + kOwnFolder);
}

// Decodes one UTF-8 sequence at `i`; false when it is not the shortest form of a scalar value.
bool NextScalar(const std::string& text, size_t& i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t nMore = 0;
    uint32_t nCode = 0;
    if (lead < 0x80) {
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        nMore = 1;
        nCode = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        nMore = 2;
        nCode = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        nMore = 3;
        nCode = lead & 0x07u;
    } else {
        return false;
    }
    if (i + nMore >= text.size()) {
        return false;
    }
    for (size_t k = 1; k <= nMore; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        nCode = (nCode << 6) | (next & 0x3Fu);
    }
    static const uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (nCode < kSmallest[nMore] || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF)) {
        return false;
    }
    i += nMore + 1;
    return true;
}

} // namespace

History MakeHistory(HistoryFamily family, uint32_t nSeed) {
    Random random(nSeed);
    History history;
    std::set<std::wstring> names;
    const auto add = [&](const std::wstring& decoded, const std::vector<unsigned char>& data) {
        const std::wstring stored = nphost::Rot13(decoded);
        if (!names.insert(Folded(stored)).second) {
            return false;
        }
        history.values.push_back({stored, data});
        return true;
    };

    static const wchar_t* const kFolders[] = {L"{7B}", L"%TEMP%", L"\u5E94\u7528",
                                              L"pair \xD83D\xDE03", L"dots.in.name"};
    static const wchar_t* const kDecorations[] = {
        L"", L" {braced}", L" [1]", L"\u7A0B\u5E8F", L" \xD83D\xDE00", L" x;y"};
    for (size_t i = 0; i < kProgramCount; ++i) {
        wchar_t wszName[32] = {0};
        _snwprintf(wszName, 31, L"tool%02u", static_cast<unsigned>(i));
        Program program;
        program.name = std::wstring(wszName) + kDecorations[(i + 1) % 6];
        // Every count once; the program behind a folder token has the smallest, so that the
        // catalogue leaves it out while the launcher still finds it by name.
        program.nRunCount = 200 + static_cast<int>((i * 11) % kProgramCount) * 4;
        std::wstring decoded;
        if (i == 0) {
            program.path = TokenFolder(family) + L"\\" + program.name + L".exe";
            decoded =
                nphost::RunPathName(family, TokenPrefix(family) + L"\\" + program.name + L".exe");
        } else {
            program.path = kAppsRoot + L"\\" + kFolders[i % 5] + L"\\" + program.name + L".exe";
            decoded = nphost::RunPathName(family, program.path);
        }
        program.bRead =
            family == HistoryFamily::Nt6 || i == 0 || program.path.find(L'%') == std::wstring::npos;
        add(decoded, nphost::CounterData(family, {decoded, program.nRunCount, 1}));
        history.programs.push_back(program);
    }
    std::stable_sort(history.programs.begin(), history.programs.end(),
                     [](const Program& a, const Program& b) { return a.nRunCount > b.nRunCount; });

    add(L"", {}); // the key's unnamed value
    while (history.values.size() < kValueCount) {
        const std::wstring decoded =
            JunkName(family, random, 1 + random.Below(static_cast<uint32_t>(kMaxNameUnits)));
        std::vector<unsigned char> data(random.Below(kMaxDataBytes + 1));
        for (unsigned char& byte : data) {
            byte = static_cast<unsigned char>(random.Next());
        }
        add(decoded, data);
    }
    return history;
}

InstalledHistory::InstalledHistory(HistoryFamily family, uint32_t nSeed)
    : family_(family), history_(MakeHistory(family, nSeed)) {
    RemoveFolders();
    if (!WriteDescriptions()) {
        problem_ = "cannot write the known-folder descriptions";
    }
    const std::wstring marker = nphost::BesideExecutable(L"marker_program.exe");
    for (const Program& program : history_.programs) {
        if (problem_.empty() && !nphost::CopyProgram(marker, program.path)) {
            problem_ = "cannot copy a program to " + nphost::Narrow(program.path);
        }
    }
    if (problem_.empty() && !nphost::SeedRawUsageHistory(family, history_.values)) {
        problem_ = "cannot write the usage history";
    }
}

InstalledHistory::~InstalledHistory() {
    nphost::ClearUsageHistory(family_);
    RemoveDescriptions();
    RemoveFolders();
}

bool InstalledHistory::Ready(std::string& problem) const {
    problem = problem_;
    return problem_.empty();
}

std::string CatalogueTextProblem(const std::string& text, const std::string& accessoryBlock) {
    for (size_t i = 0; i < text.size();) {
        if (!NextScalar(text, i)) {
            return "not UTF-8 at byte " + std::to_string(i);
        }
    }
    if (text.compare(0, accessoryBlock.size(), accessoryBlock) != 0) {
        return "the text does not begin with the accessory block";
    }
    if (!text.empty() && text.back() != '#') {
        return "the last entry has no closing #";
    }
    size_t nEntries = 0;
    for (size_t nStart = 0; nStart < text.size(); ++nEntries) {
        const size_t nEnd = text.find('#', nStart);
        const std::string entry = text.substr(nStart, nEnd - nStart);
        const size_t nStar = entry.find('*');
        if (nStar == std::string::npos || entry.find('*', nStar + 1) != std::string::npos ||
            entry.find(":\\") == std::string::npos || nStar + 1 == entry.size() ||
            entry.find(":\\") > nStar) {
            return "entry " + std::to_string(nEntries) + " is not path*name#: " + entry;
        }
        nStart = nEnd + 1;
    }
    const size_t nAccessories =
        static_cast<size_t>(std::count(accessoryBlock.begin(), accessoryBlock.end(), '#'));
    if (nEntries > nAccessories + 20) {
        return std::to_string(nEntries - nAccessories) + " history entries, more than 20";
    }
    return std::string();
}

} // namespace hostile
