// The two blocks of the catalogue text: which records are listed, which icons are stored, and in
// what order.
#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <string>
#include <vector>

#include "catalogue/accessory_apps.h"
#include "catalogue/catalogue_assembly.h"
#include "support/readable_text.h"

namespace {

const WideString kImages = u"C:\\Plugins\\images";

// Records every store and fails those of the paths it is told.
class FakeIconStore : public IconStore {
  public:
    bool SaveAppIcon(const WideString& wstrAppPath, WideString wstrImagesFolder) override {
        stored.push_back(wstrAppPath);
        folders.insert(wstrImagesFolder);
        return failing.count(wstrAppPath) == 0;
    }
    std::vector<WideString> stored;
    std::set<WideString> folders;
    std::set<WideString> failing;
};

AppEntry Record(const WideString& wstrExePath, const WideString& wstrName,
                const WideString& wstrIconPath = WideString()) {
    AppEntry ad;
    memset(&ad, 0, sizeof(ad));
    CopyToBuffer(ad.wszExePath, kPathCapacity, wstrExePath);
    CopyToBuffer(ad.wszIconPath, kPathCapacity, wstrIconPath.empty() ? wstrExePath : wstrIconPath);
    CopyToBuffer(ad.wszAppName, kPathCapacity, wstrName);
    return ad;
}

// Records whose name begins with "dup" stand for accessory duplicates.
bool NamedDuplicate(const AppEntry& ad, const std::vector<WideString>&) {
    return TextBeforeZero(ad.wszAppName, kPathCapacity).compare(0, 3, u"dup") == 0;
}

std::vector<AppEntry> Numbered(int nCount) {
    std::vector<AppEntry> vecAllApps;
    for (int i = 0; i < nCount; ++i) {
        const std::u16string n = std::u16string(1, static_cast<char16_t>(u'a' + i / 10)) +
                                 static_cast<char16_t>(u'0' + i % 10);
        vecAllApps.push_back(Record(u"D:\\Apps\\" + n + u".exe", n));
    }
    return vecAllApps;
}

WideString Entries(const std::vector<AppEntry>& vecAllApps, size_t nFirst, size_t nEnd) {
    WideString text;
    for (size_t i = nFirst; i < nEnd; ++i) {
        text += TextBeforeZero(vecAllApps[i].wszExePath, kPathCapacity) + u"*" +
                TextBeforeZero(vecAllApps[i].wszAppName, kPathCapacity) + u"#";
    }
    return text;
}

const std::vector<WideString> kAccessories = {
    u"C:\\WINDOWS\\system32\\mspaint.exe", u"C:\\WINDOWS\\system32\\notepad.exe",
    u"C:\\WINDOWS\\system32\\calc.exe", u"C:\\WINDOWS\\system32\\control.exe",
    u"C:\\WINDOWS\\explorer.exe"};

WideString AccessoryEntry(size_t k) {
    return kAccessories[k] + u"*" + AccessoryDisplayNames[k] + u"#";
}

TEST(AccessoryBlock, ListsEveryAccessoryInOrderWhetherOrNotItsIconWasStored) {
    FakeIconStore store;
    store.failing = {kAccessories[0], kAccessories[3]};
    const WideString text = BuildAccessoryBlock(kImages, kAccessories, store);
    WideString expected;
    for (size_t k = 0; k < kAccessories.size(); ++k) {
        expected += AccessoryEntry(k);
    }
    EXPECT_EQ(expected, text) << "got: " << Show(text);
    EXPECT_EQ(kAccessories, store.stored) << "one store per accessory, in order";
    EXPECT_EQ(std::set<WideString>{kImages}, store.folders);
}

TEST(AccessoryBlock, APathWithoutBackslashIsSkippedAndTheNamesStayWithTheirPositions) {
    std::vector<WideString> vecAccessory = kAccessories;
    vecAccessory[1] = u"notepad.exe";
    FakeIconStore store;
    const WideString text = BuildAccessoryBlock(kImages, vecAccessory, store);
    EXPECT_EQ(AccessoryEntry(0) + AccessoryEntry(2) + AccessoryEntry(3) + AccessoryEntry(4), text)
        << "got: " << Show(text);
    EXPECT_EQ(4u, store.stored.size()) << "no store for the skipped path";
}

TEST(AccessoryBlock, NoAccessoriesGiveTheEmptyBlockAndExtraPathsHaveNoName) {
    FakeIconStore store;
    EXPECT_EQ(u"", BuildAccessoryBlock(kImages, {}, store));
    std::vector<WideString> vecAccessory = kAccessories;
    vecAccessory.push_back(u"C:\\WINDOWS\\extra.exe");
    const WideString text = BuildAccessoryBlock(kImages, vecAccessory, store);
    EXPECT_EQ(WideString::npos, text.find(u"extra")) << "got: " << Show(text);
}

TEST(HistoryBlock, ListsTheFirstTwentyInListOrderAndStoresNoIconBeyondThem) {
    const std::vector<AppEntry> vecAllApps = Numbered(25);
    FakeIconStore store;
    const WideString text =
        BuildHistoryBlock(kImages, vecAllApps, kAccessories, NamedDuplicate, store);
    EXPECT_EQ(Entries(vecAllApps, 0, 20), text) << "got: " << Show(text);
    EXPECT_EQ(20u, store.stored.size()) << "icons of records after the twentieth were stored";
}

TEST(HistoryBlock, SkippedRecordsUseNoSlot) {
    struct Case {
        const char* what;
        AppEntry skipped;
        bool bStored; // whether the skipped record's icon store is attempted
    };
    const Case cases[] = {
        {"a failed icon store", Record(u"D:\\Broken\\broken.exe", u"broken"), true},
        {"an accessory duplicate", Record(u"D:\\Dup\\dup.exe", u"dup"), false},
        {"an icon path without backslash", Record(u"D:\\Odd\\odd.exe", u"odd", u"odd.exe"), false},
    };
    for (const Case& c : cases) {
        std::vector<AppEntry> vecAllApps = Numbered(21);
        vecAllApps.insert(vecAllApps.begin() + 3, c.skipped);
        FakeIconStore store;
        store.failing = {u"D:\\Broken\\broken.exe"};
        const WideString text =
            BuildHistoryBlock(kImages, vecAllApps, kAccessories, NamedDuplicate, store);
        EXPECT_EQ(Entries(vecAllApps, 0, 3) + Entries(vecAllApps, 4, 21), text)
            << c.what << ": got " << Show(text);
        EXPECT_EQ(c.bStored ? 21u : 20u, store.stored.size()) << c.what;
    }
}

TEST(HistoryBlock, AnEntryCarriesTheExecutableAndNameWhileTheIconComesFromTheIconPath) {
    FakeIconStore store;
    const std::vector<AppEntry> vecAllApps = {
        Record(u"D:\\Word\\winword.exe", u"Word #2", u"D:\\Icons\\word.exe")};
    const WideString text =
        BuildHistoryBlock(kImages, vecAllApps, kAccessories, NamedDuplicate, store);
    EXPECT_EQ(u"D:\\Word\\winword.exe*Word #2#", text) << "got: " << Show(text);
    EXPECT_EQ(std::vector<WideString>{u"D:\\Icons\\word.exe"}, store.stored);
}

TEST(HistoryBlock, WithoutAnImagesFolderNoIconIsStoredAndNothingIsListed) {
    FakeIconStore store;
    EXPECT_EQ(u"", BuildHistoryBlock(u"", Numbered(3), kAccessories, NamedDuplicate, store));
    EXPECT_TRUE(store.stored.empty());
    const WideString text = BuildAccessoryBlock(u"", kAccessories, store);
    EXPECT_EQ(AccessoryEntry(0), text.substr(0, AccessoryEntry(0).size()));
    EXPECT_TRUE(store.stored.empty()) << "an icon was stored with no folder";
}

} // namespace
