#include "sandbox/handlers/ReferenceHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"

namespace zorlet::sandbox {

namespace {

Reply nicknameExists(Call& call) {
    auto nickname = UnicodeText::trimmed(call.params.text("nickname").value_or(""));
    auto length = static_cast<std::int64_t>(UnicodeText::chineseLength(nickname));
    if (length < 1 || length > 20) {
        return Envelope::refuse(ErrorCode::BadParameter, "昵称必须1-10个字以内", false);
    }
    bool taken = false;
    call.service.database.read([&](Connection& connection) {
        // The caller's own nickname is not "taken" by someone else.
        taken = Records::nicknameTaken(connection, nickname, call.signedInUid());
    });
    if (taken) {
        return Envelope::refuse(ErrorCode::NicknameTaken, "该昵称已被使用，换一个吧", true);
    }
    return Envelope::ok(false);
}

}  // namespace

void ReferenceHandlers::install(Routes& routes) {
    routes.api("/base/categoryList", Access::Anyone,
               [](Call& call) { return Envelope::ok(call.service.reference.categoryList()); });
    routes.api("/base/professionList", Access::Anyone,
               [](Call& call) { return Envelope::ok(call.service.reference.professionList()); });
    routes.api("/base/provinceCityList", Access::Anyone, [](Call& call) {
        const auto& list = call.service.reference.provinceCityList();
        // Without the resource file there is nothing to serve: an empty list of each kind.
        if (list.empty()) {
            return Envelope::ok(
                {{"provinceList", nlohmann::json::array()}, {"cityList", nlohmann::json::array()}});
        }
        return Envelope::ok(list);
    });
    routes.api("/profile/validate/nickexist", Access::Anyone, nicknameExists);
}

}  // namespace zorlet::sandbox
