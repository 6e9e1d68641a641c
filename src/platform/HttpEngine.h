#pragma once

#include "platform/HttpRequest.h"
#include "platform/SocketSet.h"

#include <curl/curl.h>

#include <map>
#include <memory>
#include <unordered_set>
#include <vector>

struct uv_timer_s;

namespace zorlet {

class HttpExchange;

// libcurl's multi interface driven by the main loop's libuv handles, so
// transfers progress while the loop runs and finish on the loop thread.
class HttpEngine {
public:
    static HttpEngine& shared();

    // Starts the transfer; `done` runs on the loop once the request has its outcome.
    void start(HttpRequestPtr request, std::function<void()> done);
    void cancel(HttpRequest& request);
    void cancelAll();
    std::size_t activeCount() const { return transfers_.size(); }
    // Closes the pooled keep-alive connections when nothing is running, so a
    // server that is about to stop has no idle client to wait out.
    void closeIdleConnections();

private:
    struct Transfer {
        std::unique_ptr<HttpExchange> exchange;
        std::function<void()> done;
    };
    // Room for every transfer the shared queue runs at once, and the picture loads beside them.
    static constexpr long kPooledConnections = 32;

    HttpEngine();
    CURLM* createMulti();
    static int onSocket(CURL* easy, curl_socket_t socket, int action, void* engine, void* socketContext);
    static curl_socket_t onOpenSocket(void* engine, curlsocktype purpose, curl_sockaddr* address);
    static int onCloseSocket(void* engine, curl_socket_t socket);
    void onSocketReady(curl_socket_t socket, int events);
    static int onCurlTimer(CURLM* multi, long timeoutMs, void* engine);
    void checkFinished();
    void finishTransfer(CURL* easy, CURLcode code);

    CURLM* multi_ = nullptr;
    std::unique_ptr<uv_timer_s> timer_;
    std::map<CURL*, Transfer> transfers_;
    SocketSet sockets_;
    // The connections libcurl opened through us and has not closed. They
    // may outlive a transfer in the pool, so between transfers they stay in
    // the socket set, paused; any other socket (a resolver's) leaves it.
    std::unordered_set<curl_socket_t> connections_;
    // Easy handles of finished transfers, reset, for the next ones: making
    // and freeing one per request costs more than the request's own setup.
    std::vector<CURL*> spareHandles_;
};

}  // namespace zorlet
