#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>

struct uv_loop_s;
struct uv_poll_s;

namespace zorlet {

// The sockets the transport waits on, kept in one epoll set of its own that
// the main loop watches as a single descriptor. The set, not libuv, decides
// when the kernel hears of a change: libuv drops and re-adds a descriptor
// every time its watch starts and drops it again when it stops, three system
// calls per request, while a keep-alive connection here stays in the set
// between requests and costs none.
class SocketSet {
public:
    enum Event : int { Readable = 1, Writable = 2 };
    // `events` says what the socket is ready for; an error or a hang-up is
    // reported as both, so the reader or writer meets it itself.
    using ReadyHandler = std::function<void(int socket, int events)>;

    SocketSet(uv_loop_s* loop, ReadyHandler ready);
    ~SocketSet();
    SocketSet(const SocketSet&) = delete;
    SocketSet& operator=(const SocketSet&) = delete;

    // Reports the socket when it is ready for `events` (not empty); false
    // when the kernel would not take it.
    bool watch(int socket, int events);
    // Stops reporting the socket but keeps it in the kernel's set while it
    // is idle, so watching it again for reading costs nothing. Should it
    // become readable while nobody waits on it (the peer ended it), it
    // leaves the set then.
    void pause(int socket);
    // The socket is about to be closed, or may be closed already by
    // someone else: nothing of it stays, so a later descriptor with the
    // same number starts afresh.
    void forget(int socket);

    std::size_t watchedCount() const { return watched_; }

private:
    struct Entry {
        std::uint32_t generation = 0;
        int wanted = 0;      // what the caller waits for now
        int registered = 0;  // what the kernel's set holds, 0 when not in it
    };

    void drain();
    void dispatch(std::uint64_t tag, std::uint32_t kernelEvents);
    bool registerEvents(int socket, Entry& entry, int events);
    void unregister(int socket, Entry& entry);
    void updateLoopReference();

    int epoll_ = -1;
    uv_poll_s* poll_ = nullptr;
    ReadyHandler ready_;
    std::unordered_map<int, Entry> entries_;
    std::uint32_t nextGeneration_ = 1;
    std::size_t watched_ = 0;
    bool referenced_ = false;
};

}  // namespace zorlet
