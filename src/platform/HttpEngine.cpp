#include "platform/HttpEngine.h"

#include "platform/HttpExchange.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"

#include <uv.h>

#include <sys/socket.h>
#include <unistd.h>

namespace zorlet {

struct HttpEngine::SocketContext {
    uv_poll_t poll;
    curl_socket_t socket;
    HttpEngine* engine;
    int events = 0;           // what libuv watches for
    bool removed = false;     // libcurl is not waiting on it now
    bool connection = false;  // opened and closed through us, so it may outlive a transfer
};

namespace {

uv_handle_t* asHandle(uv_poll_t* poll) {
    return reinterpret_cast<uv_handle_t*>(poll);
}

}  // namespace

// libuv reports a socket error (a peer reset, a refused connect) as a failed
// poll and stops watching. Handing that to libcurl as CURL_CSELECT_ERR would
// fail the transfer outright, even when it is only a reused keep-alive
// connection the server had just closed, which libcurl retries on a fresh
// connection when it meets the error itself. So libcurl is told the socket is
// ready, reads or writes it and finds out; watching resumes if it still wants
// the socket.
void HttpEngine::onSocketReady(uv_poll_t* poll, int status, int readyEvents) {
    auto* context = static_cast<SocketContext*>(poll->data);
    if (context->removed) {
        return;
    }
    int flags = 0;
    if (status < 0) {
        flags = CURL_CSELECT_IN | CURL_CSELECT_OUT;
    } else {
        if (readyEvents & UV_READABLE) {
            flags |= CURL_CSELECT_IN;
        }
        if (readyEvents & UV_WRITABLE) {
            flags |= CURL_CSELECT_OUT;
        }
    }
    HttpEngine* engine = context->engine;
    int running = 0;
    curl_multi_socket_action(engine->multi_, context->socket, flags, &running);
    uv_handle_t* handle = asHandle(&context->poll);
    if (status < 0 && !context->removed && context->events != 0 && !uv_is_active(handle) &&
        !uv_is_closing(handle)) {
        uv_poll_start(&context->poll, context->events, &onSocketReady);
    }
    engine->checkFinished();
}

HttpEngine& HttpEngine::shared() {
    static HttpEngine* engine = new HttpEngine();
    return *engine;
}

HttpEngine::HttpEngine() : timer_(std::make_unique<uv_timer_t>()) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    multi_ = createMulti();
    uv_timer_init(MainLoop::main().uvLoop(), timer_.get());
    timer_->data = this;
    uv_unref(reinterpret_cast<uv_handle_t*>(timer_.get()));
}

CURLM* HttpEngine::createMulti() {
    CURLM* multi = curl_multi_init();
    curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, &HttpEngine::onSocket);
    curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, &HttpEngine::onCurlTimer);
    curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this);
    // Connections to the API host are reused across requests.
    curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, 0L);
    // libcurl sizes its pool by the transfers added at the moment, so after a
    // burst of twenty it would close all but a few connections and the next
    // burst would open them again; the pool holds what the queue may run at once.
    curl_multi_setopt(multi, CURLMOPT_MAXCONNECTS, kPooledConnections);
    return multi;
}

void HttpEngine::closeIdleConnections() {
    if (!transfers_.empty()) {
        return;
    }
    // The connection pool belongs to the multi handle; a fresh one starts empty.
    curl_multi_cleanup(multi_);
    multi_ = createMulti();
}

void HttpEngine::start(HttpRequestPtr request, std::function<void()> done) {
    CURL* spare = nullptr;
    if (!spareHandles_.empty()) {
        spare = spareHandles_.back();
        spareHandles_.pop_back();
    }
    auto exchange = std::make_unique<HttpExchange>(request, spare);
    if (auto prepared = exchange->prepare(); !prepared) {
        request->complete(0, {}, {}, HttpError{HttpErrorKind::Invalid, prepared.error()});
        MainLoop::main().post(std::move(done));
        return;
    }
    CURL* easy = exchange->handle();
    curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, &HttpEngine::onOpenSocket);
    curl_easy_setopt(easy, CURLOPT_OPENSOCKETDATA, this);
    curl_easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, &HttpEngine::onCloseSocket);
    curl_easy_setopt(easy, CURLOPT_CLOSESOCKETDATA, this);
    transfers_.emplace(easy, Transfer{std::move(exchange), std::move(done)});
    CURLMcode code = curl_multi_add_handle(multi_, easy);
    if (code != CURLM_OK) {
        auto node = transfers_.extract(easy);
        request->complete(0, {}, {}, HttpError{HttpErrorKind::Invalid, curl_multi_strerror(code)});
        MainLoop::main().post(std::move(node.mapped().done));
    }
}

void HttpEngine::cancel(HttpRequest& request) {
    for (auto& [easy, transfer] : transfers_) {
        if (transfer.exchange->request().get() == &request) {
            // Finishing here, not in libcurl's callback, so the handle goes away at once.
            finishTransfer(easy, CURLE_ABORTED_BY_CALLBACK);
            return;
        }
    }
}

void HttpEngine::cancelAll() {
    std::vector<HttpRequestPtr> running;
    for (auto& [easy, transfer] : transfers_) {
        running.push_back(transfer.exchange->request());
    }
    for (auto& request : running) {
        request->cancel();
    }
}

int HttpEngine::onSocket(CURL*, curl_socket_t socket, int action, void* enginePtr, void* socketContext) {
    auto* engine = static_cast<HttpEngine*>(enginePtr);
    auto* context = static_cast<SocketContext*>(socketContext);
    auto known = engine->sockets_.find(socket);
    if (!context && known != engine->sockets_.end()) {
        context = known->second;
    }
    if (action == CURL_POLL_REMOVE) {
        if (!context) {
            return 0;
        }
        // Stopped now, whatever comes next: libcurl may close the socket
        // itself right after telling us, without the close callback.
        context->removed = true;
        context->events = 0;
        uv_poll_stop(&context->poll);
        if (!context->connection) {
            curl_multi_assign(engine->multi_, socket, nullptr);
            closeContext(context);
        }
        return 0;
    }
    if (!context) {
        context = new SocketContext{{}, socket, engine};
        uv_poll_init_socket(MainLoop::main().uvLoop(), &context->poll, socket);
        context->poll.data = context;
        if (known != engine->sockets_.end()) {
            context->connection = true;
            known->second = context;
        }
    }
    if (!socketContext) {
        curl_multi_assign(engine->multi_, socket, context);
    }
    context->removed = false;
    int events = 0;
    if (action == CURL_POLL_IN || action == CURL_POLL_INOUT) {
        events |= UV_READABLE;
    }
    if (action == CURL_POLL_OUT || action == CURL_POLL_INOUT) {
        events |= UV_WRITABLE;
    }
    // Starting a poll that already watches these events would make libuv
    // drop and re-add the socket for nothing.
    if (events != context->events || !uv_is_active(asHandle(&context->poll))) {
        context->events = events;
        uv_poll_start(&context->poll, events, &onSocketReady);
    }
    return 0;
}

curl_socket_t HttpEngine::onOpenSocket(void* enginePtr, curlsocktype, curl_sockaddr* address) {
    auto* engine = static_cast<HttpEngine*>(enginePtr);
    curl_socket_t socket = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    if (socket == CURL_SOCKET_BAD) {
        return socket;
    }
    // A fresh descriptor cannot be one we still watch; a watcher left under
    // its number belonged to a socket closed behind our back.
    if (auto stale = engine->sockets_.find(socket); stale != engine->sockets_.end()) {
        if (stale->second) {
            closeContext(stale->second);
        }
        engine->sockets_.erase(stale);
    }
    engine->sockets_.emplace(socket, nullptr);
    return socket;
}

// The watcher goes before the descriptor does, so libuv never holds a number
// the system may already have handed to someone else.
int HttpEngine::onCloseSocket(void* enginePtr, curl_socket_t socket) {
    auto* engine = static_cast<HttpEngine*>(enginePtr);
    if (auto known = engine->sockets_.find(socket); known != engine->sockets_.end()) {
        if (known->second) {
            // libcurl must not hand the freed watcher back if it names this socket again.
            curl_multi_assign(engine->multi_, socket, nullptr);
            closeContext(known->second);
        }
        engine->sockets_.erase(known);
    }
    return ::close(socket);
}

void HttpEngine::closeContext(SocketContext* context) {
    context->removed = true;
    context->events = 0;
    uv_close(asHandle(&context->poll),
             [](uv_handle_t* handle) { delete static_cast<SocketContext*>(handle->data); });
}

int HttpEngine::onCurlTimer(CURLM*, long timeoutMs, void* enginePtr) {
    auto* engine = static_cast<HttpEngine*>(enginePtr);
    if (timeoutMs < 0) {
        uv_timer_stop(engine->timer_.get());
        return 0;
    }
    uv_timer_start(
        engine->timer_.get(),
        [](uv_timer_t* handle) {
            auto* engine = static_cast<HttpEngine*>(handle->data);
            int running = 0;
            curl_multi_socket_action(engine->multi_, CURL_SOCKET_TIMEOUT, 0, &running);
            engine->checkFinished();
        },
        static_cast<uint64_t>(timeoutMs), 0);
    return 0;
}

void HttpEngine::checkFinished() {
    int pending = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &pending)) {
        if (message->msg == CURLMSG_DONE) {
            finishTransfer(message->easy_handle, message->data.result);
        }
    }
}

void HttpEngine::finishTransfer(CURL* easy, CURLcode code) {
    auto node = transfers_.extract(easy);
    if (node.empty()) {
        return;
    }
    curl_multi_remove_handle(multi_, easy);
    Transfer transfer = std::move(node.mapped());
    transfer.exchange->finish(code);
    if (CURL* handle = transfer.exchange->releaseHandle()) {
        if (spareHandles_.size() < static_cast<std::size_t>(kPooledConnections)) {
            spareHandles_.push_back(handle);
        } else {
            curl_easy_cleanup(handle);
        }
    }
    transfer.exchange.reset();
    if (transfer.done) {
        transfer.done();
    }
}

}  // namespace zorlet
