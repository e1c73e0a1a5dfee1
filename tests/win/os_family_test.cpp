// The OS family as each Windows version reports it, and what the methods do on each.
#include "host/file_dialog_driver.h"
#include "module_fixture.h"
#include "app/os_family.h"
#include "nphost/dialog_watcher.h"

namespace {

using nphost::Arguments;
using nphost::Browser;

class OsFamilyOfThisSystem : public ::testing::Test {
  protected:
    void SetUp() override {
        if (g_expectedFamily < 0) {
            GTEST_SKIP() << "no --expected-family given";
        }
    }
};

TEST_F(OsFamilyOfThisSystem, IsDetectedFromTheReportedVersion) {
    OSVERSIONINFOW osvi = {};
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    GetVersionExW(&osvi);
    EXPECT_EQ(g_expectedFamily, DetectOsFamily())
        << "platform " << osvi.dwPlatformId << ", version " << osvi.dwMajorVersion << "."
        << osvi.dwMinorVersion;
}

TEST_F(OsFamilyOfThisSystem, DecidesWhetherMethodsWorkButNotWhetherTheyExist) {
    nphost::Instance instance(Module());
    NPObject* object = instance.ScriptableObject();
    ASSERT_NE(nullptr, object);
    const bool bServed = g_expectedFamily == OsFamilyNt5 || g_expectedFamily == OsFamilyNt6;
    for (const char* name :
         {"RecentlyApplications", "RunAppointedApplication", "SelectApplications"}) {
        EXPECT_TRUE(
            nphost::CheckedClass()->hasMethod(object, Browser::Get().StringIdentifier(name)))
            << name;
    }
    NPObject* function = Browser::Get().CreateFunction();
    NPVariant result = Sentinel();
    {
        nphost::DialogWatcher watcher;
        NPVariant catalogue = Sentinel();
        EXPECT_EQ(bServed, Browser::Get().CallMethod(object, "RecentlyApplications", Arguments(),
                                                     &catalogue));
        EXPECT_EQ(bServed, catalogue.type == NPVariantType_String)
            << "a catalogue exactly where the family is served";
        if (catalogue.type == NPVariantType_String) {
            Browser::Get().ReleaseVariantValue(&catalogue);
        }
        EXPECT_EQ(bServed, Browser::Get().CallMethod(object, "RunAppointedApplication",
                                                     Arguments().String(""), &result));
        EXPECT_TRUE(watcher.Boxes().empty());
    }
    EXPECT_EQ(bServed, Browser::Get().CallMethod(object, "SelectApplications",
                                                 Arguments().Object(function), &result));
    EXPECT_TRUE(IsSentinel(result));
    if (bServed) {
        // The picker's dialog opens; the user cancels it.
        const HWND hDialog = nphost::WaitForFileDialog(10000);
        ASSERT_NE(nullptr, hDialog) << "no open-file dialog appeared";
        nphost::PressCancel(hDialog);
    }
    Browser::Get().PumpUntil([&] { return function->referenceCount == 1; }, 10000);
    EXPECT_EQ(1u, function->referenceCount);
    Browser::Get().ReleaseObject(function);
}

} // namespace
