#pragma once

#include "platform/Json.h"

#include <optional>
#include <string>
#include <string_view>

namespace zorlet {

// The server's answer to every call: one JSON object with `success`,
// `errorCode`, `errorInfo` and `result`. Reading it never throws and needs
// nothing but the body, so any bytes a server sends can be judged here.
class ResponseEnvelope {
public:
    // What the user sees when the server gave no reason of its own.
    static constexpr const char* kGenericError = "网络不给力，稍后再试吧";

    // The decoded body when it is a JSON object; nothing otherwise.
    static std::optional<Json> decode(std::string_view body);
    // `success` read strictly: only JSON true counts.
    static bool isSuccess(const Json& envelope);
    // `success` read as a boolean, as paged lists read it: true, a non-zero
    // number, or a text that starts like "true", "yes" or a digit 1-9.
    static bool readsAsSuccess(const Json& envelope);
    // What to tell the user about a refused envelope.
    static std::string errorText(const Json& envelope);
};

}  // namespace zorlet
