#pragma once

#include "net/ResponseEnvelope.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zorlet {

// What a synchronous account operation gives back: whether it worked and,
// when the server refused, its reason code and text.
struct LoginResult {
    bool success = false;
    std::int64_t errorCode = 0;
    std::optional<std::string> errorInfo;

    static LoginResult successLoginResult() { return {true, 0, std::nullopt}; }
    static LoginResult failure(std::int64_t code, std::optional<std::string> info) {
        return {false, code, std::move(info)};
    }
    // The request itself failed (no answer, time-out, a status other than 200).
    static LoginResult networkFailure() { return {false, 0, std::string(kNetworkErrorText)}; }

    static constexpr const char* kNetworkErrorText = ResponseEnvelope::kGenericError;
};

}  // namespace zorlet
