#pragma once

namespace zorlet::sandbox {

// The service's reason codes in `errorCode`. The client shows `errorInfo`;
// codes let it (and tests) tell refusals apart.
enum class ErrorCode : int {
    None = 0,
    BadParameter = 100001,
    WrongCredentials = 100002,
    AccountTaken = 100003,
    NicknameTaken = 100004,
    UnknownAccount = 100005,
    NotSignedIn = 100006,
    AuthorizationFailed = 100007,
    NotFound = 100008,
    NotAllowed = 100009,
    ProfileIncomplete = 100010,
    BadPicture = 100011,
    TooManyAttempts = 100012,
    ServerFault = 100500,
};

}  // namespace zorlet::sandbox
