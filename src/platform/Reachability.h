#pragma once

#include <atomic>
#include <string>

namespace zorlet {

enum class NetworkStatus { NotReachable = 0, ReachableViaWiFi = 1, ReachableViaWWAN = 2 };

// Whether a host can be reached. The machine's own check is a name lookup;
// the switch lets tests and the host app simulate "no network".
class Reachability {
public:
    static Reachability& shared();

    NetworkStatus statusForHost(const std::string& host) const;
    // Host taken from a URL ("http://127.0.0.1:8080/x" -> "127.0.0.1").
    static std::string hostOfURL(const std::string& url);

    void setNetworkAvailable(bool available) { available_ = available; }
    bool isNetworkAvailable() const { return available_; }

private:
    std::atomic<bool> available_{true};
};

}  // namespace zorlet
