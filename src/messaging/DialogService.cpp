#include "messaging/DialogService.h"

#include "model/JpegSizeLimit.h"
#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/HttpQueue.h"
#include "platform/UnicodeText.h"

namespace zorlet {

std::string DialogService::encodePicture(const Image& image) {
    return JpegSizeLimit::encode(image, JpegSizeLimit::tenthStepQualities());
}

HttpRequestPtr DialogService::requestFor(const DialogContent& message, Success onSuccess, Failure onFailure,
                                         const std::string* encodedPicture) {
    auto text = UnicodeText::trimmed(message.content);
    auto length = UnicodeText::chineseLength(text);
    if (length < static_cast<std::size_t>(kShortestLength) ||
        length > static_cast<std::size_t>(kLongestLength)) {
        if (onFailure) {
            onFailure(std::string(kLengthMessage), false);
        }
        return nullptr;
    }
    Json params = {{"content", text}, {"uid", message.receiverUid}};
    if (!message.clientMsgId.empty()) {
        params["clientMsgId"] = message.clientMsgId;
    }
    auto request =
        HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("dialog/sendSms"), params);
    if (!request) {
        return nullptr;
    }
    request->setCompletionBlock([onSuccess, onFailure](HttpRequest& finished) {
        auto envelope = parseJson(finished.responseString());
        if (envelope && HttpRequestSender::isSuccess(*envelope)) {
            Analytics::event("sendSms");
            if (onSuccess) {
                onSuccess(jsonObject(*envelope, "result"));
            }
            return;
        }
        if (onFailure) {
            onFailure(
                envelope ? HttpRequestSender::errorText(*envelope) : HttpRequestSender::errorText(Json()),
                true);
        }
    });
    request->setFailedBlock([onFailure](HttpRequest& failed) {
        // A request stopped on purpose (the queue was reset) is no network fault to tell the user about.
        if (!failed.isCancelled()) {
            HttpRequestDelegate::requestFailedHandle(failed);
        }
        if (onFailure) {
            onFailure(std::nullopt, true);
        }
    });
    if (encodedPicture && !encodedPicture->empty()) {
        request->setData(*encodedPicture, "dialogImg.jpg", "image/jpeg", "dialogImg");
    } else if (message.image) {
        request->setData(encodePicture(*message.image), "dialogImg.jpg", "image/jpeg", "dialogImg");
    }
    return request;
}

bool DialogService::sendSms(const DialogContent& message, HttpQueue* queue, Success onSuccess,
                            Failure onFailure) {
    return sendSms(std::make_shared<DialogContent>(message), queue, std::move(onSuccess),
                   std::move(onFailure));
}

bool DialogService::sendSms(const DialogContentPtr& message, HttpQueue* queue, Success onSuccess,
                            Failure onFailure) {
    if (!message) {
        return false;
    }
    auto request = requestFor(*message, std::move(onSuccess), std::move(onFailure));
    if (!request) {
        return false;
    }
    if (queue) {
        request->userInfo()[kDialogKey] = message;
        queue->add(request);
    } else {
        request->startAsynchronous();
    }
    return true;
}

}  // namespace zorlet
