#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/Json.h"
#include "platform/Reachability.h"
#include "ui/AlertRegistry.h"

#include "support/LoopTest.h"
#include "support/ScriptedServer.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace zorlet::test {
namespace {

constexpr const char* kGeneric = "网络不给力，稍后再试吧";

struct Case {
    std::string name;
    std::string body;
};

std::vector<Case> parsingCases() {
    std::vector<Case> cases;
    std::filesystem::path folder =
        std::filesystem::path(ZORLET_TESTDATA_DIR) / "JSONTestSuite" / "test_parsing";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".json") {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        cases.push_back({entry.path().filename().string(), std::string((std::istreambuf_iterator<char>(in)),
                                                                       std::istreambuf_iterator<char>())});
    }
    std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) { return a.name < b.name; });
    return cases;
}

// Every file of the JSON parsing conformance suite, served by a real server
// as the body of an API answer and read the way every screen reads one.
class JsonConformanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        UrlUtils::setBaseUrl(server_.url());
        Reachability::shared().setNetworkAvailable(true);
        AlertRegistry::shared().clear();
        server_.on("/case", [this](const RecordedRequest& request, Reply& reply) {
            std::lock_guard lock(mutex_);
            reply.body = bodies_[request.param("n")];
        });
    }
    void TearDown() override { AlertRegistry::shared().clear(); }

    struct Outcome {
        bool accepted = false;
        std::optional<Json> envelope;
        std::vector<std::string> alerts;
    };
    Outcome fetch(const std::string& body) {
        std::string key = std::to_string(next_++);
        {
            std::lock_guard lock(mutex_);
            bodies_[key] = body;
        }
        AlertRegistry::shared().clear();
        Outcome outcome;
        bool done = false;
        auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("case"), {{"n", key}});
        EXPECT_TRUE(request);
        HttpRequestSender::doRequest(
            request, nullptr,
            [&](const Json& envelope) {
                outcome.accepted = true;
                outcome.envelope = envelope;
                done = true;
            },
            [&] { done = true; });
        EXPECT_TRUE(waitUntil([&] { return done; }));
        outcome.alerts = AlertRegistry::shared().shownAlertTitles();
        return outcome;
    }

    ScriptedServer server_;
    std::mutex mutex_;
    std::map<std::string, std::string> bodies_;
    int next_ = 0;
};

TEST_F(JsonConformanceTest, EveryParsingCaseEndsInAcceptanceOrTheStandardFailure) {
    auto cases = parsingCases();
    if (cases.empty()) {
        GTEST_SKIP() << "JSONTestSuite not found under " << ZORLET_TESTDATA_DIR
                     << "; set ZORLET_TESTDATA_DIR to the folder holding JSONTestSuite";
    }
    auto started = std::chrono::steady_clock::now();
    std::size_t refused = 0;
    std::size_t wrappedAccepted = 0;
    std::size_t ys = 0;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        Outcome outcome = fetch(test.body);
        char kind = test.name[0];
        if (kind == 'n') {
            // Not JSON: refused, with the one text the user sees for an unreadable answer.
            EXPECT_FALSE(outcome.accepted);
            EXPECT_EQ(outcome.alerts, std::vector<std::string>{kGeneric});
            ++refused;
            continue;
        }
        if (!outcome.accepted) {
            // A refusal always tells the user something.
            EXPECT_EQ(outcome.alerts.size(), 1u);
        }
        if (kind != 'y') {
            continue;  // either outcome is allowed, as long as the client stands
        }
        ++ys;
        auto value = parseJson(test.body);
        ASSERT_TRUE(value) << "a valid document was not read";
        bool validEnvelope = value->is_object() && value->contains("success") && (*value)["success"] == true;
        EXPECT_EQ(outcome.accepted, validEnvelope);
        // The same document as the result of a successful answer is accepted and arrives intact.
        Outcome wrapped = fetch(R"({"success":true,"errorCode":0,"result":)" + test.body + "}");
        EXPECT_TRUE(wrapped.accepted);
        EXPECT_TRUE(wrapped.alerts.empty());
        if (wrapped.envelope) {
            EXPECT_EQ((*wrapped.envelope)["result"], *value);
            ++wrappedAccepted;
        }
    }
    EXPECT_EQ(refused, 188u);
    EXPECT_EQ(ys, 95u);
    EXPECT_EQ(wrappedAccepted, ys);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

}  // namespace
}  // namespace zorlet::test
