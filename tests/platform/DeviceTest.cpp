#include "platform/Device.h"

#include <gtest/gtest.h>

using namespace zorlet;

namespace {

TEST(Device, VersionsCompareNumberByNumberNotAsText) {
    EXPECT_LT(Device::compareVersions("6.0", "10.0"), 0);  // text order would say otherwise
    EXPECT_LT(Device::compareVersions("6.0", "6.0.1"), 0);
    EXPECT_EQ(Device::compareVersions("6", "6.0.0"), 0);
    EXPECT_GT(Device::compareVersions("5.1", "5.0.9"), 0);
    EXPECT_EQ(Device::compareVersions("", "0"), 0);
    EXPECT_EQ(Device::compareVersions("x.1", "0.1"), 0);
    EXPECT_GT(Device::compareVersions("99999999999999999999999", "1"), 0);
}

TEST(Device, TheSystemIsModernSoVersionBranchesTakeTheCurrentPath) {
    EXPECT_TRUE(Device::systemVersionAtLeast("4.0"));
    EXPECT_TRUE(Device::systemVersionAtLeast("5.0"));
    EXPECT_TRUE(Device::systemVersionAtLeast("6.0"));
    EXPECT_FALSE(Device::systemVersionAtLeast("99.0"));
    EXPECT_EQ(Device::compareVersions(Device::systemVersion(), "17.0"), 0);
}

}  // namespace
