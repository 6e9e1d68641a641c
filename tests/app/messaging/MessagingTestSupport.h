#pragma once

#include "../people/PeopleTestSupport.h"

#include "app/MessageNavigationController.h"
#include "messaging/DialogOutbox.h"

#include <string>

namespace zorlet::test {

inline Json dialogJson(int dialogId, int otherUid, int receiverUid, const std::string& latest,
                       double createTimeMs = 0) {
    return {{"dialogId", dialogId},    {"receiverUid", receiverUid},
            {"latestContent", latest}, {"createTime", createTimeMs},
            {"dialogContentCount", 3}, {"targetUser", userJson(otherUid, otherUid % 2)}};
}

inline Json messageJson(int id, int sender, int receiver, const std::string& content,
                        const std::string& imgUrl = "", const std::string& clientMsgId = "") {
    Json message = {{"dialogContentId", id},
                    {"content", content},
                    {"senderUid", sender},
                    {"receiverUid", receiver},
                    {"createTime", 1000.0 * id}};
    message["imgUrl"] = imgUrl.empty() ? Json() : Json(imgUrl);
    message["originalImgUrl"] = message["imgUrl"];
    message["clientMsgId"] = clientMsgId.empty() ? Json() : Json(clientMsgId);
    return message;
}

// The scripted server's answer to a send: the message as stored, echoing the client's id.
inline void acceptSends(ScriptedServer& server, int firstId = 500) {
    auto next = std::make_shared<int>(firstId);
    server.on("/dialog/sendSms", [next](const RecordedRequest& request, Reply& reply) {
        Json stored = messageJson((*next)++, 1, std::stoi(request.param("uid")), request.param("content"),
                                  request.files.empty() ? "" : "http://127.0.0.1:1/p.jpg",
                                  request.param("clientMsgId"));
        reply = Reply::json(Json{{"success", true}, {"result", stored}}.dump());
    });
}

// A messaging screen test: the people test set-up plus an empty outbox.
class MessagingTest : public PeopleTest {
protected:
    void SetUp() override {
        PeopleTest::SetUp();
        clearOutbox();
    }
    void TearDown() override {
        PeopleTest::TearDown();
        clearOutbox();
    }
    static void clearOutbox() {
        if (auto outbox = DialogOutbox::shared()) {
            for (const auto& entry : outbox->all()) {
                outbox->remove(entry.clientMsgId);
            }
        }
    }
    std::shared_ptr<MessageNavigationController> showInMessageStack(const ViewControllerPtr& screen) {
        auto navigation = std::make_shared<MessageNavigationController>(screen);
        window_->setRootViewController(navigation);
        window_->makeKeyAndVisible();
        return navigation;
    }
};

}  // namespace zorlet::test
