#pragma once

#include "platform/HttpRequest.h"
#include "platform/Json.h"

#include <functional>
#include <optional>
#include <string>

namespace zorlet {

class View;

// The one road to the server: builds GET and POST requests with their
// parameters (none without a network), and runs a request with the standard
// treatment of the response envelope and of failures.
class HttpRequestSender {
public:
    using Success = std::function<void(const Json& envelope)>;
    using Failure = std::function<void()>;

    // Nothing (after telling the user) when there is no network.
    static HttpRequestPtr getRequestWithUrl(const std::string& url, const Json& params = Json::object());
    static HttpRequestPtr postRequestWithUrl(const std::string& url, const Json& params = Json::object());
    // For requests the user did not ask for: nothing, silently, without a network.
    static HttpRequestPtr backgroundGetRequestWithUrl(const std::string& url,
                                                      const Json& params = Json::object());
    static HttpRequestPtr backgroundPostRequestWithUrl(const std::string& url,
                                                       const Json& params = Json::object());

    static HttpRequestPtr createGetRequestWithUrl(const std::string& url,
                                                  const Json& params = Json::object());
    static HttpRequestPtr createPostRequestWithUrl(const std::string& url,
                                                   const Json& params = Json::object());
    // The URL a GET with these parameters goes to.
    static std::string urlWithQuery(const std::string& url, const Json& params);

    // Starts `request` (if any) and decodes its envelope: `success` gets the
    // envelope when its `success` is true; otherwise the user sees why, the
    // progress indicator on `lockView` is hidden and `failure` runs.
    static void doRequest(const HttpRequestPtr& request, View* lockView, Success success,
                          Failure failure = {});

    // The envelope's `success`, read strictly: only JSON true counts.
    static bool isSuccess(const Json& envelope);
    // The envelope's `success` read as a boolean, as paged lists read it: true,
    // a non-zero number, or a text that starts like "true", "yes" or a digit 1-9.
    static bool readsAsSuccess(const Json& envelope);
    // What to tell the user about a refused envelope.
    static std::string errorText(const Json& envelope);
    // What to tell the user about a call that did not succeed: the envelope's
    // reason, or the generic one when the answer was not an envelope at all.
    static std::string failureText(const std::optional<Json>& envelope);
};

}  // namespace zorlet
