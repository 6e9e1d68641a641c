#pragma once

#include "sandbox/ErrorCode.h"
#include "sandbox/Reply.h"

#include <nlohmann/json.hpp>

#include <string>

namespace zorlet::sandbox {

// Every answer of the API is this one object: `success`, `errorCode`,
// `errorInfo` and, when there is one, `result`.
class Envelope {
public:
    static Reply ok();
    static Reply ok(nlohmann::json result);
    static Reply refuse(ErrorCode code, std::string info);
    static Reply refuse(ErrorCode code, std::string info, nlohmann::json result);
    // HTTP 401: the session is missing, unknown or revoked.
    static Reply unauthorized();
    static Reply notFound();
    static Reply serverFault();

    // `result` of a paged list: { pager, list }.
    static nlohmann::json page(int currentPage, int maxResult, long long totalResults, nlohmann::json list);
};

}  // namespace zorlet::sandbox
