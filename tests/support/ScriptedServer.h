#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace httplib {
class Server;
}

namespace zorlet::test {

struct RecordedFile {
    std::string key;
    std::string fileName;
    std::string contentType;
    std::string data;
};

// One request as the server saw it.
struct RecordedRequest {
    std::string method;
    std::string path;
    std::string rawQuery;
    std::string body;
    std::multimap<std::string, std::string> headers;
    std::multimap<std::string, std::string> query;  // decoded query parameters
    std::multimap<std::string, std::string> form;   // decoded form or multipart text fields
    std::vector<RecordedFile> files;
    std::map<std::string, std::string> cookies;

    std::string header(const std::string& name) const;
    // A query or form parameter, empty when absent.
    std::string param(const std::string& key) const;
    bool hasParam(const std::string& key) const;
};

struct Reply {
    int status = 200;
    std::string body;
    std::string contentType = "application/json;charset=UTF-8";
    std::vector<std::pair<std::string, std::string>> headers;
    std::vector<std::string> setCookies;  // Set-Cookie header values
    bool gzip = false;
    std::chrono::milliseconds stall{0};  // wait before answering
    bool drop = false;                   // close the connection before the body is complete

    static Reply json(const std::string& body, int status = 200);
};

// A real HTTP server on 127.0.0.1 for tests: per-path handlers, every request
// recorded. Paths without a handler answer 404.
class ScriptedServer {
public:
    using Handler = std::function<void(const RecordedRequest&, Reply&)>;

    // Idle keep-alive connections are held this long. Not zero: the server also
    // waits this long for a new connection's first request, and a loaded
    // machine can take longer than an instant to send it. Stopping does not
    // wait on idle connections either way.
    explicit ScriptedServer(int keepAliveSeconds = 1);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:PORT" followed by `path`.
    std::string url(const std::string& path = "") const;

    void on(const std::string& path, Handler handler);
    void onJson(const std::string& path, const std::string& body, int status = 200);

    std::vector<RecordedRequest> requests() const;
    std::vector<RecordedRequest> requestsTo(const std::string& path) const;
    std::size_t countOf(const std::string& path) const;
    RecordedRequest lastRequestTo(const std::string& path) const;
    void clearRequests();
    // A benchmark's hundred thousand requests would otherwise pile up in memory.
    void setRecordsRequests(bool records) { recordsRequests_ = records; }

    int inFlight() const { return inFlight_; }
    int highestInFlight() const { return highestInFlight_; }

private:
    void handle(const void* request, void* response);

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, Handler> handlers_;
    std::vector<RecordedRequest> requests_;
    std::atomic<int> inFlight_{0};
    std::atomic<int> highestInFlight_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> recordsRequests_{true};
};

}  // namespace zorlet::test
