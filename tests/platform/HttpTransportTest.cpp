#include "platform/CookieStore.h"
#include "platform/DownloadCache.h"
#include "platform/HttpExchange.h"
#include "platform/HttpQueue.h"
#include "platform/HttpRequest.h"
#include "platform/MainLoop.h"

#include "support/LoopTest.h"
#include "support/ScriptedServer.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class HttpTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        CookieStore::shared().clearAll();
        DownloadCache::shared().clear();
        HttpRequest::setDefaultTimeOutSeconds(10);
        HttpQueue::shared().setMaxConcurrentOperationCount(20);
    }

    // Starts asynchronously and runs the loop until it finished or failed.
    static void runAsync(const HttpRequestPtr& request) { ASSERT_TRUE(runToEnd(request)); }

    ScriptedServer server_;
};

TEST_F(HttpTransportTest, FormFieldsAndQueryArriveAsUtf8) {
    server_.onJson("/form", R"({"ok":true})");
    auto get = HttpRequest::create(server_.url("/form?keyword=%E5%92%96%E5%95%A1&page=2"));
    runAsync(get);
    auto form = HttpRequest::createForm(server_.url("/form"));
    form->setPostValue("nick", "小明 & 朋友=好");
    form->setPostValue("page", "1");
    form->setPostValue("page", "3");
    runAsync(form);

    auto requests = server_.requestsTo("/form");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].param("keyword"), "咖啡");
    EXPECT_EQ(requests[1].method, "POST");
    EXPECT_EQ(requests[1].param("nick"), "小明 & 朋友=好");
    EXPECT_EQ(requests[1].form.count("page"), 1u);
    EXPECT_EQ(requests[1].param("page"), "3");
    EXPECT_NE(requests[1].header("Content-Type").find("application/x-www-form-urlencoded"),
              std::string::npos);
    EXPECT_EQ(form->responseStatusCode(), 200);
    EXPECT_EQ(form->responseString(), R"({"ok":true})");
}

TEST_F(HttpTransportTest, FormBodyTypeReplacesTheCallersContentTypeOnlyWhenThereAreFields) {
    server_.onJson("/post", "{}");
    auto withFields = HttpRequest::createForm(server_.url("/post"));
    withFields->addRequestHeader("Content-Type", "application/html;charset=UTF-8;");
    withFields->setPostValue("a", "1");
    runAsync(withFields);
    auto empty = HttpRequest::createForm(server_.url("/post"));
    empty->addRequestHeader("Content-Type", "application/html;charset=UTF-8;");
    runAsync(empty);
    auto requests = server_.requestsTo("/post");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].header("Content-Type").rfind("application/x-www-form-urlencoded", 0), 0u);
    EXPECT_EQ(requests[1].method, "POST");
    EXPECT_EQ(requests[1].header("Content-Type"), "application/html;charset=UTF-8;");
}

TEST_F(HttpTransportTest, MultipartFilePartsKeepNameFileNameAndType) {
    server_.onJson("/upload", "{}");
    auto request = HttpRequest::createForm(server_.url("/upload"));
    request->setPostValue("content", "今晚去看电影");
    std::string jpeg("\xFF\xD8\xFF\xE0 binary \0 data", 18);
    request->setData(jpeg, "logo.jpg", "image/jpeg", "logo");
    runAsync(request);
    auto recorded = server_.lastRequestTo("/upload");
    EXPECT_EQ(recorded.param("content"), "今晚去看电影");
    ASSERT_EQ(recorded.files.size(), 1u);
    EXPECT_EQ(recorded.files[0].key, "logo");
    EXPECT_EQ(recorded.files[0].fileName, "logo.jpg");
    EXPECT_EQ(recorded.files[0].contentType, "image/jpeg");
    EXPECT_EQ(recorded.files[0].data, jpeg);
}

TEST_F(HttpTransportTest, ResponseCookiesGoBackToTheSameHostOnly) {
    server_.on("/login", [](const RecordedRequest&, Reply& reply) {
        reply.body = "{}";
        reply.setCookies = {"p_token=abc123; Path=/; HttpOnly", "l_token=def456; Path=/"};
    });
    server_.onJson("/me", "{}");
    auto login = HttpRequest::createForm(server_.url("/login"));
    runAsync(login);
    auto cookies = login->responseCookies();
    ASSERT_EQ(cookies.size(), 2u);
    EXPECT_EQ(cookies[0].name, "p_token");
    EXPECT_EQ(cookies[0].value, "abc123");
    EXPECT_TRUE(cookies[0].httpOnly);

    runAsync(HttpRequest::create(server_.url("/me")));
    // "localhost" reaches the same server but is another host to the cookie store.
    std::string otherHost = "http://localhost:" + std::to_string(server_.port()) + "/me";
    runAsync(HttpRequest::create(otherHost));
    auto requests = server_.requestsTo("/me");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].cookies.at("p_token"), "abc123");
    EXPECT_EQ(requests[0].cookies.at("l_token"), "def456");
    EXPECT_TRUE(requests[1].cookies.empty());
}

// Finished transfers hand their libcurl handle to the next request; nothing
// of the earlier request may travel with it.
TEST_F(HttpTransportTest, ARequestOnAReusedTransferCarriesNothingOfTheOneBefore) {
    server_.on("/login", [](const RecordedRequest&, Reply& reply) {
        reply.body = "{}";
        reply.setCookies = {"p_token=abc123; Path=/"};
    });
    server_.onJson("/echo", "{}");
    server_.on("/slow", [](const RecordedRequest&, Reply& reply) {
        reply.body = "{}";
        reply.stall = 700ms;
    });
    runAsync(HttpRequest::createForm(server_.url("/login")));

    auto form = HttpRequest::createForm(server_.url("/echo"));
    form->addRequestHeader("X-Extra", "1");
    form->setPostValue("nick", "小明");
    runAsync(form);
    auto plain = HttpRequest::create(server_.url("/echo"));
    plain->setUseCookiePersistence(false);
    runAsync(plain);
    auto upload = HttpRequest::createForm(server_.url("/echo"));
    upload->setData("JPEGDATA", "a.jpg", "image/jpeg", "pic");
    runAsync(upload);
    runAsync(HttpRequest::create(server_.url("/echo")));

    auto requests = server_.requestsTo("/echo");
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].cookies.at("p_token"), "abc123");
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_TRUE(requests[1].body.empty());
    EXPECT_TRUE(requests[1].header("X-Extra").empty());
    EXPECT_TRUE(requests[1].header("Content-Type").empty());
    EXPECT_TRUE(requests[1].cookies.empty()) << "cookies sent with persistence turned off";
    EXPECT_EQ(requests[2].files.size(), 1u);
    EXPECT_EQ(requests[3].method, "GET");
    EXPECT_TRUE(requests[3].body.empty());
    EXPECT_TRUE(requests[3].files.empty());
    EXPECT_EQ(requests[3].cookies.at("p_token"), "abc123");

    // A short time-out set on one request does not cut the next one short.
    auto hurried = HttpRequest::create(server_.url("/slow"));
    hurried->setTimeOutSeconds(0.2);
    runAsync(hurried);
    ASSERT_TRUE(hurried->error());
    EXPECT_EQ(hurried->error()->kind, HttpErrorKind::TimedOut);
    auto patient = HttpRequest::create(server_.url("/slow"));
    runAsync(patient);
    EXPECT_FALSE(patient->error()) << patient->error()->message;
    EXPECT_EQ(patient->responseStatusCode(), 200);
}

TEST_F(HttpTransportTest, CookiesCanBeAddedListedAndDeletedForAUrl) {
    server_.onJson("/me", "{}");
    HttpCookie token;
    token.name = "p_token";
    token.value = "restored";
    token.domain = "127.0.0.1";
    CookieStore::shared().setCookie(token);
    HttpCookie other = token;
    other.name = "keep";
    other.domain = "example.org";
    CookieStore::shared().setCookie(other);

    ASSERT_EQ(CookieStore::shared().cookiesForURL(server_.url("/me")).size(), 1u);
    runAsync(HttpRequest::create(server_.url("/me")));
    EXPECT_EQ(server_.lastRequestTo("/me").cookies.at("p_token"), "restored");

    CookieStore::shared().deleteCookiesForURL(server_.url("/"));
    EXPECT_TRUE(CookieStore::shared().cookiesForURL(server_.url("/me")).empty());
    ASSERT_EQ(CookieStore::shared().cookies().size(), 1u);
    EXPECT_EQ(CookieStore::shared().cookies()[0].name, "keep");
    runAsync(HttpRequest::create(server_.url("/me")));
    EXPECT_TRUE(server_.lastRequestTo("/me").cookies.empty());
}

TEST_F(HttpTransportTest, Http401IsAFailureWithItsStatusAndOtherStatusesAreAnswers) {
    server_.onJson("/private", R"({"success":false})", 401);
    server_.onJson("/broken", "oops", 500);
    bool failed = false;
    bool finished = false;
    auto request = HttpRequest::create(server_.url("/private"));
    request->setCompletionBlock([&](HttpRequest&) { finished = true; });
    request->setFailedBlock([&](HttpRequest&) { failed = true; });
    request->startAsynchronous();
    ASSERT_TRUE(waitUntil([&] { return failed || finished; }));
    EXPECT_TRUE(failed);
    EXPECT_FALSE(finished);
    EXPECT_EQ(request->responseStatusCode(), 401);
    ASSERT_TRUE(request->error());
    EXPECT_EQ(request->error()->kind, HttpErrorKind::HttpStatus);

    auto broken = HttpRequest::create(server_.url("/broken"));
    runAsync(broken);
    EXPECT_FALSE(broken->error());
    EXPECT_EQ(broken->responseStatusCode(), 500);
}

TEST_F(HttpTransportTest, StalledServerFailsAtTheTimeOut) {
    server_.on("/slow", [](const RecordedRequest&, Reply& reply) {
        reply.body = "{}";
        reply.stall = 3s;
    });
    auto request = HttpRequest::create(server_.url("/slow"));
    request->setTimeOutSeconds(0.5);
    auto start = std::chrono::steady_clock::now();
    runAsync(request);
    auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(request->error());
    EXPECT_EQ(request->error()->kind, HttpErrorKind::TimedOut);
    EXPECT_GE(elapsed, 480ms);
    EXPECT_LT(elapsed, 1500ms);
}

TEST_F(HttpTransportTest, DroppedConnectionAndRefusedPortAreConnectionFailures) {
    server_.on("/drop", [](const RecordedRequest&, Reply& reply) {
        reply.body = "{\"partial\":";
        reply.drop = true;
    });
    auto dropped = HttpRequest::create(server_.url("/drop"));
    runAsync(dropped);
    ASSERT_TRUE(dropped->error());
    EXPECT_EQ(dropped->error()->kind, HttpErrorKind::ConnectionFailure);

    int closedPort = 0;
    {
        ScriptedServer gone;
        closedPort = gone.port();
    }
    auto refused = HttpRequest::create("http://127.0.0.1:" + std::to_string(closedPort) + "/x");
    runAsync(refused);
    ASSERT_TRUE(refused->error());
    EXPECT_EQ(refused->error()->kind, HttpErrorKind::ConnectionFailure);
}

TEST_F(HttpTransportTest, GzipIsAskedForAndDecoded) {
    std::string body = R"({"success":true,"result":")" + std::string(2000, 'x') + "\"}";
    server_.on("/zip", [body](const RecordedRequest&, Reply& reply) {
        reply.body = body;
        reply.gzip = true;
    });
    auto request = HttpRequest::create(server_.url("/zip"));
    runAsync(request);
    EXPECT_EQ(request->responseHeader("Content-Encoding"), "gzip");
    EXPECT_EQ(request->responseString(), body);
    EXPECT_EQ(server_.requestsTo("/zip").at(0).header("Accept-Encoding"), "gzip");
}

TEST_F(HttpTransportTest, SharedQueueRunsAtMostTwentyAtOnceAndHandlersRunOnTheLoop) {
    server_.on("/wait", [](const RecordedRequest&, Reply& reply) {
        reply.body = "{}";
        reply.stall = 500ms;
    });
    HttpQueue::shared().resetHighestRunningCount();
    int completed = 0;
    bool offLoop = false;
    for (int i = 0; i < 30; ++i) {
        auto request = HttpRequest::create(server_.url("/wait?i=" + std::to_string(i)));
        request->setCompletionBlock([&](HttpRequest&) {
            offLoop |= !MainLoop::main().isLoopThread();
            ++completed;
        });
        request->setFailedBlock([&](HttpRequest& failed) {
            ADD_FAILURE() << "request failed: "
                          << (failed.error() ? failed.error()->message : std::string("?"));
        });
        request->startAsynchronous();
    }
    EXPECT_EQ(HttpQueue::shared().waitingCount(), 10u);
    ASSERT_TRUE(waitUntil([&] { return completed == 30; }, 20s));
    EXPECT_FALSE(offLoop);
    EXPECT_EQ(HttpQueue::shared().highestRunningCount(), 20);
    EXPECT_LE(server_.highestInFlight(), 20);
    // The server really saw requests side by side (how many depends on machine load).
    EXPECT_GT(server_.highestInFlight(), 1);
    EXPECT_EQ(HttpQueue::shared().runningCount(), 0);
}

TEST_F(HttpTransportTest, DelegateHearsFinishedAndFailed) {
    struct Recorder : HttpRequestObserver {
        int finished = 0;
        int failed = 0;
        void requestFinished(HttpRequest&) override { ++finished; }
        void requestFailed(HttpRequest&) override { ++failed; }
    } recorder;
    server_.onJson("/ok", "{}");
    server_.onJson("/no", "{}", 401);
    auto ok = HttpRequest::create(server_.url("/ok"));
    ok->setDelegate(&recorder);
    auto no = HttpRequest::create(server_.url("/no"));
    no->setDelegate(&recorder);
    ok->startAsynchronous();
    no->startAsynchronous();
    ASSERT_TRUE(waitUntil([&] { return recorder.finished + recorder.failed == 2; }));
    EXPECT_EQ(recorder.finished, 1);
    EXPECT_EQ(recorder.failed, 1);
}

TEST_F(HttpTransportTest, CancelReportsCancelledAndClearDelegatesReportsNothing) {
    server_.on("/slow", [](const RecordedRequest&, Reply& reply) {
        reply.body = "{}";
        reply.stall = 2s;
    });
    auto request = HttpRequest::create(server_.url("/slow"));
    bool failed = false;
    request->setFailedBlock([&](HttpRequest&) { failed = true; });
    request->startAsynchronous();
    waitUntil([&] { return server_.inFlight() > 0; }, 2s);
    request->cancel();
    ASSERT_TRUE(waitUntil([&] { return failed; }, 1s));
    EXPECT_EQ(request->error()->kind, HttpErrorKind::Cancelled);

    auto quiet = HttpRequest::create(server_.url("/slow"));
    bool heard = false;
    quiet->setFailedBlock([&](HttpRequest&) { heard = true; });
    quiet->startAsynchronous();
    quiet->clearDelegatesAndCancel();
    MainLoop::main().runUntil([] { return false; }, 100ms);
    EXPECT_FALSE(heard);
    EXPECT_EQ(HttpQueue::shared().runningCount(), 0);
}

TEST_F(HttpTransportTest, SynchronousRequestFromAWorkerThread) {
    server_.onJson("/sync", R"({"success":true})");
    auto request = HttpRequest::createForm(server_.url("/sync"));
    request->setPostValue("account", "a@b.cn");
    std::thread worker([&] { request->startSynchronous(); });
    worker.join();
    EXPECT_TRUE(request->isFinished());
    EXPECT_FALSE(request->error());
    EXPECT_EQ(request->responseString(), R"({"success":true})");
    EXPECT_EQ(server_.lastRequestTo("/sync").param("account"), "a@b.cn");
}

TEST_F(HttpTransportTest, FreshCachedGetIsServedWithoutAServerHitAndStaleOneIsFetchedAgain) {
    MainLoop::main().clock().setVirtual(true);
    int served = 0;
    server_.on("/list", [&](const RecordedRequest&, Reply& reply) {
        reply.body = "{\"n\":" + std::to_string(++served) + "}";
        reply.headers = {{"Cache-Control", "max-age=60"}};
    });
    server_.onJson("/nocache", "{}");

    auto first = HttpRequest::create(server_.url("/list"));
    runAsync(first);
    auto second = HttpRequest::create(server_.url("/list"));
    runAsync(second);
    EXPECT_TRUE(second->didUseCachedResponse());
    EXPECT_EQ(second->responseString(), "{\"n\":1}");
    EXPECT_EQ(server_.countOf("/list"), 1u);

    MainLoop::main().advance(61s);
    auto third = HttpRequest::create(server_.url("/list"));
    third->startSynchronous();
    EXPECT_FALSE(third->didUseCachedResponse());
    EXPECT_EQ(third->responseString(), "{\"n\":2}");
    EXPECT_EQ(server_.countOf("/list"), 2u);

    runAsync(HttpRequest::create(server_.url("/nocache")));
    runAsync(HttpRequest::create(server_.url("/nocache")));
    EXPECT_EQ(server_.countOf("/nocache"), 2u);
    MainLoop::main().clock().setVirtual(false);
}

TEST_F(HttpTransportTest, AnOverSizeAnswerFailsAndKeepsNoPartialBody) {
    const std::string huge(HttpExchange::kMaxBodyBytes + 1024, 'x');
    server_.on("/huge", [&huge](const RecordedRequest&, Reply& reply) {
        reply.body = huge;
        reply.contentType = "application/octet-stream";
    });
    auto synchronous = HttpRequest::create(server_.url("/huge"));
    synchronous->startSynchronous();
    ASSERT_TRUE(synchronous->error());
    EXPECT_TRUE(synchronous->responseString().empty());
    EXPECT_EQ(synchronous->responseString().capacity(), std::string().capacity());

    auto queued = HttpRequest::create(server_.url("/huge"));
    runAsync(queued);
    ASSERT_TRUE(queued->error());
    EXPECT_TRUE(queued->responseString().empty());
}

TEST(DownloadCacheRules, FreshnessComesFromMaxAgeOrExpiresAndNoStoreWins) {
    HttpHeaders maxAge{{"Cache-Control", "public, max-age=300"}};
    EXPECT_EQ(DownloadCache::freshnessLifetime(maxAge, 0), 300);
    HttpHeaders noStore{{"Cache-Control", "no-store, max-age=300"}};
    EXPECT_FALSE(DownloadCache::freshnessLifetime(noStore, 0));
    HttpHeaders expires{{"Date", "Tue, 08 Dec 2026 18:00:00 GMT"},
                        {"Expires", "Tue, 08 Dec 2026 18:10:00 GMT"}};
    EXPECT_EQ(DownloadCache::freshnessLifetime(expires, 0), 600);
    EXPECT_FALSE(DownloadCache::freshnessLifetime(HttpHeaders{}, 0));
}

}  // namespace
}  // namespace zorlet::test
