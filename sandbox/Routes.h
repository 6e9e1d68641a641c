#pragma once

#include "sandbox/Reply.h"
#include "sandbox/RequestParams.h"
#include "sandbox/Views.h"

#include <httplib.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zorlet::sandbox {

struct ServiceContext;

enum class Access { Anyone, SignedIn };

// One incoming call as handlers see it.
struct Call {
    const httplib::Request& request;
    RequestParams params;
    // The signed-in user, when the cookies name a live session.
    std::optional<std::int64_t> uid;
    ViewContext view;
    ServiceContext& service;

    std::int64_t signedInUid() const { return uid.value_or(0); }
    // A capture group of the path pattern, counted from 1.
    std::string pathPart(size_t index) const;
};

using Handler = std::function<Reply(Call&)>;

// Binds paths to handlers with the checks every call shares: the session,
// UTF-8 parameters, sane sizes, and faults turned into answers.
class Routes {
public:
    Routes(httplib::Server& server, ServiceContext& service) : server_(server), service_(service) {}

    // An API path, answered for GET and POST alike (the client uses both on some paths).
    void api(const std::string& pattern, Access access, Handler handler);
    // A web page or file, GET only.
    void page(const std::string& pattern, Handler handler);
    // What a web page's form sends, POST only.
    void form(const std::string& pattern, Handler handler);

    static void apply(const Reply& reply, httplib::Response& response);

private:
    void serve(const httplib::Request& request, httplib::Response& response, Access access,
               const Handler& handler);

    httplib::Server& server_;
    ServiceContext& service_;
};

}  // namespace zorlet::sandbox
