#include "platform/HttpEngine.h"

#include "platform/HttpExchange.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"

#include <uv.h>

#include <sys/socket.h>
#include <unistd.h>

namespace zorlet {

// A socket error (a peer reset, a refused connect) is handed to libcurl as
// readiness, not as CURL_CSELECT_ERR: that would fail the transfer outright,
// even when it is only a reused keep-alive connection the server had just
// closed, which libcurl retries on a fresh connection when it meets the error
// itself while reading or writing.
void HttpEngine::onSocketReady(curl_socket_t socket, int events) {
    int flags = 0;
    if (events & SocketSet::Readable) {
        flags |= CURL_CSELECT_IN;
    }
    if (events & SocketSet::Writable) {
        flags |= CURL_CSELECT_OUT;
    }
    int running = 0;
    curl_multi_socket_action(multi_, socket, flags, &running);
    checkFinished();
}

HttpEngine& HttpEngine::shared() {
    static HttpEngine* engine = new HttpEngine();
    return *engine;
}

HttpEngine::HttpEngine()
    : timer_(std::make_unique<uv_timer_t>()),
      sockets_(MainLoop::main().uvLoop(), [this](int socket, int events) { onSocketReady(socket, events); }) {
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

int HttpEngine::onSocket(CURL*, curl_socket_t socket, int action, void* enginePtr, void*) {
    auto* engine = static_cast<HttpEngine*>(enginePtr);
    if (action == CURL_POLL_REMOVE) {
        // libcurl may close a socket it did not open through us right after
        // saying so, without the close callback.
        if (engine->connections_.count(socket) != 0) {
            engine->sockets_.pause(socket);
        } else {
            engine->sockets_.forget(socket);
        }
        return 0;
    }
    int events = 0;
    if (action == CURL_POLL_IN || action == CURL_POLL_INOUT) {
        events |= SocketSet::Readable;
    }
    if (action == CURL_POLL_OUT || action == CURL_POLL_INOUT) {
        events |= SocketSet::Writable;
    }
    // Failing here makes libcurl fail the transfers rather than wait forever.
    return engine->sockets_.watch(socket, events) ? 0 : -1;
}

curl_socket_t HttpEngine::onOpenSocket(void* enginePtr, curlsocktype, curl_sockaddr* address) {
    auto* engine = static_cast<HttpEngine*>(enginePtr);
    curl_socket_t socket = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    if (socket == CURL_SOCKET_BAD) {
        return socket;
    }
    // A fresh descriptor cannot be one we still watch; what is left under
    // its number belonged to a socket closed behind our back.
    engine->sockets_.forget(socket);
    engine->connections_.insert(socket);
    return socket;
}

int HttpEngine::onCloseSocket(void* enginePtr, curl_socket_t socket) {
    auto* engine = static_cast<HttpEngine*>(enginePtr);
    engine->sockets_.forget(socket);
    engine->connections_.erase(socket);
    return ::close(socket);
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
