#include "sandbox/Routes.h"

#include "sandbox/Envelope.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/SqlError.h"

#include "platform/Log.h"

#include <ctime>

namespace zorlet::sandbox {

namespace {

constexpr size_t longestAcceptedText = 20000;

std::string baseUrlOf(const httplib::Request& request, int port) {
    // Picture URLs follow the host the client used, so "localhost" and "127.0.0.1" both work.
    auto host = request.get_header_value("Host");
    bool sane = !host.empty() && host.size() < 100;
    for (char c : host) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != ':' && c != '-' && c != '[' &&
            c != ']') {
            sane = false;
        }
    }
    return "http://" + (sane ? host : "127.0.0.1:" + std::to_string(port));
}

}  // namespace

std::string Call::pathPart(size_t index) const {
    return index < request.matches.size() ? std::string(request.matches[index]) : std::string();
}

void Routes::api(const std::string& pattern, Access access, Handler handler) {
    auto serveIt = [this, access, handler](const httplib::Request& request, httplib::Response& response) {
        serve(request, response, access, handler);
    };
    server_.Get(pattern, serveIt);
    server_.Post(pattern, serveIt);
}

void Routes::page(const std::string& pattern, Handler handler) {
    server_.Get(pattern, [this, handler](const httplib::Request& request, httplib::Response& response) {
        serve(request, response, Access::Anyone, handler);
    });
}

void Routes::form(const std::string& pattern, Handler handler) {
    server_.Post(pattern, [this, handler](const httplib::Request& request, httplib::Response& response) {
        serve(request, response, Access::Anyone, handler);
    });
}

void Routes::apply(const Reply& reply, httplib::Response& response) {
    response.status = reply.status;
    for (const auto& [name, value] : reply.headers) {
        response.headers.emplace(name, value);
    }
    response.set_content(reply.body, reply.contentType.c_str());
}

void Routes::serve(const httplib::Request& request, httplib::Response& response, Access access,
                   const Handler& handler) {
    Reply reply;
    try {
        Call call{request, RequestParams(request), std::nullopt, {}, service_};
        call.uid = service_.sessions.userOf(request);
        call.view = ViewContext{baseUrlOf(request, service_.port), call.uid,
                                static_cast<std::int64_t>(std::time(nullptr))};
        if (access == Access::SignedIn && !call.uid) {
            reply = Envelope::unauthorized();
        } else if (!call.params.allTextIsUtf8()) {
            reply = Envelope::refuse(ErrorCode::BadParameter, "提交的内容含有无法识别的字符");
        } else if (call.params.longestText() > longestAcceptedText) {
            reply = Envelope::refuse(ErrorCode::BadParameter, "提交的内容过长");
        } else {
            reply = handler(call);
        }
    } catch (const std::exception& e) {
        zorlet::log().error("sandbox: {} {} failed: {}", request.method, request.path, e.what());
        reply = Envelope::serverFault();
    }
    apply(reply, response);
}

}  // namespace zorlet::sandbox
