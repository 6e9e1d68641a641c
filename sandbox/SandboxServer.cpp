#include "sandbox/SandboxServer.h"

#include "platform/Log.h"
#include "sandbox/Database.h"
#include "sandbox/DemoSeed.h"
#include "sandbox/Envelope.h"
#include "sandbox/LoginThrottle.h"
#include "sandbox/Pictures.h"
#include "sandbox/ReferenceData.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/ServiceRoutes.h"
#include "sandbox/Sessions.h"
#include "sandbox/TestControl.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <ctime>
#include <future>
#include <memory>

namespace zorlet::sandbox {

namespace {

// Long enough that guessing it over HTTP is hopeless.
constexpr size_t shortestSecret = 16;

}  // namespace

Result<std::unique_ptr<SandboxServer>> SandboxServer::start(SandboxOptions options) {
    if (!Passwords::initialize()) {
        return Failure{"libsodium could not be initialised"};
    }
    if (options.databasePath.empty()) {
        return Failure{"no database file given"};
    }
    if (options.testControl && options.testControlSecret.empty()) {
        options.testControlSecret = Passwords::randomHex(16);
    }
    if (options.testControl && options.testControlSecret.size() < shortestSecret) {
        return Failure{"the test control secret must have at least " + std::to_string(shortestSecret) +
                       " characters"};
    }
    if (!options.testControl) {
        options.testControlSecret.clear();
    }
    if (options.dataFolder.empty()) {
        options.dataFolder =
            options.databasePath.parent_path() / (options.databasePath.filename().string() + "-data");
    }
    std::error_code fileError;
    std::filesystem::create_directories(options.dataFolder / "pictures", fileError);
    if (fileError) {
        return Failure{"cannot create the data folder " + options.dataFolder.string() + ": " +
                       fileError.message()};
    }
    if (auto parent = options.databasePath.parent_path(); !parent.empty()) {
        std::filesystem::create_directories(parent, fileError);
    }

    auto server = std::unique_ptr<SandboxServer>(new SandboxServer());
    // One connection per worker: a worker waiting for a pooled connection while the
    // holder is descheduled tripled the feed's tail latency under twenty clients.
    auto database = Database::open(options.databasePath.string(), std::max(4, options.workerThreads));
    if (!database) {
        return Failure{database.error()};
    }
    server->database_ = std::move(*database);
    server->sessions_ = std::make_unique<Sessions>(*server->database_);
    server->pictures_ = std::make_unique<Pictures>(options.dataFolder / "pictures");
    server->reference_ = std::make_unique<ReferenceData>(ReferenceData::load(options.resourcesFolder));
    server->logins_ = std::make_unique<LoginThrottle>();
    server->context_ = std::unique_ptr<ServiceContext>(
        new ServiceContext{options, *server->database_, *server->sessions_, *server->pictures_,
                           *server->reference_, *server->logins_, 0});
    auto* raw = server.get();
    server->testControl_ =
        std::make_unique<TestControl>(*server->context_, [raw] { return raw->resetData(); });
    if (options.seedDemo) {
        if (auto planted = server->plantDemoIfEmpty(); !planted) {
            return Failure{planted.error()};
        }
    }

    server->http_ = std::make_unique<httplib::Server>();
    auto& http = *server->http_;
    auto threads = static_cast<size_t>(std::max(4, options.workerThreads));
    // A kept-alive connection holds a worker, so there must be more workers than clients.
    http.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    http.set_keep_alive_max_count(1000);
    // Small answers must not wait for the client's delayed ACK (~40 ms each).
    http.set_tcp_nodelay(true);
    // An idle kept-alive connection holds a worker, and stopping waits for it;
    // reconnecting on loopback after a second of silence costs nothing.
    http.set_keep_alive_timeout(1);
    // httplib listens with a backlog of five: a burst of new connections (a
    // screen's pictures, twenty clients at once) overflows it, and every SYN
    // dropped costs its client a second before it tries again.
    auto listening = std::make_shared<socket_t>(INVALID_SOCKET);
    http.set_socket_options([listening](socket_t socket) {
        httplib::default_socket_options(socket);
        *listening = socket;
    });
    ServiceRoutes::configure(http);
    server->routes_ = std::make_unique<Routes>(http, *server->context_);
    ServiceRoutes::install(*server->routes_, options.testControl ? server->testControl_.get() : nullptr);

    if (options.port == 0) {
        server->port_ = http.bind_to_any_port("127.0.0.1");
    } else {
        server->port_ = http.bind_to_port("127.0.0.1", options.port) ? options.port : -1;
    }
    if (server->port_ <= 0) {
        return Failure{"cannot listen on 127.0.0.1:" + std::to_string(options.port)};
    }
    if (*listening != INVALID_SOCKET) {
        ::listen(*listening, SOMAXCONN);
    }
    server->context_->port = server->port_;
    // The socket is bound already: connections made before the loop runs wait in the backlog.
    server->listener_ = std::thread([&http] { http.listen_after_bind(); });
    zorlet::log().info("sandbox: serving on {}", server->baseUrl());
    return server;
}

SandboxServer::~SandboxServer() {
    stop();
}

void SandboxServer::stop() {
    if (http_) {
        http_->stop();
    }
    if (listener_.joinable()) {
        listener_.join();
    }
}

std::string SandboxServer::testControlSecret() const {
    return context_->options.testControlSecret;
}

std::string SandboxServer::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

Status SandboxServer::plantDemoIfEmpty() {
    try {
        bool empty = false;
        database_->read([&](Connection& connection) {
            auto query = connection.prepare("SELECT COUNT(*) FROM users");
            query.step();
            empty = query.integer(0) == 0;
        });
        if (!empty) {
            return {};
        }
        auto hashing = std::async(std::launch::async, [cost = context_->options.passwordCost] {
            return Passwords::hash(DemoSeed::demoPassword, cost);
        });
        auto artwork = DemoSeed::paint();
        auto hash = hashing.get();
        if (!hash) {
            return Failure{"cannot hash the demo password"};
        }
        database_->write([&](Connection& connection) {
            DemoSeed::plant(connection, *reference_, *pictures_, artwork, *hash,
                            static_cast<std::int64_t>(std::time(nullptr)));
        });
    } catch (const std::exception& e) {
        return Failure{std::string("cannot plant the demo data: ") + e.what()};
    }
    return {};
}

bool SandboxServer::resetData() {
    try {
        database_->write([&](Connection& connection) {
            for (const char* table : {"post_responses",
                                      "interests",
                                      "reports",
                                      "idea_shares",
                                      "idea_wants",
                                      "ideas",
                                      "external_places",
                                      "external_categories",
                                      "preference_answers",
                                      "dialog_cleared",
                                      "dialogs",
                                      "blacklist",
                                      "messages",
                                      "devices",
                                      "sessions",
                                      "password_resets",
                                      "external_grants",
                                      "outbox",
                                      "posts",
                                      "pictures",
                                      "users",
                                      "meta"}) {
                connection.execute(std::string("DELETE FROM ") + table);
            }
            // Fresh ids after a reset, as on a new database.
            connection.execute("DELETE FROM sqlite_sequence");
        });
        pictures_->removeAll();
    } catch (const std::exception& e) {
        zorlet::log().warn("sandbox: reset failed: {}", e.what());
        return false;
    }
    if (context_->options.seedDemo) {
        if (auto planted = plantDemoIfEmpty(); !planted) {
            zorlet::log().warn("sandbox: {}", planted.error());
            return false;
        }
    }
    return true;
}

}  // namespace zorlet::sandbox
