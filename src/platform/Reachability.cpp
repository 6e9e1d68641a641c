#include "platform/Reachability.h"

#include "platform/UrlParts.h"

#include <netdb.h>
#include <sys/socket.h>

#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace zorlet {

namespace {

using SteadyClock = std::chrono::steady_clock;

bool systemResolves(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &result) != 0) {
        return false;
    }
    ::freeaddrinfo(result);
    return true;
}

}  // namespace

struct Reachability::State {
    struct Answer {
        std::optional<bool> reachable;  // none until the first lookup answered
        SteadyClock::time_point checkedAt;
        bool looking = false;
    };
    std::mutex mutex;
    Resolver resolver = systemResolves;
    // Bumped when the resolver changes, so a lookup by the old one is not believed.
    std::uint64_t generation = 0;
    std::map<std::string, Answer> answers;
};

Reachability& Reachability::shared() {
    static Reachability* reachability = new Reachability();
    return *reachability;
}

Reachability::Reachability() : state_(std::make_shared<State>()) {}

void Reachability::setResolver(Resolver resolver) {
    std::lock_guard lock(state_->mutex);
    state_->resolver = resolver ? std::move(resolver) : Resolver(systemResolves);
    ++state_->generation;
    state_->answers.clear();
}

NetworkStatus Reachability::statusForHost(const std::string& host) const {
    if (!available_ || host.empty()) {
        return NetworkStatus::NotReachable;
    }
    std::unique_lock lock(state_->mutex);
    auto& answer = state_->answers[host];
    auto now = SteadyClock::now();
    bool stale = !answer.reachable || now - answer.checkedAt >= kRefreshInterval;
    if (stale && !answer.looking) {
        answer.looking = true;
        // A detached worker holding the state: the lookup may outlast any caller.
        std::thread([state = state_, host, resolver = state_->resolver, generation = state_->generation] {
            bool reachable = resolver(host);
            std::lock_guard done(state->mutex);
            if (state->generation != generation) {
                return;
            }
            auto& updated = state->answers[host];
            updated.reachable = reachable;
            updated.checkedAt = SteadyClock::now();
            updated.looking = false;
        }).detach();
    }
    bool reachable = answer.reachable.value_or(true);
    return reachable ? NetworkStatus::ReachableViaWiFi : NetworkStatus::NotReachable;
}

std::string Reachability::hostOfURL(const std::string& url) {
    auto parts = UrlParts::parse(url);
    return parts ? parts->host : std::string();
}

}  // namespace zorlet
