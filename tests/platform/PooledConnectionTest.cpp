#include "platform/HttpEngine.h"
#include "platform/HttpRequest.h"

#include "support/LoopTest.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
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
    ResettingServer() {
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

    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> connections_{0};
    std::thread thread_;
};

TEST(PooledConnectionTest, AConnectionResetOnReuseIsRetriedOnAFreshOne) {
    HttpEngine::shared().closeIdleConnections();
    ResettingServer server;
    for (int round = 0; round < 2; ++round) {
        auto request = HttpRequest::create(server.url());
        request->setUseDownloadCache(false);
        bool done = false;
        request->setCompletionBlock([&](HttpRequest&) { done = true; });
        request->setFailedBlock([&](HttpRequest&) { done = true; });
        request->startAsynchronous();
        ASSERT_TRUE(waitUntil([&] { return done; }));
        ASSERT_FALSE(request->error()) << "round " << round << ": " << request->error()->message;
        EXPECT_EQ(request->responseStatusCode(), 200);
        EXPECT_EQ(request->responseString(), "ok");
    }
    EXPECT_EQ(server.connections(), 2);
    HttpEngine::shared().closeIdleConnections();
}

}  // namespace
}  // namespace zorlet::test
