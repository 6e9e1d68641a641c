#include "sandbox/handlers/HomeHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Envelope.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"

namespace zorlet::sandbox {

namespace {

Reply updatePhone(Call& call) {
    auto phoneType = UnicodeText::trimmed(call.params.text("phoneType").value_or(""));
    if (phoneType.empty() || UnicodeText::utf16Length(phoneType) > 50) {
        return Envelope::refuse(ErrorCode::BadParameter, "手机型号格式不正确");
    }
    call.service.database.write([&](Connection& connection) {
        connection.prepare("UPDATE users SET phone_type = ? WHERE uid = ?")
            .bind(1, phoneType)
            .bind(2, *call.uid)
            .run();
    });
    return Envelope::ok();
}

Reply updateLocation(Call& call) {
    auto longitude = TextRules::parseNumber(call.params.text("longitude").value_or(""));
    auto latitude = TextRules::parseNumber(call.params.text("latitude").value_or(""));
    if (!longitude || !latitude || *longitude < -180 || *longitude > 180 || *latitude < -90 ||
        *latitude > 90) {
        return Envelope::refuse(ErrorCode::BadParameter, "位置信息不正确");
    }
    call.service.database.write([&](Connection& connection) {
        connection.prepare("UPDATE users SET longitude = ?, latitude = ? WHERE uid = ?")
            .bind(1, *longitude)
            .bind(2, *latitude)
            .bind(3, *call.uid)
            .run();
    });
    return Envelope::ok();
}

}  // namespace

void HomeHandlers::install(Routes& routes) {
    routes.api("/home/v132/updatePhone", Access::SignedIn, updatePhone);
    routes.api("/home/updateloc", Access::SignedIn, updateLocation);
}

}  // namespace zorlet::sandbox
