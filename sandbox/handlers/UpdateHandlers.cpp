#include "sandbox/handlers/UpdateHandlers.h"

#include "sandbox/Connection.h"
#include "sandbox/Envelope.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"

namespace zorlet::sandbox {

namespace {

constexpr const char* answerKey = "update_answer";
constexpr std::size_t longestText = 2000;

nlohmann::json noUpdate() {
    return {{"update", false}, {"version", ""}, {"update_log", ""}, {"path", ""}};
}

Reply checkUpdate(Call& call) {
    nlohmann::json answer = noUpdate();
    call.service.database.read([&](Connection& connection) {
        auto select = connection.prepare("SELECT value FROM meta WHERE key = ?");
        select.bind(1, answerKey);
        if (select.step()) {
            auto stored = nlohmann::json::parse(select.text(0), nullptr, false);
            if (stored.is_object()) {
                answer = stored;
            }
        }
    });
    return Envelope::ok(answer);
}

}  // namespace

Reply UpdateHandlers::announce(Call& call) {
    std::string version = call.params.text("version").value_or("");
    std::string log = call.params.text("update_log").value_or("");
    std::string path = call.params.text("path").value_or("");
    if (version.size() > longestText || log.size() > longestText || path.size() > longestText) {
        return Envelope::refuse(ErrorCode::BadParameter, "内容过长");
    }
    nlohmann::json answer =
        version.empty()
            ? noUpdate()
            : nlohmann::json{{"update", true}, {"version", version}, {"update_log", log}, {"path", path}};
    call.service.database.write([&](Connection& connection) {
        connection.prepare("INSERT OR REPLACE INTO meta (key, value) VALUES (?, ?)")
            .bind(1, answerKey)
            .bind(2, answer.dump())
            .run();
    });
    return Envelope::ok(answer);
}

void UpdateHandlers::install(Routes& routes) {
    routes.api("/app/checkUpdate", Access::Anyone, checkUpdate);
}

}  // namespace zorlet::sandbox
