#include "support/ScriptedServer.h"

#include "platform/HttpEngine.h"
#include "platform/UrlEncoding.h"

#include <httplib.h>
#include <strings.h>
#include <sys/socket.h>
#include <zlib.h>

#include <memory>
#include <stdexcept>

namespace zorlet::test {

namespace {

void parsePairs(const std::string& text, std::multimap<std::string, std::string>& into) {
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        auto end = text.find('&', start);
        std::string pair = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!pair.empty()) {
            auto eq = pair.find('=');
            into.emplace(percentDecode(pair.substr(0, eq)),
                         eq == std::string::npos ? std::string() : percentDecode(pair.substr(eq + 1)));
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
}

void parseCookies(const std::string& header, std::map<std::string, std::string>& into) {
    std::size_t start = 0;
    while (start < header.size()) {
        auto end = header.find(';', start);
        std::string pair = header.substr(start, end == std::string::npos ? std::string::npos : end - start);
        auto first = pair.find_first_not_of(' ');
        if (first != std::string::npos) {
            pair = pair.substr(first);
            auto eq = pair.find('=');
            if (eq != std::string::npos) {
                into[pair.substr(0, eq)] = pair.substr(eq + 1);
            }
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
}

std::string gzipCompress(const std::string& data) {
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, data.size()) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

std::string RecordedRequest::header(const std::string& name) const {
    for (const auto& [key, value] : headers) {
        if (::strcasecmp(key.c_str(), name.c_str()) == 0) {
            return value;
        }
    }
    return {};
}

std::string RecordedRequest::param(const std::string& key) const {
    if (auto it = query.find(key); it != query.end()) {
        return it->second;
    }
    if (auto it = form.find(key); it != form.end()) {
        return it->second;
    }
    return {};
}

bool RecordedRequest::hasParam(const std::string& key) const {
    return query.count(key) > 0 || form.count(key) > 0;
}

Reply Reply::json(const std::string& body, int status) {
    Reply reply;
    reply.body = body;
    reply.status = status;
    return reply;
}

ScriptedServer::ScriptedServer(int keepAliveSeconds) : server_(std::make_unique<httplib::Server>()) {
    server_->set_keep_alive_timeout(keepAliveSeconds);
    // Without it, small answers wait on the client's delayed ACK (~40 ms each).
    server_->set_tcp_nodelay(true);
    // Enough workers that the client's queue width, not the server, limits concurrency.
    server_->new_task_queue = [] { return new httplib::ThreadPool(48); };
    server_->set_keep_alive_max_count(1000);
    // httplib listens with a backlog of five; twenty connections opened at
    // once would overflow it and wait a second for the SYN to be sent again.
    auto listening = std::make_shared<socket_t>(INVALID_SOCKET);
    server_->set_socket_options([listening](socket_t socket) {
        httplib::default_socket_options(socket);
        *listening = socket;
    });
    auto route = [this](const httplib::Request& request, httplib::Response& response) {
        handle(&request, &response);
    };
    server_->Get(".*", route);
    server_->Post(".*", route);
    server_->Put(".*", route);
    server_->Delete(".*", route);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("scripted server could not bind to 127.0.0.1");
    }
    if (*listening != INVALID_SOCKET) {
        ::listen(*listening, SOMAXCONN);
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

ScriptedServer::~ScriptedServer() {
    // Each idle pooled connection would otherwise hold a worker for the whole keep-alive time.
    HttpEngine::shared().closeIdleConnections();
    stopping_ = true;
    server_->stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::string ScriptedServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void ScriptedServer::on(const std::string& path, Handler handler) {
    std::lock_guard lock(mutex_);
    handlers_[path] = std::move(handler);
}

void ScriptedServer::onJson(const std::string& path, const std::string& body, int status) {
    on(path, [body, status](const RecordedRequest&, Reply& reply) {
        reply.body = body;
        reply.status = status;
    });
}

void ScriptedServer::handle(const void* requestPtr, void* responsePtr) {
    const auto& request = *static_cast<const httplib::Request*>(requestPtr);
    auto& response = *static_cast<httplib::Response*>(responsePtr);
    int now = ++inFlight_;
    int highest = highestInFlight_.load();
    while (now > highest && !highestInFlight_.compare_exchange_weak(highest, now)) {
    }

    RecordedRequest recorded;
    recorded.method = request.method;
    recorded.path = request.path;
    recorded.body = request.body;
    auto question = request.target.find('?');
    if (question != std::string::npos) {
        recorded.rawQuery = request.target.substr(question + 1);
        parsePairs(recorded.rawQuery, recorded.query);
    }
    for (const auto& [name, value] : request.headers) {
        recorded.headers.emplace(name, value);
    }
    parseCookies(request.get_header_value("Cookie"), recorded.cookies);
    if (request.is_multipart_form_data()) {
        for (const auto& [key, part] : request.files) {
            if (part.filename.empty()) {
                recorded.form.emplace(key, part.content);
            } else {
                recorded.files.push_back(RecordedFile{key, part.filename, part.content_type, part.content});
            }
        }
    } else if (request.get_header_value("Content-Type").rfind("application/x-www-form-urlencoded", 0) == 0) {
        parsePairs(request.body, recorded.form);
    }

    Handler handler;
    {
        std::lock_guard lock(mutex_);
        if (recordsRequests_) {
            requests_.push_back(recorded);
        }
        if (auto it = handlers_.find(recorded.path); it != handlers_.end()) {
            handler = it->second;
        }
    }

    Reply reply;
    if (handler) {
        handler(recorded, reply);
    } else {
        reply.status = 404;
        reply.body = R"({"success":false,"errorInfo":"no handler"})";
    }

    auto deadline = std::chrono::steady_clock::now() + reply.stall;
    while (!stopping_ && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    response.status = reply.status;
    for (const auto& [name, value] : reply.headers) {
        response.set_header(name, value);
    }
    for (const auto& cookie : reply.setCookies) {
        response.headers.emplace("Set-Cookie", cookie);
    }
    if (reply.drop) {
        auto length = reply.body.size() + 100;
        response.set_content_provider(length, reply.contentType,
                                      [](size_t, size_t, httplib::DataSink&) { return false; });
    } else if (reply.gzip) {
        response.set_header("Content-Encoding", "gzip");
        response.set_content(gzipCompress(reply.body), reply.contentType.c_str());
    } else {
        response.set_content(reply.body, reply.contentType.c_str());
    }
    --inFlight_;
}

std::vector<RecordedRequest> ScriptedServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<RecordedRequest> ScriptedServer::requestsTo(const std::string& path) const {
    std::lock_guard lock(mutex_);
    std::vector<RecordedRequest> matching;
    for (const auto& request : requests_) {
        if (request.path == path) {
            matching.push_back(request);
        }
    }
    return matching;
}

std::size_t ScriptedServer::countOf(const std::string& path) const {
    return requestsTo(path).size();
}

RecordedRequest ScriptedServer::lastRequestTo(const std::string& path) const {
    auto matching = requestsTo(path);
    return matching.empty() ? RecordedRequest{} : matching.back();
}

void ScriptedServer::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

}  // namespace zorlet::test
