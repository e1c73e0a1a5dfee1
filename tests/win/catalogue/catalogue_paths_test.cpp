// The images folder beside the code's own module and the accessory paths of this system.
#include <shlobj.h>

#include "catalogue/accessory_apps.h"
#include "icons/images_folder.h"
#include "module_fixture.h"
#include "nphost/browser.h"
#include "system_fixture.h"

namespace {

TEST(CataloguePaths, ImagesFolderIsBesideTheModuleThatHoldsTheCode) {
    // The catalogue code is linked into this test program, so its module is the program.
    wchar_t wszAppFolder[kPathCapacity];
    ASSERT_TRUE(GetImagesFolder(wszAppFolder));
    EXPECT_EQ(nphost::BesideExecutable(L"images"), std::wstring(wszAppFolder));
}

TEST(CataloguePaths, AccessoriesComeFromTheSystemFolderAndItsParent) {
    const std::wstring system = catalogue_test::SpecialFolder(CSIDL_SYSTEM);
    const std::wstring windows = system.substr(0, system.rfind(L'\\'));
    std::vector<WideString> vecAccessory;
    ASSERT_TRUE(GetAccessoryApps(vecAccessory));
    const std::vector<WideString> expected = {system + L"\\mspaint.exe", system + L"\\notepad.exe",
                                              system + L"\\calc.exe", system + L"\\control.exe",
                                              windows + L"\\explorer.exe"};
    EXPECT_EQ(expected, vecAccessory);
}

} // namespace
