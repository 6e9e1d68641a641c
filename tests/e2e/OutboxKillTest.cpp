// Unsent messages survive a killed client: a child copy of this program sends
// a burst of private messages to the local service and is killed after a
// randomly chosen number of them were accepted, so that the kill lands while
// the rest are still queued or on the wire; a restarted child reconciles its
// outbox with the service. Every message the child kept must then be on the
// service exactly once or in the outbox, never both and never neither; sending
// the outbox again leaves it empty and stores nothing twice. The last round
// resends without reconciling first, so that only the service's client id
// check keeps a message it already has from being stored twice.
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

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
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
constexpr int kRounds = 5;
constexpr int kBurst = 12;
// The kill comes after at most this many fewer than the whole burst were accepted, so
// that some are left to send even when the parent is slow to act on what it read.
constexpr int kLeftAtLeast = 4;
// A little more than one send on loopback: the kill also lands inside a request, after
// the service stored a message and before the client forgot it.
constexpr int kLongestExtraDelayUs = 4000;
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

void burst(const std::shared_ptr<DialogOutbox>& outbox, std::int64_t receiver) {
    auto sender = std::make_shared<DialogSender>(outbox);
    // Said once the outbox forgot the message: the parent counts these to choose its moment.
    sender->onStatusChange = [](const DialogContentPtr& message) {
        if (message->sendStatus == DialogContent::Sent) {
            say("accepted " + message->clientMsgId);
        }
    };
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

void resendAll(const std::shared_ptr<DialogOutbox>& outbox, std::int64_t receiver) {
    auto sender = std::make_shared<DialogSender>(outbox);
    for (const auto& message : DialogSender::unsentMessages(*outbox, UserContext::getUid(), receiver)) {
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
    auto outbox = DialogOutbox::shared();
    ASSERT_TRUE(outbox);
    auto receiver = std::stoll(variable("ZORLET_OUTBOX_RECEIVER"));
    if (mode == "burst") {
        burst(outbox, receiver);
    } else if (mode == "reconcile") {
        reconcile(*outbox, receiver);
    } else {
        resendAll(outbox, receiver);
    }
    UserContext::logout();
    CookieStore::shared().clearAll();
}

// --- the parent --------------------------------------------------------------

// When to kill a burst: once `afterAccepted` of its messages were accepted, and
// `extraDelayUs` later.
struct KillPlan {
    int afterAccepted = 1;
    int extraDelayUs = 0;
};

struct ChildRun {
    // What the child said, to show when it failed.
    std::string text() const {
        std::string all;
        for (const auto& line : lines) {
            all += line + "\n";
        }
        return all;
    }
    // The message ids the child said after `word` ("kept ", "accepted ").
    std::set<std::string> ids(const std::string& word) const {
        std::set<std::string> found;
        for (const auto& line : lines) {
            // The test framework's own output shares the pipe; an id is 32 hex digits.
            auto at = line.find(word);
            if (at != std::string::npos && line.size() >= at + word.size() + 32) {
                found.insert(line.substr(at + word.size(), 32));
            }
        }
        return found;
    }
    std::vector<std::string> lines;
    bool killed = false;
    bool timedOut = false;
    int exitCode = -1;
};

std::size_t occurrences(const std::string& text, const std::string& word) {
    std::size_t count = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size())) {
        ++count;
    }
    return count;
}

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
        auto started = sandbox::SandboxServer::start(options);
        ASSERT_TRUE(started) << started.error();
        sandbox_ = std::move(*started);
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

    // Runs this program as the child in `mode`; with a plan, SIGKILLs it as planned.
    // A child that takes longer than the time limit is killed and reported.
    ChildRun runChild(const std::string& mode, int firstIndex, std::optional<KillPlan> plan) {
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
        auto started = std::chrono::steady_clock::now();
        std::string pending;
        bool open = true;
        while (open) {
            if (plan && occurrences(pending, "accepted ") >= static_cast<std::size_t>(plan->afterAccepted)) {
                std::this_thread::sleep_for(std::chrono::microseconds(plan->extraDelayUs));
                ::kill(pid, SIGKILL);
                run.killed = true;
                break;
            }
            auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - started);
            if (elapsed.count() >= kChildTimeLimitMs) {
                ::kill(pid, SIGKILL);
                run.timedOut = true;
                break;
            }
            pollfd readable{pipeEnds[0], POLLIN, 0};
            if (::poll(&readable, 1, static_cast<int>(kChildTimeLimitMs - elapsed.count())) > 0) {
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
    std::unique_ptr<DialogOutbox> clientOutbox() {
        auto outbox = DialogOutbox::open(folder_ / "client" / DialogOutbox::kFileName);
        EXPECT_TRUE(outbox) << outbox.error();
        return outbox ? std::move(*outbox) : nullptr;
    }
    std::set<std::string> outboxIds() {
        auto outbox = clientOutbox();
        std::set<std::string> ids;
        for (const auto& entry : outbox ? outbox->all() : std::vector<OutboxEntry>{}) {
            ids.insert(entry.clientMsgId);
        }
        return ids;
    }
    // As if the service's answer to `message` had been lost: it is stored and still kept.
    void keepAgain(const sandbox::StoredMessage& message) {
        auto outbox = clientOutbox();
        ASSERT_TRUE(outbox);
        ASSERT_TRUE(
            outbox->add(OutboxEntry{message.clientMsgId, sender_, receiver_, message.content, "", 0, false}));
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
    std::uniform_int_distribution<int> acceptedBeforeKill(1, kBurst - kLeftAtLeast);
    std::uniform_int_distribution<int> extraDelay(0, kLongestExtraDelayUs);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::set<std::string> sent;
    int killedMidBurst = 0;
    for (int round = 0; round < kRounds; ++round) {
        KillPlan plan{acceptedBeforeKill(random), extraDelay(random)};
        bool reconcileFirst = round < kRounds - 1;
        SCOPED_TRACE("round " + std::to_string(round) + ", killed " + std::to_string(plan.extraDelayUs) +
                     " us after " + std::to_string(plan.afterAccepted) + " accepted");
        auto burst = runChild("burst", round * kBurst, plan);
        ASSERT_FALSE(burst.timedOut) << burst.text();
        ASSERT_TRUE(burst.killed) << burst.text();
        auto kept = burst.ids("kept ");
        // A message kept just before the kill may not have been reported yet; it was sent all the same.
        for (const auto& id : outboxIds()) {
            kept.insert(id);
        }
        auto accepted = burst.ids("accepted ");
        ASSERT_GE(accepted.size(), static_cast<std::size_t>(plan.afterAccepted)) << burst.text();

        // At the kill: each message is on the service, in the outbox, or both when the kill
        // fell between the service storing it and the client forgetting it.
        auto copies = serverCopies();
        auto waiting = outboxIds();
        int delivered = 0;
        int stillKept = 0;
        for (const auto& id : kept) {
            int onServer = copies.count(id) ? copies[id] : 0;
            bool inOutbox = waiting.count(id) > 0;
            EXPECT_LE(onServer, 1) << id;
            EXPECT_TRUE(onServer == 1 || inOutbox) << id << " is lost";
            if (accepted.count(id)) {
                EXPECT_EQ(onServer, 1) << id;
                EXPECT_FALSE(inOutbox) << id;
            }
            delivered += onServer;
            stillKept += inOutbox ? 1 : 0;
        }
        if (delivered > 0 && stillKept > 0) {
            ++killedMidBurst;
        }
        sent.insert(kept.begin(), kept.end());

        if (reconcileFirst) {
            auto reconciled = runChild("reconcile", 0, std::nullopt);
            ASSERT_EQ(reconciled.exitCode, 0) << reconciled.text();
            ASSERT_FALSE(reconciled.lines.empty());
            copies = serverCopies();
            waiting = outboxIds();
            for (const auto& id : sent) {
                int onServer = copies.count(id) ? copies[id] : 0;
                bool inOutbox = waiting.count(id) > 0;
                EXPECT_LE(onServer, 1) << id;
                EXPECT_TRUE((onServer == 1) != inOutbox)
                    << id << " server " << onServer << " outbox " << inOutbox;
            }
        } else {
            // Nothing tells the client what arrived: it sends again what the service may already
            // have. Make sure at least one such message is among them.
            bool alreadyStored =
                std::any_of(waiting.begin(), waiting.end(),
                            [&copies](const std::string& id) { return copies.count(id) > 0; });
            if (!alreadyStored) {
                for (const auto& message : sandbox_->testControl().messagesFrom(sender_)) {
                    if (accepted.count(message.clientMsgId)) {
                        keepAgain(message);
                        break;
                    }
                }
            }
        }
        // Nothing reaches the service that the client did not keep first.
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
        EXPECT_EQ(copies.size(), sent.size());
    }
    EXPECT_EQ(sent.size(), static_cast<std::size_t>(kRounds * kBurst));
    // The kills landed while a burst was under way, not after it was over.
    EXPECT_GE(killedMidBurst, 1);
}

}  // namespace
}  // namespace zorlet::test
