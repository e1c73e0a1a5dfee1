// Faults of the machine around the module, each of which must give its own failure and nothing
// else: an images folder that cannot be written, a bitmap that another program holds, a disk that
// fills while a bitmap is written, corrupt shortcuts, programs with a corrupt icon or version
// resource. Seen from the module's operations and from the page, whose catalogue leaves out just
// the record concerned.
#include "module_fixture.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "catalogue/app_identity.h"
#include "common/unique_resource.h"
#include "icons/bitmap_file.h"
#include "icons/icon_bitmap.h"
#include "icons/icon_lookup.h"
#include "nphost/test_time.h"
#include "nphost/usage_history_seed.h"
#include "test_bytes.h"

namespace {

using nphost::Browser;
using nphost::HistoryFamily;

using test_bytes::Bytes;
using test_bytes::Noise;

const std::wstring kRoot = L"C:\\npd-faults";
const std::wstring kApps = kRoot + L"\\apps";
const std::wstring kPluginFolder = kRoot + L"\\plugin";
// Whole bitmap files of 32 x 32 icons.
const size_t kBitmapFileBytes = 4150;

// A program with an icon of its own, copied to kApps\`name`.
std::wstring AppWithIcon(const std::wstring& name) {
    const std::wstring path = kApps + L"\\" + name;
    EXPECT_TRUE(nphost::CopyProgram(nphost::BesideExecutable(L"marker_program.exe"), path))
        << Show(path);
    return path;
}

// The module as a browser loads it from `folder`, one per folder and process; copied there
// first unless `bInstalled` says it is there already.
nphost::PluginModule& InstalledModule(const std::wstring& folder, bool bInstalled) {
    static std::vector<std::pair<std::wstring, std::unique_ptr<nphost::PluginModule>>> modules;
    for (auto& module : modules) {
        if (module.first == folder) {
            return *module.second;
        }
    }
    const std::wstring path = folder + L"\\npDesklaunch.dll";
    if (!bInstalled) {
        EXPECT_TRUE(nphost::CopyProgram(nphost::BesideExecutable(L"npDesklaunch.dll"), path));
    }
    modules.emplace_back(folder,
                         std::unique_ptr<nphost::PluginModule>(new nphost::PluginModule(path)));
    return *modules.back().second;
}

// The entries of a catalogue text, each "path*name".
std::vector<std::string> EntriesOf(const std::string& text) {
    std::vector<std::string> entries;
    size_t start = 0;
    for (size_t end; (end = text.find('#', start)) != std::string::npos; start = end + 1) {
        entries.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(text.size(), start) << "text after the last entry: " << text.substr(start);
    return entries;
}

std::string ShowList(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += " " + item;
    }
    return "[" + text + " ]";
}

// The page's view of one installed module: RecentlyApplications over a seeded history.
class Page {
  public:
    // The module in kPluginFolder, copied there, or one that small_disks.sh installed.
    explicit Page(const std::wstring& pluginFolder = kPluginFolder)
        : instance_(
              new nphost::Instance(InstalledModule(pluginFolder, pluginFolder != kPluginFolder))),
          object_(instance_->ScriptableObject()) {}

    bool Ready() const { return object_ != nullptr; }

    // RecentlyApplications() as the page receives it.
    std::string Call() { return CallForText(object_, "RecentlyApplications"); }

    // The history entries of the catalogue (those after the five accessories), and the
    // accessories' own.
    std::vector<std::string> History() { return Split().second; }
    std::pair<std::vector<std::string>, std::vector<std::string>> Split() {
        const std::vector<std::string> entries = EntriesOf(Call());
        const size_t nAccessories = std::min<size_t>(entries.size(), 5);
        EXPECT_EQ(5u, nAccessories) << "the accessory block is always five entries";
        return {std::vector<std::string>(entries.begin(), entries.begin() + nAccessories),
                std::vector<std::string>(entries.begin() + nAccessories, entries.end())};
    }

  private:
    std::unique_ptr<nphost::Instance> instance_;
    NPObject* object_;
};

// The catalogue entry of a program listed under its file name.
std::string EntryOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return nphost::Narrow(path + L"*" +
                          path.substr(slash + 1, path.find_last_of(L'.') - slash - 1));
}

// Seeds the history with `paths`, the first the most used.
void Seed(const std::vector<std::wstring>& paths) {
    std::vector<nphost::HistoryValue> values;
    int nRunCount = 100;
    for (const std::wstring& path : paths) {
        values.push_back({nphost::RunPathName(HistoryFamily::Nt6, path), nRunCount--, 1});
    }
    ASSERT_TRUE(nphost::SeedUsageHistory(HistoryFamily::Nt6, values));
}

// This process's open kernel handles. Wine's GetProcessHandleCount answers 0, so the handle
// values are tried one by one: Windows and Wine both hand out the lowest free value, so the open
// ones lie close together and a long run of free values ends them.
size_t OpenHandles() {
    size_t nOpen = 0;
    for (ULONG_PTR value = 4, nFreeRun = 0; nFreeRun < 64; value += 4) {
        DWORD dwFlags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &dwFlags)) {
            ++nOpen;
            nFreeRun = 0;
        } else {
            ++nFreeRun;
        }
    }
    return nOpen;
}

// Runs `faults` twice and expects the second run to leave as many kernel handles open as it
// found: the first may open what stays for the process (COM, the shell's caches).
void ExpectNoHandleLeft(const std::function<void()>& faults) {
    faults();
    const size_t nBefore = OpenHandles();
    faults();
    EXPECT_EQ(nBefore, OpenHandles()) << "kernel handles left open by the failing operations";
}

class Faults : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(nphost::RemoveTree(kApps));
        ASSERT_TRUE(nphost::RemoveTree(Images()));
        nphost::MakeFolders(kApps);
        nphost::MakeFolders(kPluginFolder);
        nphost::ClearUsageHistory(HistoryFamily::Nt6);
    }
    void TearDown() override {
        nphost::ClearUsageHistory(HistoryFamily::Nt6);
        ::SetFileAttributesW(Images().c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(Images().c_str());
    }
    static std::wstring Images() { return kPluginFolder + L"\\images"; }
};

// --- The images folder cannot be written ----------------------------------------------------

TEST_F(Faults, AFileWhereTheImagesFolderShouldBeLeavesOutEveryHistoryRecord) {
    const std::wstring tool = AppWithIcon(L"tool.exe");
    Seed({tool});
    ASSERT_TRUE(WriteBytes(Images(), Bytes(7, 0x42)));
    Page page;
    ASSERT_TRUE(page.Ready());
    EXPECT_EQ("[ ]", ShowList(page.History()))
        << "no icon can be stored, so no history record may be listed";
    EXPECT_EQ(Bytes(7, 0x42), ReadBytes(Images())) << "the file in the folder's place was touched";
    EXPECT_FALSE(SaveAppIcon(tool, Images()));
}

TEST_F(Faults, AFolderWhereTheBitmapShouldBeFailsItsStore) {
    const std::wstring tool = AppWithIcon(L"tool.exe");
    nphost::MakeFolders(Images() + L"\\tool.bmp");
    EXPECT_FALSE(SaveAppIcon(tool, Images()));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY,
              ::GetFileAttributesW((Images() + L"\\tool.bmp").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows ignores the read-only attribute of a folder when files are made in it (it marks
// folders the shell customised); so does the module.
TEST_F(Faults, AReadOnlyImagesFolderIsStillWritten) {
    nphost::MakeFolders(Images());
    ASSERT_TRUE(::SetFileAttributesW(Images().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(SaveAppIcon(AppWithIcon(L"tool.exe"), Images()));
    EXPECT_EQ(kBitmapFileBytes, ReadBytes(Images() + L"\\tool.bmp").size());
}

// --- A bitmap held by another program ---------------------------------------------------------

// Another program that holds files open, sharing nothing, until it is destroyed.
class FileHolder {
  public:
    explicit FileHolder(const std::vector<std::wstring>& paths) {
        static int nHolder = 0;
        const std::wstring prefix = L"npd-holder-" + std::to_wstring(::GetCurrentProcessId()) +
                                    L"-" + std::to_wstring(++nHolder);
        const std::wstring ready = prefix + L"-ready";
        const std::wstring release = prefix + L"-release";
        hReady_.reset(::CreateEventW(NULL, TRUE, FALSE, ready.c_str()));
        hRelease_.reset(::CreateEventW(NULL, TRUE, FALSE, release.c_str()));
        std::wstring command =
            L"\"" + nphost::BesideExecutable(L"file_holder.exe") + L"\" " + ready + L" " + release;
        for (const std::wstring& path : paths) {
            command += L" \"" + path + L"\"";
        }
        STARTUPINFOW startup;
        ZeroMemory(&startup, sizeof(startup));
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process;
        ZeroMemory(&process, sizeof(process));
        if (!hReady_ || !hRelease_ ||
            !::CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                              &process)) {
            return;
        }
        hProcess_.reset(process.hProcess);
        ::CloseHandle(process.hThread);
        const HANDLE handles[] = {hReady_.get(), hProcess_.get()};
        bHeld_ = ::WaitForMultipleObjects(2, handles, FALSE, nphost::PatientWait(30000)) ==
                 WAIT_OBJECT_0;
    }
    ~FileHolder() {
        if (hProcess_) {
            ::SetEvent(hRelease_.get());
            ::WaitForSingleObject(hProcess_.get(), nphost::PatientWait(30000));
        }
    }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    bool Held() const { return bHeld_; }

  private:
    UniqueHandle hReady_;
    UniqueHandle hRelease_;
    UniqueHandle hProcess_;
    bool bHeld_ = false;
};

TEST_F(Faults, AHeldBitmapFailsItsStoreAndStaysAsTheOtherProgramHasIt) {
    const std::wstring tool = AppWithIcon(L"tool.exe");
    nphost::MakeFolders(Images());
    const std::wstring bitmap = Images() + L"\\tool.bmp";
    ASSERT_TRUE(WriteBytes(bitmap, Bytes(10, 0x42)));
    {
        FileHolder holder({bitmap});
        ASSERT_TRUE(holder.Held());
        ExpectNoHandleLeft([&] { EXPECT_FALSE(SaveAppIcon(tool, Images())); });
        EXPECT_EQ(1u, nphost::FilesIn(Images()).size()) << "the new file was left beside it";
    }
    EXPECT_EQ(Bytes(10, 0x42), ReadBytes(bitmap)) << "the held file was changed or removed";
    EXPECT_TRUE(SaveAppIcon(tool, Images())) << "once let go, the file is stored again";
    EXPECT_EQ(kBitmapFileBytes, ReadBytes(bitmap).size());
}

TEST_F(Faults, AHeldBitmapLeavesOutJustItsRecordAndAnAccessoryStaysListed) {
    const std::wstring first = AppWithIcon(L"first.exe");
    const std::wstring held = AppWithIcon(L"held.exe");
    const std::wstring last = AppWithIcon(L"last.exe");
    Seed({first, held, last});
    nphost::MakeFolders(Images());
    const std::wstring heldBitmap = Images() + L"\\held.bmp";
    const std::wstring notepadBitmap = Images() + L"\\notepad.bmp";
    ASSERT_TRUE(WriteBytes(heldBitmap, Bytes(10, 0x42)));
    ASSERT_TRUE(WriteBytes(notepadBitmap, Bytes(11, 0x43)));
    Page page;
    {
        FileHolder holder({heldBitmap, notepadBitmap});
        ASSERT_TRUE(holder.Held());
        const auto catalogue = page.Split();
        EXPECT_EQ(ShowList({EntryOf(first), EntryOf(last)}), ShowList(catalogue.second));
        ASSERT_EQ(5u, catalogue.first.size());
        EXPECT_NE(std::string::npos, catalogue.first[1].find("\\notepad.exe*"))
            << "an accessory is listed whether or not its icon was stored: " << catalogue.first[1];
    }
    EXPECT_EQ(Bytes(10, 0x42), ReadBytes(heldBitmap));
    EXPECT_EQ(Bytes(11, 0x43), ReadBytes(notepadBitmap));
    EXPECT_EQ(kBitmapFileBytes, ReadBytes(Images() + L"\\last.bmp").size());
}

// --- A hostile history and another user's links ----------------------------------------------

// The bitmap is named for the program's file, "/" and device names included. The Control Panel's
// icon is had by the name alone, so the device program needs no file.
TEST_F(Faults, ProgramsWhoseBitmapWouldLeaveTheFolderOrOpenADeviceAreLeftOut) {
    ::DeleteFileW((kPluginFolder + L"\\tool.bmp").c_str());
    const std::wstring tool = AppWithIcon(L"tool.exe");
    Seed({kApps + L"\\sub\\a/../../tool.exe", kApps + L"\\nul.control.exe", tool});
    EXPECT_EQ(ShowList({EntryOf(tool)}), ShowList(Page().History()));
    EXPECT_FALSE(Exists(kPluginFolder + L"\\tool.bmp")) << "a bitmap was stored beside the module";
}

// The Unix path of a Windows path under Wine; empty elsewhere.
std::wstring UnixPath(const std::wstring& path) {
    typedef char*(CDECL * UnixFileName)(LPCWSTR);
    const UnixFileName unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* szUnix = unixFileName != NULL ? unixFileName(path.c_str()) : NULL;
    const std::wstring unix = szUnix != NULL ? nphost::Widen(szUnix) : std::wstring();
    ::HeapFree(::GetProcessHeap(), 0, szUnix);
    return unix;
}

// A Unix symbolic link while this lives: Wine follows it as Windows follows a junction, and shows
// a link to a folder as a reparse point. Wine 8 makes neither junctions (FSCTL_SET_REPARSE_POINT
// is not supported) nor symbolic links (CreateSymbolicLinkW does nothing), but it starts Unix
// programs, without a handle to wait on: the link is awaited instead.
class UnixLink {
  public:
    UnixLink(const std::wstring& target, const std::wstring& link)
        : link_(link), made_(Run(L"ln -s " + UnixPath(target) + L" " + UnixPath(link), true)) {}
    ~UnixLink() { static_cast<void>(Run(L"rm -f " + UnixPath(link_), false)); } // else SetUp fails
    bool Made() const { return made_; }

  private:
    bool Run(std::wstring command, bool bThere) {
        command = L"Z:\\bin\\" + command;
        STARTUPINFOW startup;
        ZeroMemory(&startup, sizeof(startup));
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process;
        ZeroMemory(&process, sizeof(process));
        if (!::CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                              &process)) {
            return false;
        }
        const UniqueHandle hProcess(process.hProcess), hThread(process.hThread);
        for (DWORD dwStart = ::GetTickCount(); Exists(link_) != bThere; ::Sleep(20)) {
            if (::GetTickCount() - dwStart > nphost::PatientWait(10000)) {
                return false;
            }
        }
        return true;
    }
    std::wstring link_;
    bool made_;
};

// Every user may write a per-machine install's images folder: another user's hard link, symbolic
// link or junction there must not make this user's catalogue write anywhere else.
TEST_F(Faults, LinksPlantedInTheImagesFolderLeadNoBitmapElsewhere) {
    if (UnixPath(kRoot).empty()) {
        GTEST_SKIP() << "the links are made by Wine's Unix side";
    }
    const std::wstring elsewhere = kRoot + L"\\elsewhere";
    ASSERT_TRUE(nphost::RemoveTree(elsewhere));
    nphost::MakeFolders(elsewhere);
    nphost::MakeFolders(Images());
    ASSERT_TRUE(WriteBytes(elsewhere + L"\\hard.txt", Bytes(5, 0x48)));
    ASSERT_TRUE(WriteBytes(elsewhere + L"\\soft.txt", Bytes(5, 0x53)));
    ASSERT_TRUE(::CreateHardLinkW((Images() + L"\\hard.bmp").c_str(),
                                  (elsewhere + L"\\hard.txt").c_str(), NULL));
    const UnixLink soft(elsewhere + L"\\soft.txt", Images() + L"\\soft.bmp");
    ASSERT_TRUE(soft.Made());
    const std::wstring tool = AppWithIcon(L"tool.exe");
    const std::wstring softApp = AppWithIcon(L"soft.exe");
    Seed({AppWithIcon(L"hard.exe"), softApp, tool});
    Page page;
    // A bitmap with a second link stays as it is. Wine shows no reparse point for a link to a
    // file: it is replaced, never written through.
    EXPECT_EQ(ShowList({EntryOf(softApp), EntryOf(tool)}), ShowList(page.History()));
    EXPECT_EQ(Bytes(5, 0x48), ReadBytes(elsewhere + L"\\hard.txt"));
    EXPECT_EQ(Bytes(5, 0x53), ReadBytes(elsewhere + L"\\soft.txt"));

    ASSERT_TRUE(nphost::RemoveTree(Images()));
    const UnixLink junction(elsewhere, Images());
    ASSERT_TRUE(junction.Made());
    EXPECT_EQ("[ ]", ShowList(page.History()));
    EXPECT_EQ((std::vector<std::wstring>{L"hard.txt", L"soft.txt"}), nphost::FilesIn(elsewhere))
        << "bitmaps were written where the images folder's link leads";
}

// Wine serves \\npdhost\share from its prefix's dosdevices\unc folder: a program there would be
// found if the catalogue asked for it.
TEST_F(Faults, HistoryValuesOffADriveAreLeftOutUnasked) {
    const std::wstring unixDrive = UnixPath(L"C:\\");
    if (unixDrive.empty()) {
        GTEST_SKIP() << "the share is served by Wine";
    }
    std::wstring shareFolder = L"Z:" + unixDrive + L"../unc/npdhost/share";
    std::replace(shareFolder.begin(), shareFolder.end(), L'/', L'\\');
    const std::wstring onShare = L"\\\\npdhost\\share\\t.exe";
    ASSERT_TRUE(nphost::CopyProgram(nphost::BesideExecutable(L"marker_program.exe"),
                                    shareFolder + L"\\t.exe"));
    ASSERT_TRUE(nphost::MakeShortcut(kApps + L"\\net.lnk", onShare));
    const std::wstring tool = AppWithIcon(L"tool.exe");
    // An unknown folder and its backslash expand to a backslash, which leaves the share.
    Seed({L"{4E504448-0000-4000-8000-00000000BAD0}" + onShare,
          L"\\\\?\\" + AppWithIcon(L"long.exe"), kApps + L"\\net.lnk", tool});
    EXPECT_EQ(ShowList({EntryOf(tool)}), ShowList(Page().History()));
}

// --- Corrupt shortcut files -----------------------------------------------------------------

struct Damage {
    const wchar_t* name;
    Bytes (*make)(const Bytes& good);
};

const Damage kShortcutDamages[] = {
    {L"empty", [](const Bytes&) { return Bytes(); }},
    {L"cut_in_header", [](const Bytes& good) { return Bytes(good.begin(), good.begin() + 40); }},
    {L"cut_after_header", [](const Bytes& good) { return Bytes(good.begin(), good.begin() + 90); }},
    {L"noise", [](const Bytes& good) { return Noise(good.size(), 7); }},
    {L"header_then_noise",
     [](const Bytes& good) {
         Bytes bytes(good.begin(), good.begin() + 76);
         const Bytes tail = Noise(good.size() - 76, 9);
         bytes.insert(bytes.end(), tail.begin(), tail.end());
         return bytes;
     }},
    {L"lengths_too_long",
     [](const Bytes& good) {
         Bytes bytes = good;
         bytes[76] = 0xFF; // the item list's length, just after the header
         bytes[77] = 0xFF;
         return bytes;
     }},
};

// Corrupt copies of a good shortcut to a program with an icon, each named kApps\<damage>.lnk.
std::vector<std::wstring> CorruptShortcuts() {
    const std::wstring good = kApps + L"\\good.lnk";
    EXPECT_TRUE(nphost::MakeShortcut(good, AppWithIcon(L"target.exe")));
    const Bytes bytes = ReadBytes(good);
    EXPECT_LT(120u, bytes.size()) << "the good shortcut is too short to damage";
    std::vector<std::wstring> paths;
    for (const Damage& damage : kShortcutDamages) {
        paths.push_back(kApps + L"\\" + damage.name + L".lnk");
        EXPECT_TRUE(WriteBytes(paths.back(), bytes.size() < 120 ? Bytes() : damage.make(bytes)));
    }
    return paths;
}

TEST_F(Faults, ACorruptShortcutHasNoTargetNoProductNameAndNoIcon) {
    const std::vector<std::wstring> shortcuts = CorruptShortcuts();
    ExpectNoHandleLeft([&] {
        for (const std::wstring& path : shortcuts) {
            std::wstring target = L"kept";
            EXPECT_FALSE(ResolveShortcutTarget(path, target)) << Show(path);
            EXPECT_EQ(L"kept", target) << Show(path) << ": the target was touched";
            std::wstring name;
            EXPECT_FALSE(GetProductName(path, name)) << Show(path);
            EXPECT_EQ(L"", name) << Show(path);
            UniqueIcon icon(ExtractAppIcon(path));
            EXPECT_FALSE(icon) << Show(path);
            EXPECT_FALSE(SaveAppIcon(path, Images())) << Show(path);
        }
    });
    EXPECT_EQ(0u, nphost::FilesIn(Images()).size()) << "a bitmap was left for a corrupt shortcut";
}

TEST_F(Faults, CorruptShortcutsInTheHistoryAreLeftOutAndTheRestListed) {
    std::vector<std::wstring> history = CorruptShortcuts();
    const std::wstring tool = AppWithIcon(L"tool.exe");
    history.insert(history.begin() + 2, tool);
    Seed(history);
    Page page;
    EXPECT_EQ(ShowList({EntryOf(tool)}), ShowList(page.History()));
}

// --- Programs with a corrupt icon or version resource ----------------------------------------

const wchar_t* const kDamagedIcons[] = {L"icon_cut", L"icon_header", L"icon_huge", L"icon_noise",
                                        L"icon_png"};
const wchar_t* const kDamagedVersions[] = {L"version_noise", L"version_cut",
                                           L"version_unterminated", L"version_no_translation",
                                           L"version_zero_child"};

std::wstring Damaged(const std::wstring& name) {
    return nphost::BesideExecutable(L"damaged_" + name + L".exe");
}

TEST_F(Faults, AProgramWithACorruptIconGivesNoIconAndNoBitmap) {
    ExpectNoHandleLeft([&] {
        for (const wchar_t* name : kDamagedIcons) {
            const std::wstring path = Damaged(name);
            ASSERT_TRUE(Exists(path)) << Show(path);
            UniqueIcon icon(ExtractAppIcon(path));
            if (icon) {
                UniqueBitmap bitmap(IconToBitmap(icon.get(), 32, 32));
                ADD_FAILURE() << Show(name) << ": an icon came from a corrupt image"
                              << (bitmap ? ", and a bitmap from it" : "");
            }
            EXPECT_FALSE(SaveAppIcon(path, Images())) << Show(name);
        }
    });
    EXPECT_EQ(0u, nphost::FilesIn(Images()).size()) << "a bitmap was left for a corrupt icon";
}

TEST_F(Faults, AProgramWithACorruptVersionResourceHasNoProductNameButItsIcon) {
    // Where the name itself is whole, it is read, and nothing beyond it.
    for (const wchar_t* name : {L"version_good", L"version_overlong"}) {
        std::wstring product;
        EXPECT_TRUE(GetProductName(Damaged(name), product)) << Show(name);
        EXPECT_EQ(L"Damaged Tool", product) << Show(name);
    }
    for (const wchar_t* name : kDamagedVersions) {
        const std::wstring path = Damaged(name);
        ASSERT_TRUE(Exists(path)) << Show(path);
        std::wstring product;
        EXPECT_FALSE(GetProductName(path, product)) << Show(name) << " gave " << Show(product);
        EXPECT_EQ(L"", product) << Show(name);
        EXPECT_TRUE(SaveAppIcon(path, Images())) << Show(name);
    }
}

TEST_F(Faults, TheCatalogueLeavesOutCorruptIconsAndListsCorruptVersions) {
    std::vector<std::wstring> history;
    std::vector<std::string> listed;
    for (size_t i = 0; i < 5; ++i) {
        history.push_back(Damaged(kDamagedIcons[i]));
        history.push_back(Damaged(kDamagedVersions[i]));
        listed.push_back(EntryOf(history.back()));
    }
    Seed(history);
    Page page;
    EXPECT_EQ(ShowList(listed), ShowList(page.History()));
}

// --- Small disks: a full one and a read-only one (mounted by small_disks.sh) -----------------

const std::wstring kTinyPlugin = L"T:\\plugin";
const std::wstring kReadOnlyPlugin = L"U:\\plugin";

ULONGLONG FreeBytes(const std::wstring& root) {
    ULARGE_INTEGER free;
    free.QuadPart = 0;
    ::GetDiskFreeSpaceExW(root.c_str(), &free, NULL, NULL);
    return free.QuadPart;
}

class SmallDisk : public Faults {
  protected:
    void SetUp() override {
        Faults::SetUp();
        ASSERT_TRUE(Exists(kTinyPlugin + L"\\npDesklaunch.dll") &&
                    Exists(kReadOnlyPlugin + L"\\npDesklaunch.dll"))
            << "run by small_disks.sh, which maps the small disks T: and U:";
        ASSERT_TRUE(nphost::RemoveTree(kTinyPlugin + L"\\images"));
        ASSERT_TRUE(nphost::RemoveTree(L"T:\\images"));
        ::DeleteFileW(kFiller.c_str());
    }
    void TearDown() override {
        ::DeleteFileW(kFiller.c_str());
        Faults::TearDown();
    }

    // Fills T: up to `nRoom` bytes left: room for the headers of a bitmap file, not its pixels.
    void Fill(ULONGLONG nRoom) {
        const ULONGLONG nFree = FreeBytes(L"T:\\");
        ASSERT_GE(nFree, nRoom);
        ASSERT_TRUE(WriteBytes(kFiller, Bytes(static_cast<size_t>(nFree - nRoom), 0x46)))
            << "a filler of " << nFree - nRoom << " bytes";
        ASSERT_EQ(nRoom, FreeBytes(L"T:\\")) << "the disk was not filled as asked";
    }

    const std::wstring kFiller = L"T:\\filler";
    const ULONGLONG kRoom = 4096;
};

TEST_F(SmallDisk, ABitmapThatFitsIsStoredWhole) {
    const std::wstring tool = AppWithIcon(L"tool.exe");
    ASSERT_TRUE(SaveAppIcon(tool, L"T:\\images"));
    EXPECT_EQ(kBitmapFileBytes, ReadBytes(L"T:\\images\\tool.bmp").size());
}

// With a page left the headers and part of the pixels are written before the disk is full;
// with none, nothing is.
TEST_F(SmallDisk, AWriteThatFillsTheDiskFailsAndLeavesNoPartOfTheFile) {
    const std::wstring tool = AppWithIcon(L"tool.exe");
    for (ULONGLONG nRoom : {kRoom, 0ull}) {
        ::DeleteFileW(kFiller.c_str());
        Fill(nRoom);
        ExpectNoHandleLeft([&] { EXPECT_FALSE(SaveAppIcon(tool, L"T:\\images")) << nRoom; });
        EXPECT_FALSE(Exists(L"T:\\images\\tool.bmp")) << "room " << nRoom << ": a partial bitmap";
        EXPECT_EQ(nRoom, FreeBytes(L"T:\\")) << "the failed write's space was not given back";
    }
}

TEST_F(SmallDisk, OnAFullDiskTheCatalogueListsTheAccessoriesAlone) {
    Seed({AppWithIcon(L"tool.exe")});
    Fill(kRoom);
    Page page(kTinyPlugin);
    ASSERT_TRUE(page.Ready());
    EXPECT_EQ("[ ]", ShowList(page.History()));
    EXPECT_EQ(0u, nphost::FilesIn(kTinyPlugin + L"\\images").size())
        << "partial bitmaps were left on the full disk";
    EXPECT_EQ(kRoom, FreeBytes(L"T:\\"));
}

TEST_F(SmallDisk, OnAReadOnlyDiskNoImagesFolderIsMadeAndNoRecordListed) {
    const std::wstring tool = AppWithIcon(L"tool.exe");
    Seed({tool});
    EXPECT_FALSE(SaveAppIcon(tool, L"U:\\images"));
    Page page(kReadOnlyPlugin);
    ASSERT_TRUE(page.Ready());
    EXPECT_EQ("[ ]", ShowList(page.History()));
    EXPECT_FALSE(Exists(kReadOnlyPlugin + L"\\images"));
    EXPECT_FALSE(Exists(L"U:\\images"));
}

} // namespace
