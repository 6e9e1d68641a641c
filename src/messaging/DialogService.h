#pragma once

#include "model/DialogContent.h"
#include "platform/HttpRequest.h"
#include "platform/Json.h"

#include <functional>
#include <optional>
#include <string>

namespace zorlet {

class HttpQueue;

// Sends one private message to one user ("dialog/sendSms").
class DialogService {
public:
    static constexpr int kShortestLength = 1;
    static constexpr int kLongestLength = 400;
    static constexpr const char* kLengthMessage = "私聊内容字数控制在1-200个汉字内";
    static constexpr const char* kDialogKey = "kDialog";

    // `result` of the accepted answer: the message as the server stored it.
    using Success = std::function<void(const Json& result)>;
    // Why (or nothing), and whether the request was made: false only when the
    // text failed the length check here, true when the request failed or the
    // server refused it.
    using Failure = std::function<void(const std::optional<std::string>& text, bool requestMade)>;

    // True when a request was made and started or queued. The text is trimmed
    // and checked first; a picture goes as JPEG within the upload limit. With
    // a queue the request waits its turn there (the message itself in its
    // user information under kDialogKey); without one it starts at once.
    static bool sendSms(const DialogContentPtr& message, HttpQueue* queue, Success onSuccess,
                        Failure onFailure);
    // The same for a message nobody keeps (feedback): it travels as a copy.
    static bool sendSms(const DialogContent& message, HttpQueue* queue, Success onSuccess, Failure onFailure);

    // The request sendSms would queue, not started; nothing when the text was
    // refused (`onFailure` told, flag false) or no request could be made. A
    // picture already encoded for upload may be handed in to spare encoding it again.
    static HttpRequestPtr requestFor(const DialogContent& message, Success onSuccess, Failure onFailure,
                                     const std::string* encodedPicture = nullptr);

    // The picture as uploaded: JPEG from quality 0.9 down in tenths until it fits.
    static std::string encodePicture(const Image& image);
};

}  // namespace zorlet
