#include "platform/HttpQueue.h"
#include "platform/HttpRequest.h"
#include "platform/MainLoop.h"

#include "support/LoopTest.h"
#include "support/ScriptedServer.h"

#include <chrono>
#include <string>
#include <vector>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

// A record queued work carries by reference, as a conversation's message would be.
struct QueuedNote {
    std::string text;
    std::string state = "waiting";
};

class HttpQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        server_.on("/send", [](const RecordedRequest&, Reply& reply) {
            reply.body = "{}";
            reply.stall = 100ms;
        });
        server_.on("/slow", [](const RecordedRequest&, Reply& reply) {
            reply.body = "{}";
            reply.stall = 3s;
        });
        server_.on("/drop", [](const RecordedRequest&, Reply& reply) { reply.drop = true; });
    }

    // A request that records how it ended in its note.
    HttpRequestPtr noteRequest(const std::string& path, const std::shared_ptr<QueuedNote>& note) {
        auto request = HttpRequest::createForm(server_.url(path));
        request->setPostValue("text", note->text);
        request->userInfo()["note"] = note;
        request->setCompletionBlock([this, note](HttpRequest&) {
            note->state = "sent";
            ended_.push_back(note->text + ":sent");
        });
        request->setFailedBlock([this, note](HttpRequest& failed) {
            bool cancelled = failed.error() && failed.error()->kind == HttpErrorKind::Cancelled;
            note->state = cancelled ? "cancelled" : "failed";
            ended_.push_back(note->text + ":" + note->state);
        });
        return request;
    }

    std::vector<std::string> arrivedTexts() const {
        std::vector<std::string> texts;
        for (const auto& request : server_.requests()) {
            texts.push_back(request.param("text"));
        }
        return texts;
    }

    ScriptedServer server_;
    std::vector<std::string> ended_;
};

TEST_F(HttpQueueTest, AQueueOfOneRunsItsRequestsOneAtATimeInOrderAndTellsWhenEachStarts) {
    auto queue = std::make_shared<HttpQueue>(1);
    std::vector<std::string> started;
    queue->setRequestStartedHandler([&](HttpRequest& request) {
        auto note = request.userInfoValue<std::shared_ptr<QueuedNote>>("note");
        ASSERT_NE(note, nullptr);
        (*note)->state = "sending";
        started.push_back((*note)->text);
    });
    std::vector<std::shared_ptr<QueuedNote>> notes;
    for (const char* text : {"一", "二", "三", "四"}) {
        notes.push_back(std::make_shared<QueuedNote>(QueuedNote{text}));
        queue->add(noteRequest("/send", notes.back()));
    }
    EXPECT_EQ(queue->runningCount(), 1);
    EXPECT_EQ(queue->waitingCount(), 3u);
    EXPECT_EQ(notes[0]->state, "sending");
    EXPECT_EQ(notes[1]->state, "waiting");

    ASSERT_TRUE(waitUntil([&] { return ended_.size() == 4; }));
    EXPECT_EQ(started, (std::vector<std::string>{"一", "二", "三", "四"}));
    EXPECT_EQ(ended_, (std::vector<std::string>{"一:sent", "二:sent", "三:sent", "四:sent"}));
    EXPECT_EQ(arrivedTexts(), (std::vector<std::string>{"一", "二", "三", "四"}));
    EXPECT_EQ(server_.highestInFlight(), 1);
    EXPECT_EQ(queue->highestRunningCount(), 1);
    // The shared queue was not involved and keeps its width.
    EXPECT_EQ(HttpQueue::shared().maxConcurrentOperationCount(), 20);
}

TEST_F(HttpQueueTest, ASuspendedQueueStartsNothingUntilResumed) {
    auto queue = std::make_shared<HttpQueue>(1);
    queue->suspend();
    EXPECT_TRUE(queue->isSuspended());
    queue->add(noteRequest("/send", std::make_shared<QueuedNote>(QueuedNote{"a"})));
    queue->add(noteRequest("/send", std::make_shared<QueuedNote>(QueuedNote{"b"})));
    MainLoop::main().runUntil([] { return false; }, 300ms);
    EXPECT_TRUE(server_.requests().empty());
    EXPECT_EQ(queue->requestsCount(), 2u);

    queue->resume();
    EXPECT_FALSE(queue->isSuspended());
    ASSERT_TRUE(waitUntil([&] { return ended_.size() == 2; }));
    EXPECT_EQ(ended_, (std::vector<std::string>{"a:sent", "b:sent"}));
}

TEST_F(HttpQueueTest, CancelAllEndsEveryRequestThroughItsOwnFailurePath) {
    auto queue = std::make_shared<HttpQueue>(1);
    std::vector<std::shared_ptr<QueuedNote>> notes;
    for (const char* text : {"running", "second", "third"}) {
        notes.push_back(std::make_shared<QueuedNote>(QueuedNote{text}));
        queue->add(noteRequest("/slow", notes.back()));
    }
    ASSERT_TRUE(waitUntil([&] { return server_.inFlight() == 1; }, 2s));
    queue->cancelAll();
    ASSERT_TRUE(waitUntil([&] { return ended_.size() == 3; }, 2s));
    for (const auto& note : notes) {
        EXPECT_EQ(note->state, "cancelled") << note->text;
    }
    EXPECT_EQ(queue->requestsCount(), 0u);
    EXPECT_EQ(server_.countOf("/slow"), 1u);  // the waiting ones never left
}

TEST_F(HttpQueueTest, AFailureInAQueueOfItsOwnCancelsWhatIsQueuedBehindIt) {
    auto queue = std::make_shared<HttpQueue>(1);
    EXPECT_TRUE(queue->shouldCancelAllRequestsOnFailure());
    queue->add(noteRequest("/drop", std::make_shared<QueuedNote>(QueuedNote{"first"})));
    queue->add(noteRequest("/send", std::make_shared<QueuedNote>(QueuedNote{"second"})));
    queue->add(noteRequest("/send", std::make_shared<QueuedNote>(QueuedNote{"third"})));
    ASSERT_TRUE(waitUntil([&] { return ended_.size() == 3; }));
    EXPECT_EQ(ended_, (std::vector<std::string>{"first:failed", "second:cancelled", "third:cancelled"}));
    EXPECT_EQ(server_.countOf("/send"), 0u);

    // The shared queue keeps unrelated requests independent.
    ended_.clear();
    auto failing = noteRequest("/drop", std::make_shared<QueuedNote>(QueuedNote{"x"}));
    auto other = noteRequest("/send", std::make_shared<QueuedNote>(QueuedNote{"y"}));
    failing->startAsynchronous();
    other->startAsynchronous();
    ASSERT_TRUE(waitUntil([&] { return ended_.size() == 2; }));
    EXPECT_NE(std::find(ended_.begin(), ended_.end(), "y:sent"), ended_.end());
}

TEST_F(HttpQueueTest, AQueueThatGoesAwayStopsWhatItHeldWithoutCallingBack) {
    auto queue = std::make_shared<HttpQueue>(1);
    auto running = std::make_shared<QueuedNote>(QueuedNote{"running"});
    auto waiting = std::make_shared<QueuedNote>(QueuedNote{"waiting"});
    queue->add(noteRequest("/slow", running));
    queue->add(noteRequest("/send", waiting));
    ASSERT_TRUE(waitUntil([&] { return server_.inFlight() == 1; }, 2s));
    queue.reset();
    MainLoop::main().runUntil([] { return false; }, 300ms);
    EXPECT_TRUE(ended_.empty());
    EXPECT_EQ(server_.countOf("/send"), 0u);
}

}  // namespace
}  // namespace zorlet::test
