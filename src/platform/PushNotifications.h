#pragma once

#include "platform/Json.h"

#include <filesystem>
#include <functional>
#include <string>

namespace zorlet {

// Remote (push) notifications as the system delivers them to the app. The
// device token is this install's identity for the push service: random bytes
// made on the first registration and kept in the data folder, so every later
// registration yields the same token. Everything reaches the app on the main
// loop, never from inside the call that caused it.
class PushNotifications {
public:
    enum Type : unsigned { None = 0, Badge = 1u << 0, Sound = 1u << 1, Alert = 1u << 2 };

    using TokenHandler = std::function<void(const std::string& tokenBytes)>;
    using FailureHandler = std::function<void(const std::string& reason)>;
    using NotificationHandler = std::function<void(const Json& userInfo)>;

    static constexpr std::size_t kTokenLength = 32;

    static PushNotifications& shared();

    // The app's receivers; an event without a receiver is dropped.
    void setHandlers(TokenHandler didRegister, FailureHandler didFail, NotificationHandler didReceive);
    void clearHandlers();

    // Answers with the device token (or the reason it could not be had) on the main loop.
    void registerForRemoteNotificationTypes(unsigned types);
    unsigned enabledRemoteNotificationTypes() const { return types_; }

    // The host app and tests hand a push that arrived while the app runs.
    void deliverRemoteNotification(Json userInfo);

    // The token bytes of this install, made and stored on first use; empty
    // when the data folder cannot keep them.
    std::string deviceTokenBytes();
    std::filesystem::path tokenFilePath() const;

private:
    PushNotifications() = default;

    unsigned types_ = None;
    TokenHandler didRegister_;
    FailureHandler didFail_;
    NotificationHandler didReceive_;
};

}  // namespace zorlet
