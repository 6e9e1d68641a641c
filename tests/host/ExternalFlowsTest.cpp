#include "HostTestSupport.h"

#include "model/User.h"
#include "session/UserContext.h"

namespace zorlet::test {
namespace {

// The external places flow of flows/ that CI runs against the in-process sandbox.
class ExternalFlowsTest : public HostTest {};

TEST_F(ExternalFlowsTest, APlaceIsFoundNearbyAndSharedWithADayAndAComment) {
    auto result = runFlowFile(sourceFolder() / "flows/external-places.yaml");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    for (const char* shot : {"external-categories", "external-places", "external-place-page",
                             "external-share", "external-shared"}) {
        EXPECT_TRUE(std::filesystem::exists(screenshots_ / (std::string(shot) + ".png"))) << shot;
    }
    EXPECT_TRUE(UserContext::hasLogin());
}

}  // namespace
}  // namespace zorlet::test
