// Unsent messages survive a killed client: a child copy of this program sends
// a burst of private messages to the local service and is killed at a random
// moment; a restarted child reconciles its outbox with the service. Every
// message the child reported as sent must then be on the service exactly once
// or in the outbox, never both and never neither; sending the outbox again
// leaves it empty and stores nothing twice.
#include "messaging/DialogOutbox.h"
#include "messaging/DialogSender.h"
#include "model/DialogContent.h"
#include "model/RecordConverters.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/CookieStore.h"
#include "platform/DataFolder.h"
#include "platform/Reachability.h"
#include "sandbox/SandboxServer.h"
#include "sandbox/TestControl.h"
#include "session/LoginService.h"
#include "session/UserContext.h"

#include "support/LoopTest.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kModeVariable = "ZORLET_OUTBOX_CHILD";
constexpr int kRounds = 4;
constexpr int kBurst = 5;
constexpr int kLongestKillDelayMs = 500;
constexpr int kChildTimeLimitMs = 30000;

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// --- the child ---------------------------------------------------------------

bool signIn() {
    UrlUtils::setBaseUrl(variable("ZORLET_OUTBOX_API"));
    Reachability::shared().setNetworkAvailable(true);
    RecordConverters::registerAll();
    CookieStore::shared().clearAll();
    return LoginService::getInstance()
        .useLoginName(variable("ZORLET_OUTBOX_ACCOUNT"), variable("ZORLET_OUTBOX_PASSWORD"))
        .success;
}

void say(const std::string& line) {
    // Straight to the pipe, so a kill right after loses nothing already said.
    std::string text = line + "\n";
    [[maybe_unused]] auto written = ::write(STDOUT_FILENO, text.data(), text.size());
}

void burst(DialogOutbox& outbox, std::int64_t receiver) {
    auto sender = std::make_shared<DialogSender>(&outbox);
    int first = std::stoi(variable("ZORLET_OUTBOX_FIRST"));
    say("ready");
    for (int i = first; i < first + kBurst; ++i) {
        auto message = std::make_shared<DialogContent>();
        message->content = "消息 " + std::to_string(i);
        message->senderUid = UserContext::getUid();
        message->receiverUid = receiver;
        ASSERT_TRUE(sender->send(message));
        say("kept " + message->clientMsgId);
    }
    waitUntil([&] { return sender->pendingCount() == 0; }, 20000ms);
    say("done");
}

// What a conversation does when it opens: the latest page tells which kept messages arrived.
void reconcile(DialogOutbox& outbox, std::int64_t receiver) {
    auto request = HttpRequestSender::getRequestWithUrl(
        UrlUtils::urlStringWithUri("dialog/dialogContentList"), {{"uid", receiver}, {"page", 1}});
    ASSERT_TRUE(request);
    bool finished = false;
    std::vector<DialogContentPtr> onServer;
    request->setCompletionBlock([&](HttpRequest& done) {
        Json envelope = parseJson(done.responseString()).value_or(Json());
        for (const auto& element : jsonArray(jsonObject(envelope, "result"), "list")) {
            onServer.push_back(DialogContent::convertFromDictionary(element));
        }
        finished = true;
    });
    request->setFailedBlock([&](HttpRequest&) { finished = true; });
    request->startAsynchronous();
    ASSERT_TRUE(waitUntil([&] { return finished; }, 20000ms));
    ASSERT_FALSE(onServer.empty() && outbox.count() > 0 && request->responseStatusCode() != 200);
    DialogSender::forgetDelivered(outbox, onServer);
    say("reconciled");
}

void resendAll(DialogOutbox& outbox, std::int64_t receiver) {
    auto sender = std::make_shared<DialogSender>(&outbox);
    for (const auto& message : DialogSender::unsentMessages(outbox, UserContext::getUid(), receiver)) {
        ASSERT_TRUE(sender->resend(message));
    }
    ASSERT_TRUE(waitUntil([&] { return sender->pendingCount() == 0; }, 20000ms));
    say("resent");
}

TEST(OutboxKillChild, Run) {
    auto mode = variable(kModeVariable);
    if (mode.empty()) {
        GTEST_SKIP() << "runs only as the child of the outbox kill test";
    }
    MainLoop::main().clock().setVirtual(false);
    DataFolder::shared().setRoot(variable("ZORLET_OUTBOX_DATA"));
    ASSERT_TRUE(signIn());
    DialogOutbox* outbox = DialogOutbox::shared();
    ASSERT_TRUE(outbox);
    auto receiver = std::stoll(variable("ZORLET_OUTBOX_RECEIVER"));
    if (mode == "burst") {
        burst(*outbox, receiver);
    } else if (mode == "reconcile") {
        reconcile(*outbox, receiver);
    } else {
        resendAll(*outbox, receiver);
    }
    UserContext::logout();
    CookieStore::shared().clearAll();
}

// --- the parent --------------------------------------------------------------

struct ChildRun {
    // What the child said, to show when it failed.
    std::string text() const {
        std::string all;
        for (const auto& line : lines) {
            all += line + "\n";
        }
        return all;
    }
    std::vector<std::string> lines;
    bool killed = false;
    int exitCode = -1;
};

class OutboxKillTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        folder_ =
            std::filesystem::temp_directory_path() / ("zorlet-outbox-kill-" + std::to_string(::getpid()) +
                                                      "-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder_ / "client");
        sandbox::SandboxOptions options;
        options.databasePath = folder_ / "sandbox.db";
        options.seedDemo = false;
        options.passwordCost = sandbox::Passwords::Cost::Minimum;
        std::string error;
        sandbox_ = sandbox::SandboxServer::start(options, error);
        ASSERT_TRUE(sandbox_) << error;
        auto& control = sandbox_->testControl();
        sender_ = control.createUser({"sender@example.com", "secret99", "发件人"}).value_or(0);
        receiver_ = control.createUser({"receiver@example.com", "secret99", "收件人"}).value_or(0);
        ASSERT_GT(sender_, 0);
        ASSERT_GT(receiver_, 0);
    }
    void TearDown() override {
        sandbox_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        LoopTest::TearDown();
    }

    // Runs this program as the child in `mode`; with a kill delay, SIGKILLs it then.
    ChildRun runChild(const std::string& mode, int firstIndex, std::optional<int> killAfterMs) {
        ChildRun run;
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) {
            ADD_FAILURE() << "no pipe";
            return run;
        }
        // Everything the child needs is made before fork: between fork and exec only
        // async-signal-safe calls are allowed in a program with threads.
        std::vector<std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            if (std::string(*entry).rfind("ZORLET_OUTBOX_", 0) != 0) {
                environment.emplace_back(*entry);
            }
        }
        environment.push_back(std::string(kModeVariable) + "=" + mode);
        environment.push_back("ZORLET_OUTBOX_API=" + sandbox_->baseUrl());
        environment.push_back("ZORLET_OUTBOX_DATA=" + (folder_ / "client").string());
        environment.push_back("ZORLET_OUTBOX_ACCOUNT=sender@example.com");
        environment.push_back("ZORLET_OUTBOX_PASSWORD=secret99");
        environment.push_back("ZORLET_OUTBOX_RECEIVER=" + std::to_string(receiver_));
        environment.push_back("ZORLET_OUTBOX_FIRST=" + std::to_string(firstIndex));
        std::vector<char*> envp;
        for (auto& entry : environment) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
        std::string filter = "--gtest_filter=OutboxKillChild.Run";
        char* argv[] = {program.data(), filter.data(), nullptr};
        pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(pipeEnds[1], STDOUT_FILENO);
            ::close(pipeEnds[0]);
            ::close(pipeEnds[1]);
            ::execve(program.c_str(), argv, envp.data());
            ::_exit(127);
        }
        ::close(pipeEnds[1]);
        // The kill is timed from the moment the child starts sending, not from its (slow) start.
        auto started = std::chrono::steady_clock::now();
        int limit = kChildTimeLimitMs;
        bool ready = false;
        std::string pending;
        bool open = true;
        while (open) {
            if (!ready && killAfterMs && pending.find("ready\n") != std::string::npos) {
                ready = true;
                started = std::chrono::steady_clock::now();
                limit = *killAfterMs;
            }
            auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - started);
            if (elapsed.count() >= limit) {
                ::kill(pid, SIGKILL);
                run.killed = true;
                break;
            }
            pollfd readable{pipeEnds[0], POLLIN, 0};
            if (::poll(&readable, 1, static_cast<int>(limit - elapsed.count())) > 0) {
                char buffer[512];
                auto got = ::read(pipeEnds[0], buffer, sizeof buffer);
                if (got <= 0) {
                    open = false;
                } else {
                    pending.append(buffer, static_cast<std::size_t>(got));
                }
            }
        }
        // Whatever the child said before it died is in the pipe.
        int flags = ::fcntl(pipeEnds[0], F_GETFL);
        ::fcntl(pipeEnds[0], F_SETFL, flags | O_NONBLOCK);
        char buffer[512];
        for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
            pending.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(pipeEnds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::istringstream lines(pending);
        for (std::string line; std::getline(lines, line);) {
            run.lines.push_back(line);
        }
        return run;
    }

    std::map<std::string, int> serverCopies() {
        std::map<std::string, int> copies;
        for (const auto& message : sandbox_->testControl().messagesFrom(sender_)) {
            ++copies[message.clientMsgId];
        }
        return copies;
    }
    std::set<std::string> outboxIds() {
        std::string error;
        auto outbox = DialogOutbox::open(folder_ / "client" / DialogOutbox::kFileName, error);
        EXPECT_TRUE(outbox) << error;
        std::set<std::string> ids;
        for (const auto& entry : outbox ? outbox->all() : std::vector<OutboxEntry>{}) {
            ids.insert(entry.clientMsgId);
        }
        return ids;
    }

    std::filesystem::path folder_;
    std::unique_ptr<sandbox::SandboxServer> sandbox_;
    std::int64_t sender_ = 0;
    std::int64_t receiver_ = 0;
};

TEST_F(OutboxKillTest, EveryMessageIsOnTheServerOnceOrInTheOutboxAfterAKill) {
    std::random_device seedSource;
    auto seed = seedSource();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> killDelay(0, kLongestKillDelayMs);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::set<std::string> sent;
    for (int round = 0; round < kRounds; ++round) {
        int delay = killDelay(random);
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " + std::to_string(delay) + " ms");
        auto burst = runChild("burst", round * kBurst, delay);
        for (const auto& line : burst.lines) {
            // The test framework's own output shares the pipe; an id is 32 hex digits after "kept ".
            auto at = line.find("kept ");
            if (at != std::string::npos && line.size() >= at + 5 + 32) {
                sent.insert(line.substr(at + 5, 32));
            }
        }
        // A message kept just before the kill may not have been reported yet; it was sent all the same.
        for (const auto& id : outboxIds()) {
            sent.insert(id);
        }
        auto reconciled = runChild("reconcile", 0, std::nullopt);
        ASSERT_EQ(reconciled.exitCode, 0) << reconciled.text();
        ASSERT_FALSE(reconciled.lines.empty());

        auto copies = serverCopies();
        auto kept = outboxIds();
        for (const auto& id : sent) {
            int onServer = copies.count(id) ? copies[id] : 0;
            bool inOutbox = kept.count(id) > 0;
            EXPECT_LE(onServer, 1) << id;
            EXPECT_TRUE((onServer == 1) != inOutbox)
                << id << " server " << onServer << " outbox " << inOutbox;
        }
        // Nothing reaches the service or the outbox that the client did not report as sent.
        for (const auto& [id, count] : copies) {
            EXPECT_TRUE(sent.count(id)) << id;
        }

        auto resent = runChild("resend", 0, std::nullopt);
        ASSERT_EQ(resent.exitCode, 0) << resent.text();
        copies = serverCopies();
        EXPECT_TRUE(outboxIds().empty());
        for (const auto& id : sent) {
            EXPECT_EQ(copies[id], 1) << id;
        }
    }
    EXPECT_GE(sent.size(), 1u);
}

}  // namespace
}  // namespace zorlet::test
