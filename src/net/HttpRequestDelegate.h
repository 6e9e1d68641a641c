#pragma once

#include "platform/HttpRequest.h"

#include <functional>

namespace zorlet {

// The base of request delegates, and the standard treatment of a transport
// failure: the generic message, or signing out when the server no longer
// accepts the session (HTTP 401).
class HttpRequestDelegate : public HttpRequestObserver {
public:
    void requestFinished(HttpRequest&) override {}
    void requestFailed(HttpRequest& request) override { requestFailedHandle(request); }

    static void requestFailedHandle(HttpRequest& request);

    // The session installs what "signed out by the server" means (local
    // logout, back to the welcome screen); this layer knows nothing of it.
    static void setSessionRejectedHandler(std::function<void()> handler);
};

}  // namespace zorlet
