#include "platform/SocketSet.h"

#include "support/LoopTest.h"

#include <sys/socket.h>
#include <unistd.h>

#include <ctime>
#include <utility>
#include <vector>

namespace zorlet::test {
namespace {

struct SocketPair {
    int mine = -1;
    int peer = -1;
    SocketPair() {
        int ends[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        mine = ends[0];
        peer = ends[1];
    }
    ~SocketPair() {
        closeMine();
        closePeer();
    }
    void closeMine() {
        if (mine >= 0) {
            ::close(mine);
            mine = -1;
        }
    }
    void closePeer() {
        if (peer >= 0) {
            ::close(peer);
            peer = -1;
        }
    }
    void send() const { EXPECT_EQ(::write(peer, "x", 1), 1); }
};

double threadCpuMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Runs the loop for a while, whatever happens.
void idle(int milliseconds) {
    waitUntil([] { return false; }, Duration(milliseconds));
}

TEST(SocketSet, ReportsWhatIsWatchedAndNothingOncePausedOrForgotten) {
    std::vector<std::pair<int, int>> reports;
    SocketSet set(MainLoop::main().uvLoop(), [&](int socket, int events) {
        reports.emplace_back(socket, events);
        char byte;
        (void)::recv(socket, &byte, 1, MSG_DONTWAIT);
    });
    SocketPair a;
    SocketPair b;
    ASSERT_TRUE(set.watch(a.mine, SocketSet::Readable));
    ASSERT_TRUE(set.watch(b.mine, SocketSet::Writable));
    EXPECT_EQ(set.watchedCount(), 2U);
    ASSERT_TRUE(waitUntil([&] { return reports.size() >= 1; }));
    EXPECT_EQ(reports.front(), std::make_pair(b.mine, int{SocketSet::Writable}))
        << "a had nothing to read yet";

    set.forget(b.mine);
    reports.clear();
    a.send();
    ASSERT_TRUE(waitUntil([&] { return !reports.empty(); }));
    EXPECT_EQ(reports.front(), std::make_pair(a.mine, int{SocketSet::Readable}));

    set.pause(a.mine);
    EXPECT_EQ(set.watchedCount(), 0U);
    reports.clear();
    a.send();
    idle(50);
    EXPECT_TRUE(reports.empty()) << "a paused socket was reported";

    // Watched again, it reports what arrived while it was paused.
    ASSERT_TRUE(set.watch(a.mine, SocketSet::Readable));
    ASSERT_TRUE(waitUntil([&] { return !reports.empty(); }));
    EXPECT_EQ(reports.front().first, a.mine);
    set.forget(a.mine);
}

// A pooled connection sits paused in the set; when its peer ends it, the end
// is readable for good and must not keep waking the loop.
TEST(SocketSet, APausedSocketItsPeerEndsLeavesTheSetInsteadOfSpinningTheLoop) {
    int reports = 0;
    SocketSet set(MainLoop::main().uvLoop(), [&](int, int) { ++reports; });
    SocketPair pair;
    ASSERT_TRUE(set.watch(pair.mine, SocketSet::Readable));
    set.pause(pair.mine);
    pair.closePeer();

    double before = threadCpuMilliseconds();
    idle(200);
    EXPECT_LT(threadCpuMilliseconds() - before, 60) << "the loop kept waking for the ended socket";
    EXPECT_EQ(reports, 0);

    // Wanted again, it is registered afresh and reports the end at once.
    ASSERT_TRUE(set.watch(pair.mine, SocketSet::Readable));
    ASSERT_TRUE(waitUntil([&] { return reports > 0; }));
    set.forget(pair.mine);
}

// Two sockets are ready in one batch; handling the first closes the second
// and opens a new socket under its number. The event read for the old one
// must not be handed over as the new one's.
TEST(SocketSet, AnEventForAClosedSocketIsNotReportedForTheOneThatTakesItsNumber) {
    SocketPair first;
    SocketPair second;
    SocketPair replacement;
    std::vector<int> reported;
    SocketSet* setPointer = nullptr;
    int reused = -1;
    SocketSet set(MainLoop::main().uvLoop(), [&](int socket, int) {
        reported.push_back(socket);
        char byte;
        (void)::recv(socket, &byte, 1, MSG_DONTWAIT);
        if (reused >= 0) {
            return;
        }
        SocketPair& other = socket == first.mine ? second : first;
        int number = other.mine;
        setPointer->forget(number);
        other.closeMine();
        // The lowest free number is the one just closed.
        replacement.closeMine();
        replacement.closePeer();
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        replacement.mine = ends[0];
        replacement.peer = ends[1];
        reused = ends[0];
        ASSERT_EQ(reused, number);
        ASSERT_TRUE(setPointer->watch(reused, SocketSet::Readable));
    });
    setPointer = &set;
    ASSERT_TRUE(set.watch(first.mine, SocketSet::Readable));
    ASSERT_TRUE(set.watch(second.mine, SocketSet::Readable));
    first.send();
    second.send();
    ASSERT_TRUE(waitUntil([&] { return !reported.empty(); }));
    idle(50);
    ASSERT_EQ(reported.size(), 1U) << "the new socket has nothing to read";
    set.forget(reported.front());
    set.forget(reused);
}

// A descriptor the set believes registered can be gone from the kernel's set
// (closed and reopened behind its back); watching it for something new must
// still work.
TEST(SocketSet, AWatchAfterTheDescriptorChangedBehindItsBackStillRegisters) {
    int reports = 0;
    SocketSet set(MainLoop::main().uvLoop(), [&](int, int) { ++reports; });
    SocketPair pair;
    ASSERT_TRUE(set.watch(pair.mine, SocketSet::Readable));
    int number = pair.mine;
    pair.closeMine();
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
    SocketPair reopened;
    reopened.closeMine();
    reopened.closePeer();
    reopened.mine = ends[0];
    reopened.peer = ends[1];
    ASSERT_EQ(reopened.mine, number);
    ASSERT_TRUE(set.watch(reopened.mine, SocketSet::Readable | SocketSet::Writable));
    ASSERT_TRUE(waitUntil([&] { return reports > 0; }));
    set.forget(reopened.mine);
}

}  // namespace
}  // namespace zorlet::test
