#pragma once

#include <string>

namespace zorlet {

// Tells the server which push token reaches this device for the signed-in user.
class DeviceTokenService {
public:
    // `token` is the upper-case hexadecimal text of the token; an empty one is not sent.
    static void sendDeviceToken(const std::string& token);
};

}  // namespace zorlet
