#include "net/HttpRequestDelegate.h"

#include "net/MessageShow.h"
#include "net/ResponseEnvelope.h"
#include "platform/Log.h"

namespace zorlet {

namespace {

std::function<void()>& sessionRejectedHandler() {
    static auto* handler = new std::function<void()>();
    return *handler;
}

}  // namespace

void HttpRequestDelegate::setSessionRejectedHandler(std::function<void()> handler) {
    sessionRejectedHandler() = std::move(handler);
}

void HttpRequestDelegate::requestFailedHandle(HttpRequest& request) {
    if (request.responseStatusCode() != 401) {
        if (request.error() && request.error()->kind == HttpErrorKind::Cancelled) {
            // Cancelled on purpose (a screen went away): nothing to tell the user.
            return;
        }
        MessageShow::error(ResponseEnvelope::kGenericError, nullptr);
        return;
    }
    if (auto& handler = sessionRejectedHandler()) {
        handler();
    } else {
        log().warn("the server rejected the session but no sign-out handler is installed");
    }
}

}  // namespace zorlet
