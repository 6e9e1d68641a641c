#include "platform/HttpEngine.h"
#include "platform/HttpRequest.h"

#include "support/LoopTest.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <string>
#include <thread>

namespace zorlet::test {
namespace {

// A loopback server that answers the first request on a connection with a
// keep-alive answer, then resets that connection as soon as the next request
// arrives on it: a server closing an idle connection the moment the client
// reuses it. Requests on later connections are answered normally.
class ResettingServer {
public:
    // closeWhenIdle: the first connection is closed cleanly right after its
    // first answer, while the client holds it idle in its pool.
    explicit ResettingServer(bool closeWhenIdle = false) : closeWhenIdle_(closeWhenIdle) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 8);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~ResettingServer() {
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/ping"; }
    int connections() const { return connections_; }
    bool closedFirstConnection() const { return closedFirst_; }

private:
    static bool readRequest(int socket) {
        std::string received;
        char buffer[1024];
        while (received.find("\r\n\r\n") == std::string::npos) {
            ssize_t count = ::recv(socket, buffer, sizeof buffer, 0);
            if (count <= 0) {
                return false;
            }
            received.append(buffer, static_cast<std::size_t>(count));
        }
        return true;
    }
    static void answer(int socket) {
        static const std::string reply =
            "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nContent-Type: text/plain\r\n\r\nok";
        ::send(socket, reply.data(), reply.size(), MSG_NOSIGNAL);
    }
    static void reset(int socket) {
        linger hard{1, 0};
        ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        ::close(socket);
    }
    void serve() {
        while (true) {
            int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) {
                return;
            }
            if (++connections_ == 1) {
                if (readRequest(client)) {
                    answer(client);
                }
                if (closeWhenIdle_) {
                    ::shutdown(client, SHUT_WR);
                    closedFirst_ = true;
                    // Keeps the descriptor open for a while, so the client sees end of stream, not a reset.
                    std::this_thread::sleep_for(std::chrono::milliseconds(300));
                    ::close(client);
                    continue;
                }
                if (readRequest(client)) {
                    reset(client);
                    continue;
                }
            } else {
                while (readRequest(client)) {
                    answer(client);
                }
            }
            ::close(client);
        }
    }

    bool closeWhenIdle_ = false;
    std::atomic<bool> closedFirst_{false};
    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> connections_{0};
    std::thread thread_;
};

// A GET through the shared queue, waited for on the loop.
HttpRequestPtr fetch(const std::string& url) {
    auto request = HttpRequest::create(url);
    request->setUseDownloadCache(false);
    EXPECT_TRUE(runToEnd(request));
    return request;
}

TEST(PooledConnectionTest, AConnectionResetOnReuseIsRetriedOnAFreshOne) {
    HttpEngine::shared().closeIdleConnections();
    ResettingServer server;
    for (int round = 0; round < 2; ++round) {
        auto request = fetch(server.url());
        ASSERT_FALSE(request->error()) << "round " << round << ": " << request->error()->message;
        EXPECT_EQ(request->responseStatusCode(), 200);
        EXPECT_EQ(request->responseString(), "ok");
    }
    EXPECT_EQ(server.connections(), 2);
    HttpEngine::shared().closeIdleConnections();
}

double threadCpuMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The client keeps an idle connection's watcher between requests. When the
// server ends that connection, the end of stream is readable for good: the
// loop must stop watching it rather than wake for it over and over, and the
// next request must go out on a fresh connection.
TEST(PooledConnectionTest, AnIdleConnectionTheServerEndsNeitherSpinsTheLoopNorFailsTheNextRequest) {
    HttpEngine::shared().closeIdleConnections();
    ResettingServer server(/*closeWhenIdle=*/true);
    auto first = fetch(server.url());
    ASSERT_FALSE(first->error()) << first->error()->message;
    ASSERT_TRUE(waitUntil([&] { return server.closedFirstConnection(); }));

    double before = threadCpuMilliseconds();
    waitUntil([] { return false; }, Duration(200));
    EXPECT_LT(threadCpuMilliseconds() - before, 60) << "the loop kept waking for the ended connection";

    auto second = fetch(server.url());
    ASSERT_FALSE(second->error()) << second->error()->message;
    EXPECT_EQ(second->responseString(), "ok");
    EXPECT_EQ(server.connections(), 2);
    HttpEngine::shared().closeIdleConnections();
}

}  // namespace
}  // namespace zorlet::test
