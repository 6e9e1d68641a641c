#include "platform/Reachability.h"

#include "platform/UrlParts.h"

#include <netdb.h>
#include <sys/socket.h>

namespace zorlet {

Reachability& Reachability::shared() {
    static Reachability* reachability = new Reachability();
    return *reachability;
}

NetworkStatus Reachability::statusForHost(const std::string& host) const {
    if (!available_ || host.empty()) {
        return NetworkStatus::NotReachable;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &result) != 0) {
        return NetworkStatus::NotReachable;
    }
    ::freeaddrinfo(result);
    return NetworkStatus::ReachableViaWiFi;
}

std::string Reachability::hostOfURL(const std::string& url) {
    auto parts = UrlParts::parse(url);
    return parts ? parts->host : std::string();
}

}  // namespace zorlet
