#include "host/HostOptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorlet::test {
namespace {

Result<HostOptions> parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "zorlet");
    return HostOptions::parse(static_cast<int>(arguments.size()), arguments.data());
}

TEST(HostOptionsTest, ModesAndFoldersAreRead) {
    auto flow = parse({"--sandbox", "--flow", "a.yaml", "--data", "/tmp/d", "--location", "39.9,116.4"});
    ASSERT_TRUE(flow) << flow.error();
    EXPECT_EQ(flow->mode, HostOptions::Mode::Flow);
    EXPECT_TRUE(flow->sandbox);
    EXPECT_EQ(flow->flowFile, "a.yaml");
    EXPECT_EQ(flow->dataFolder, "/tmp/d");
    EXPECT_DOUBLE_EQ(*flow->latitude, 39.9);
    EXPECT_DOUBLE_EQ(*flow->longitude, 116.4);

    auto tour = parse({"--api", "https://api.example.com", "--tour", "out"});
    ASSERT_TRUE(tour) << tour.error();
    EXPECT_EQ(tour->mode, HostOptions::Mode::Tour);
    EXPECT_EQ(tour->apiUrl, "https://api.example.com");

    auto automatic = parse({"--sandbox"});
    ASSERT_TRUE(automatic) << automatic.error();
    EXPECT_EQ(automatic->mode, HostOptions::Mode::Automatic);
    auto help = parse({"--help"});
    ASSERT_TRUE(help) << help.error();
    EXPECT_TRUE(help->help);

    // South and west are negative: such a value is the option's, not another option.
    auto south = parse({"--sandbox", "--location", "-33.87,-151.21", "--no-sms"});
    ASSERT_TRUE(south) << south.error();
    EXPECT_DOUBLE_EQ(*south->latitude, -33.87);
    EXPECT_DOUBLE_EQ(*south->longitude, -151.21);
    EXPECT_FALSE(south->canSendText);
    EXPECT_TRUE(south->canSendMail);
    // A repeated option keeps its last value.
    auto twice = parse({"--sandbox", "--data", "a", "--data=b"});
    ASSERT_TRUE(twice) << twice.error();
    EXPECT_EQ(twice->dataFolder, "b");
}

TEST(HostOptionsTest, NonsenseIsRefusedWithAReason) {
    struct Case {
        std::vector<const char*> arguments;
        const char* reason;
    };
    std::vector<Case> cases = {
        {{}, "--sandbox or --api"},
        {{"--sandbox", "--api", "http://x"}, "exclude"},
        {{"--api", "ftp://x"}, "http://"},
        {{"--sandbox", "--flow"}, "needs a value"},
        {{"--sandbox", "--flow", "a.yaml", "--tour", "t"}, "choose one"},
        {{"--sandbox", "--location", "91,0"}, "LAT,LON"},
        {{"--sandbox", "--location", "39.9"}, "LAT,LON"},
        {{"--sandbox", "--fast"}, "unknown option --fast"},
        {{"--sandbox", "stray"}, "unknown option stray"},
        {{"--sandbox", "--flow", ""}, "--flow needs a value"},
        {{"--sandbox", "--window", "--window"}, "choose one"},
        {{"--api", "http://x", "--sandbox-data", "d"}, "needs --sandbox"},
    };
    for (const Case& c : cases) {
        auto refused = parse(c.arguments);
        EXPECT_FALSE(refused);
        EXPECT_NE(refused.error().find(c.reason), std::string::npos) << refused.error();
    }
}

}  // namespace
}  // namespace zorlet::test
