#include "session/DeviceTokenService.h"

#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"

namespace zorlet {

void DeviceTokenService::sendDeviceToken(const std::string& token) {
    if (token.empty()) {
        return;
    }
    auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("passport/registerDevice"),
                                                        {{"deviceToken", token}});
    if (!request) {
        return;
    }
    // The answer does not matter: the next login registers the token again.
    request->setUseDownloadCache(false);
    request->startAsynchronous();
}

}  // namespace zorlet
