// The OS family from a version query's platform and major version.
#include <gtest/gtest.h>

#include "app/os_family.h"

namespace {

TEST(OsFamily, ClassifiesPlatformAndMajorVersion) {
    struct Case {
        bool bQueried;
        unsigned long platform;
        unsigned long major;
        OsFamily expected;
    } cases[] = {
        {true, 1, 4, OsFamilyWin9x}, {true, 2, 4, OsFamilyNt4},   {true, 2, 5, OsFamilyNt5},
        {true, 2, 6, OsFamilyNt6},   {true, 2, 10, OsFamilyNt6},  {true, 2, 3, OsFamilyOther},
        {true, 0, 5, OsFamilyOther}, {true, 3, 6, OsFamilyOther}, {false, 2, 6, OsFamilyOther},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, ClassifyOsFamily(c.bQueried, c.platform, c.major))
            << "queried " << c.bQueried << ", platform " << c.platform << ", major " << c.major;
    }
}

TEST(OsFamily, OnlyNt5AndNt6AreServed) {
    EXPECT_FALSE(IsServedOsFamily(OsFamilyOther));
    EXPECT_FALSE(IsServedOsFamily(OsFamilyWin9x));
    EXPECT_FALSE(IsServedOsFamily(OsFamilyNt4));
    EXPECT_TRUE(IsServedOsFamily(OsFamilyNt5));
    EXPECT_TRUE(IsServedOsFamily(OsFamilyNt6));
}

} // namespace
