#pragma once

#include "platform/HttpRequest.h"
#include "platform/HttpTypes.h"
#include "platform/Json.h"
#include "session/LoginResult.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zorlet {

class LoginUser;
class ViewController;

// Everything about the server session: signing in (account or external
// provider), re-authorizing and binding external accounts, restoring the
// session at launch from the stored tokens, signing out, and choosing the
// first screen for whoever is (not) signed in. Main loop thread; the account
// calls block it for their synchronous request.
class LoginService {
public:
    static LoginService& getInstance();

    LoginResult useLoginName(const std::string& name, const std::string& password);
    LoginResult loginWithTpId(std::int64_t tpId, const std::string& query);
    LoginResult authorize(std::int64_t tpId, const std::string& query);
    LoginResult bind(std::int64_t tpId, const std::string& query);
    // `tpId` is not used: the URL already names the provider.
    LoginResult doAuthorize(std::int64_t tpId, const std::string& url);

    // Re-validates the stored tokens with the server; true when the session is back.
    bool checkLogin();
    // Records a successful login: tokens from the response cookies (kept
    // when not set again), the signed-in home, and the push token sent again.
    void loginSuccess(std::shared_ptr<LoginUser> loginUser, const Json& envelope,
                      const std::vector<HttpCookie>& cookies);

    // Tells the server (best effort), then signs out locally. Any thread.
    void logout();
    // Stops the notice poll, forgets the cookies, the stored tokens and the user.
    void localLogout();

    std::shared_ptr<ViewController> loginTurnToViewController();

    // What an HTTP 401 on any request does: sign out and show the first screen again.
    void sessionRejected();

    LoginService(const LoginService&) = delete;
    LoginService& operator=(const LoginService&) = delete;

    static constexpr const char* kLoginUri = "passport/v132/login";

    // The signed-in home an accepted answer carries; nothing, with a warning
    // naming the answer, when the server left it out.
    static const Json* homeFromEnvelope(const Json& envelope, std::string_view answer);

private:
    LoginService();
    // Runs a synchronous login-style request and decodes its envelope.
    // Nothing when the request failed or the answer was not an envelope.
    static std::optional<Json> runSynchronous(const HttpRequestPtr& request);
    static LoginResult refusal(const Json& envelope);
    LoginResult loginWithRequest(const HttpRequestPtr& request);
};

}  // namespace zorlet
