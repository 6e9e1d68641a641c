#include "platform/SocketSet.h"

#include "platform/Log.h"

#include <uv.h>

#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zorlet {

namespace {

uv_handle_t* asHandle(uv_poll_t* poll) {
    return reinterpret_cast<uv_handle_t*>(poll);
}

std::uint32_t toEpoll(int events) {
    std::uint32_t mask = 0;
    if (events & SocketSet::Readable) {
        mask |= EPOLLIN;
    }
    if (events & SocketSet::Writable) {
        mask |= EPOLLOUT;
    }
    return mask;
}

// The generation tells an event for a socket apart from one that was meant
// for an earlier descriptor with the same number, met in the same batch.
std::uint64_t tagFor(int socket, std::uint32_t generation) {
    return (std::uint64_t{generation} << 32) | static_cast<std::uint32_t>(socket);
}

}  // namespace

SocketSet::SocketSet(uv_loop_t* loop, ReadyHandler ready) : ready_(std::move(ready)) {
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    if (epoll_ < 0) {
        log().error("could not make the transport's socket set: {}", std::strerror(errno));
        return;
    }
    poll_ = new uv_poll_t;
    poll_->data = this;
    if (int rc = uv_poll_init(loop, poll_, epoll_); rc != 0) {
        log().error("could not watch the transport's socket set: {}", uv_strerror(rc));
        delete poll_;
        poll_ = nullptr;
        ::close(epoll_);
        epoll_ = -1;
        return;
    }
    uv_poll_start(poll_, UV_READABLE,
                  [](uv_poll_t* poll, int, int) { static_cast<SocketSet*>(poll->data)->drain(); });
    // Only sockets someone waits on keep the loop running.
    uv_unref(asHandle(poll_));
}

SocketSet::~SocketSet() {
    if (poll_) {
        uv_close(asHandle(poll_), [](uv_handle_t* handle) { delete reinterpret_cast<uv_poll_t*>(handle); });
    }
    if (epoll_ >= 0) {
        ::close(epoll_);
    }
}

bool SocketSet::watch(int socket, int events) {
    auto [found, inserted] = entries_.try_emplace(socket);
    Entry& entry = found->second;
    if (inserted) {
        entry.generation = nextGeneration_++;
    }
    if (entry.wanted == 0) {
        ++watched_;
    }
    entry.wanted = events;
    bool registered = entry.registered == events || registerEvents(socket, entry, events);
    if (!registered) {
        entry.wanted = 0;
        --watched_;
    }
    updateLoopReference();
    return registered;
}

void SocketSet::pause(int socket) {
    auto found = entries_.find(socket);
    if (found == entries_.end()) {
        return;
    }
    Entry& entry = found->second;
    if (entry.wanted != 0) {
        entry.wanted = 0;
        --watched_;
    }
    // An idle socket is always writable; left in the set it would wake the loop at once.
    if (entry.registered & Writable) {
        unregister(socket, entry);
    }
    updateLoopReference();
}

void SocketSet::forget(int socket) {
    auto found = entries_.find(socket);
    if (found == entries_.end()) {
        return;
    }
    if (found->second.wanted != 0) {
        --watched_;
    }
    // Dropped from the kernel's set before the descriptor closes: a copy of
    // it held elsewhere (a forked child) would otherwise keep it reporting.
    if (found->second.registered != 0) {
        unregister(socket, found->second);
    }
    entries_.erase(found);
    updateLoopReference();
}

// One batch per wake-up: the set is level-triggered, so what is left is
// reported on the next turn of the loop, after the loop's other work.
void SocketSet::drain() {
    constexpr int kBatch = 64;
    epoll_event events[kBatch];
    int count = 0;
    do {
        count = ::epoll_wait(epoll_, events, kBatch, 0);
    } while (count < 0 && errno == EINTR);
    for (int i = 0; i < count; ++i) {
        dispatch(events[i].data.u64, events[i].events);
    }
}

void SocketSet::dispatch(std::uint64_t tag, std::uint32_t kernelEvents) {
    int socket = static_cast<int>(static_cast<std::uint32_t>(tag));
    auto found = entries_.find(socket);
    if (found == entries_.end() || found->second.generation != tag >> 32) {
        return;
    }
    Entry& entry = found->second;
    if (entry.wanted == 0) {
        // An idle connection the peer ended (or wrote to out of turn): it
        // stays readable for good, so it leaves the set until it is wanted.
        unregister(socket, entry);
        return;
    }
    int ready = 0;
    if (kernelEvents & (EPOLLERR | EPOLLHUP)) {
        ready = Readable | Writable;
    } else {
        if (kernelEvents & EPOLLIN) {
            ready |= Readable;
        }
        if (kernelEvents & EPOLLOUT) {
            ready |= Writable;
        }
    }
    if (ready != 0) {
        ready_(socket, ready);
    }
}

// A number the set believes absent may still be registered (or the other way
// round) when its descriptor was closed and reopened out of our sight; the
// other operation then says what the kernel really holds.
bool SocketSet::registerEvents(int socket, Entry& entry, int events) {
    if (epoll_ < 0) {
        return false;
    }
    epoll_event event{};
    event.events = toEpoll(events);
    event.data.u64 = tagFor(socket, entry.generation);
    int operation = entry.registered != 0 ? EPOLL_CTL_MOD : EPOLL_CTL_ADD;
    int rc = ::epoll_ctl(epoll_, operation, socket, &event);
    if (rc < 0 && errno == ENOENT && operation == EPOLL_CTL_MOD) {
        rc = ::epoll_ctl(epoll_, EPOLL_CTL_ADD, socket, &event);
    } else if (rc < 0 && errno == EEXIST && operation == EPOLL_CTL_ADD) {
        rc = ::epoll_ctl(epoll_, EPOLL_CTL_MOD, socket, &event);
    }
    if (rc < 0) {
        log().error("could not watch socket {}: {}", socket, std::strerror(errno));
        entry.registered = 0;
        return false;
    }
    entry.registered = events;
    return true;
}

void SocketSet::unregister(int socket, Entry& entry) {
    // Absent already (closed, so the kernel dropped it) is the same outcome.
    ::epoll_ctl(epoll_, EPOLL_CTL_DEL, socket, nullptr);
    entry.registered = 0;
}

void SocketSet::updateLoopReference() {
    bool wanted = watched_ > 0;
    if (!poll_ || wanted == referenced_) {
        return;
    }
    referenced_ = wanted;
    if (wanted) {
        uv_ref(asHandle(poll_));
    } else {
        uv_unref(asHandle(poll_));
    }
}

}  // namespace zorlet
