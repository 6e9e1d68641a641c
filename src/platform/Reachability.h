#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace zorlet {

enum class NetworkStatus { NotReachable = 0, ReachableViaWiFi = 1, ReachableViaWWAN = 2 };

// Whether a host can be reached. The machine's own check is a name lookup,
// which a slow resolver can stretch to seconds, and every request asks
// first; so answers come from what the last lookup found, and lookups run on
// a worker, at the first question about a host and again once the answer is
// older than kRefreshInterval. Until the first lookup has answered a host
// reads as reachable, and the request itself finds out. The switch lets
// tests and the host app simulate "no network".
class Reachability {
public:
    using Resolver = std::function<bool(const std::string& host)>;
    static constexpr std::chrono::seconds kRefreshInterval{30};

    static Reachability& shared();
    Reachability();

    // Any thread; never waits for a lookup.
    NetworkStatus statusForHost(const std::string& host) const;
    // Replaces the name lookup (tests) and forgets every answer; an empty one restores the system's.
    void setResolver(Resolver resolver);
    // Host taken from a URL ("http://127.0.0.1:8080/x" -> "127.0.0.1").
    static std::string hostOfURL(const std::string& url);

    void setNetworkAvailable(bool available) { available_ = available; }
    bool isNetworkAvailable() const { return available_; }

private:
    struct State;
    std::shared_ptr<State> state_;
    std::atomic<bool> available_{true};
};

}  // namespace zorlet
