#include "sandbox/Envelope.h"

namespace zorlet::sandbox {

namespace {

Reply make(int status, bool success, ErrorCode code, const std::string& info, nlohmann::json* result) {
    nlohmann::json body = {
        {"success", success},
        {"errorCode", static_cast<int>(code)},
        {"errorInfo", info},
    };
    if (result) {
        body["result"] = std::move(*result);  // a feed page is tens of kilobytes: never copy it
    }
    Reply reply;
    reply.status = status;
    // Invalid UTF-8 never reaches storage, but a stored file name could; never throw here.
    reply.body = body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return reply;
}

}  // namespace

Reply Envelope::ok() {
    return make(200, true, ErrorCode::None, "", nullptr);
}

Reply Envelope::ok(nlohmann::json result) {
    return make(200, true, ErrorCode::None, "", &result);
}

Reply Envelope::refuse(ErrorCode code, std::string info) {
    return make(200, false, code, info, nullptr);
}

Reply Envelope::refuse(ErrorCode code, std::string info, nlohmann::json result) {
    return make(200, false, code, info, &result);
}

Reply Envelope::unauthorized() {
    return make(401, false, ErrorCode::NotSignedIn, "登录已失效，请重新登录", nullptr);
}

Reply Envelope::notFound() {
    return make(404, false, ErrorCode::NotFound, "请求的接口不存在", nullptr);
}

Reply Envelope::serverFault() {
    return make(500, false, ErrorCode::ServerFault, "服务器开小差了，稍后再试吧", nullptr);
}

nlohmann::json Envelope::page(int currentPage, int maxResult, long long totalResults, nlohmann::json list) {
    long long totalPage = maxResult > 0 ? (totalResults + maxResult - 1) / maxResult : 0;
    return {
        {"pager",
         {
             {"currentPage", currentPage},
             {"maxResult", maxResult},
             {"totalPage", totalPage},
             {"totalResults", totalResults},
             {"hasPre", currentPage > 1},
             {"hasNext", currentPage < totalPage},
         }},
        {"list", list.is_array() ? std::move(list) : nlohmann::json::array()},
    };
}

}  // namespace zorlet::sandbox
