#include "platform/PushNotifications.h"

#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"

#include <random>

namespace zorlet {

PushNotifications& PushNotifications::shared() {
    static PushNotifications notifications;
    return notifications;
}

void PushNotifications::setHandlers(TokenHandler didRegister, FailureHandler didFail,
                                    NotificationHandler didReceive) {
    didRegister_ = std::move(didRegister);
    didFail_ = std::move(didFail);
    didReceive_ = std::move(didReceive);
}

void PushNotifications::clearHandlers() {
    setHandlers({}, {}, {});
}

std::filesystem::path PushNotifications::tokenFilePath() const {
    return DataFolder::shared().file("push_device_token");
}

std::string PushNotifications::deviceTokenBytes() {
    auto path = tokenFilePath();
    if (auto stored = AtomicFile::read(path); stored && stored->size() == kTokenLength) {
        return *stored;
    }
    // First registration of this install (or a damaged file): a fresh identity.
    std::random_device random;
    std::string bytes(kTokenLength, '\0');
    for (auto& byte : bytes) {
        byte = static_cast<char>(random() & 0xFF);
    }
    if (std::string error = AtomicFile::write(path, bytes, 0600); !error.empty()) {
        log().error("could not keep the push device token: {}", error);
        return {};
    }
    return bytes;
}

void PushNotifications::registerForRemoteNotificationTypes(unsigned types) {
    types_ = types;
    std::string token = deviceTokenBytes();
    MainLoop::main().post([this, token] {
        if (!token.empty()) {
            if (didRegister_) {
                didRegister_(token);
            }
        } else if (didFail_) {
            didFail_("the device token could not be stored");
        }
    });
}

void PushNotifications::deliverRemoteNotification(Json userInfo) {
    MainLoop::main().post([this, userInfo = std::move(userInfo)] {
        if (didReceive_) {
            didReceive_(userInfo);
        }
    });
}

}  // namespace zorlet
