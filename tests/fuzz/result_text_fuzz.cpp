// The catalogue text built from hostile paths and names: the accessory block, the history block
// with the store's answers, their join, the images folder and the bitmap file names.
#include <string.h>

#include <vector>

#include "catalogue/accessory_apps.h"
#include "catalogue/catalogue_assembly.h"
#include "catalogue/result_text.h"
#include "catalogue/history_rules.h"
#include "fuzz_input.h"
#include "icons/icon_paths.h"

namespace {

const size_t kMaxRecords = 40;

bool HasBackslash(const WideString& wstrText) {
    return wstrText.find(WIDE('\\')) != WideString::npos;
}

WideString Entry(const WideString& wstrPath, const WideString& wstrName) {
    return wstrPath + WIDE('*') + wstrName + WIDE('#');
}

// A path buffer filled from the input: a text cut to fit, or every unit raw and no terminator.
void FillField(FuzzInput& input, WideChar (&wszField)[kPathCapacity]) {
    if ((input.Byte() & 7) == 0) {
        for (size_t i = 0; i < kPathCapacity; ++i) {
            wszField[i] = static_cast<WideChar>(input.Unit16() | 1);
        }
        return;
    }
    CopyToBuffer(wszField, kPathCapacity, input.Text(300));
}

// Answers from the input, and remembers which paths it was asked to store.
class AnsweringStore : public IconStore {
  public:
    AnsweringStore(FuzzInput& input, const WideString& wstrFolder)
        : input_(input), wstrFolder_(wstrFolder) {}
    bool SaveAppIcon(const WideString& wstrAppPath, WideString wstrImagesFolder) override {
        FUZZ_CHECK(wstrImagesFolder == wstrFolder_);
        asked.push_back(wstrAppPath);
        answers.push_back((input_.Byte() & 3) != 0);
        return answers.back();
    }
    std::vector<WideString> asked;
    std::vector<bool> answers;

  private:
    FuzzInput& input_;
    WideString wstrFolder_;
};

WideString CheckAccessoryBlock(FuzzInput& input, const WideString& wstrFolder,
                               const std::vector<WideString>& vecAccessory) {
    AnsweringStore store(input, wstrFolder);
    const WideString wstrBlock = BuildAccessoryBlock(wstrFolder, vecAccessory, store);
    WideString wstrExpected;
    std::vector<WideString> vecStored;
    for (size_t k = 0; k < vecAccessory.size() && k < kAccessoryCount; ++k) {
        if (HasBackslash(vecAccessory[k])) {
            wstrExpected += Entry(vecAccessory[k], AccessoryDisplayNames[k]);
            vecStored.push_back(vecAccessory[k]);
        }
    }
    // Listed whatever the store said; stored only where there is a folder to store in.
    FUZZ_CHECK(wstrBlock == wstrExpected);
    FUZZ_CHECK(store.asked == (wstrFolder.empty() ? std::vector<WideString>() : vecStored));
    return wstrBlock;
}

WideString CheckHistoryBlock(FuzzInput& input, const WideString& wstrFolder,
                             const std::vector<AppEntry>& vecAllApps,
                             const std::vector<WideString>& vecAccessory, bool bNt5) {
    const AccessoryDuplicateTest isDuplicate =
        bNt5 ? IsAccessoryDuplicateNt5 : IsAccessoryDuplicateNt6;
    AnsweringStore store(input, wstrFolder);
    const WideString wstrBlock =
        BuildHistoryBlock(wstrFolder, vecAllApps, vecAccessory, isDuplicate, store);
    // The records offered to the store are, in list order, every record that is no accessory's
    // duplicate and whose icon path has a backslash, until 20 have been listed.
    WideString wstrExpected;
    size_t nAsked = 0;
    int nListed = 0;
    for (size_t i = 0; i < vecAllApps.size() && !wstrFolder.empty() && nListed < kHistorySlots;
         ++i) {
        const AppEntry& ad = vecAllApps[i];
        const WideString wstrIconPath = TextBeforeZero(ad.wszIconPath, kPathCapacity);
        if (isDuplicate(ad, vecAccessory) || !HasBackslash(wstrIconPath)) {
            continue;
        }
        FUZZ_CHECK(nAsked < store.asked.size());
        FUZZ_CHECK(store.asked[nAsked] == wstrIconPath);
        if (store.answers[nAsked]) {
            wstrExpected += Entry(TextBeforeZero(ad.wszExePath, kPathCapacity),
                                  TextBeforeZero(ad.wszAppName, kPathCapacity));
            ++nListed;
        }
        ++nAsked;
    }
    FUZZ_CHECK(nAsked == store.asked.size());
    FUZZ_CHECK(wstrBlock == wstrExpected);
    return wstrBlock;
}

// Every listed path names a bitmap file in the images folder, or is refused as too long.
void CheckBitmapNames(const WideString& wstrFolder, const std::vector<WideString>& vecPaths) {
    for (const WideString& wstrPath : vecPaths) {
        const WideString wstrName = AppIconName(wstrPath);
        FUZZ_CHECK(!HasBackslash(wstrName));
        WideString wstrFile = WIDE("untouched");
        if (BitmapFilePath(wstrFolder, wstrName, &wstrFile)) {
            // The file stays in the folder: no other separator, no stream, no way up.
            FUZZ_CHECK(wstrName.find_first_of(WIDE("/:")) == WideString::npos);
            FUZZ_CHECK(wstrName != WIDE("..") && IsStorableBitmapName(wstrName));
            FUZZ_CHECK(wstrFile == wstrFolder + WIDE("\\") + wstrName + WIDE(".bmp"));
            FUZZ_CHECK(wstrFile.size() < kPathCapacity);
        } else {
            FUZZ_CHECK(wstrFile == WIDE("untouched"));
            FUZZ_CHECK(!IsStorableBitmapName(wstrName) ||
                       wstrFolder.size() + wstrName.size() + 5 >= kPathCapacity);
        }
        const WideString wstrParent = ParentFolder(wstrPath);
        FUZZ_CHECK(StartsWith(wstrPath, wstrParent));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t flags = input.Byte();

    const WideString wstrModule = input.Text(300);
    const WideString wstrFolder = ImagesFolderBeside(wstrModule);
    const WideString kImages = WIDE("\\images");
    FUZZ_CHECK(wstrFolder.empty() ||
               (wstrFolder.size() < kPathCapacity && EndsWith(wstrFolder, kImages)));
    FUZZ_CHECK(!wstrFolder.empty() || wstrModule.size() + kImages.size() >= kPathCapacity);

    std::vector<WideString> vecAccessory;
    if ((flags & 1) != 0) {
        const WideString wstrSystem = input.Text(300);
        const bool bMade = AccessoryPathsFromSystemFolder(wstrSystem, vecAccessory);
        FUZZ_CHECK(vecAccessory.size() == (bMade ? kAccessoryCount : 0));
        for (const WideString& wstrPath : vecAccessory) {
            FUZZ_CHECK(wstrPath.size() < kPathCapacity && HasBackslash(wstrPath));
        }
    } else {
        for (size_t k = input.Below(7); k > 0; --k) {
            vecAccessory.push_back(input.Text(300));
        }
    }

    std::vector<AppEntry> vecAllApps(input.Below(kMaxRecords));
    for (AppEntry& ad : vecAllApps) {
        ad.nRunCount = input.Int32();
        ad.nFocusCount = input.Int32();
        FillField(input, ad.wszIconPath);
        if ((input.Byte() & 1) != 0) {
            FillField(input, ad.wszExePath);
        } else {
            memcpy(ad.wszExePath, ad.wszIconPath, sizeof(ad.wszExePath));
        }
        FillField(input, ad.wszAppName);
    }
    SortByRunCount(vecAllApps);
    for (size_t i = 1; i < vecAllApps.size(); ++i) {
        FUZZ_CHECK(vecAllApps[i - 1].nRunCount >= vecAllApps[i].nRunCount);
    }

    const WideString wstrAccessoryBlock = CheckAccessoryBlock(input, wstrFolder, vecAccessory);
    const WideString wstrHistoryBlock =
        CheckHistoryBlock(input, wstrFolder, vecAllApps, vecAccessory, (flags & 2) != 0);
    WideString wstrResult = WIDE("stale");
    const size_t nLength = JoinResultText(wstrResult, wstrAccessoryBlock, wstrHistoryBlock);
    FUZZ_CHECK(wstrResult == wstrAccessoryBlock + wstrHistoryBlock);
    FUZZ_CHECK(nLength == wstrResult.size());
    FUZZ_CHECK(wstrResult.empty() || wstrResult.back() == WIDE('#'));

    std::vector<WideString> vecPaths = vecAccessory;
    for (const AppEntry& ad : vecAllApps) {
        vecPaths.push_back(TextBeforeZero(ad.wszIconPath, kPathCapacity));
    }
    CheckBitmapNames(wstrFolder, vecPaths);
    return 0;
}
