#pragma once

#include "ui/MissingImageRegistry.h"

#include <gtest/gtest.h>

#include <string>

namespace zorlet::test {

// Fails the test program when anything it ran asked for a picture that has no
// asset under resources/images: every name a screen uses must be drawn.
// Suites that drive screens register it once, with a file containing
//     ZORLET_GUARD_MISSING_ASSETS();
class MissingAssetGuard : public ::testing::Environment {
public:
    void SetUp() override { MissingImageRegistry::shared().clear(); }
    void TearDown() override {
        std::string names;
        for (const std::string& name : MissingImageRegistry::shared().asked()) {
            names += (names.empty() ? "" : ", ") + name;
        }
        EXPECT_TRUE(names.empty()) << "pictures asked for without an asset in resources/images: " << names;
    }
};

}  // namespace zorlet::test

#define ZORLET_GUARD_MISSING_ASSETS()                                               \
    [[maybe_unused]] static ::testing::Environment* const zorletMissingAssetGuard = \
        ::testing::AddGlobalTestEnvironment(new ::zorlet::test::MissingAssetGuard)
