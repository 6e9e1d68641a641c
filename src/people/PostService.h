#pragma once

#include "platform/Image.h"
#include "platform/Json.h"
#include "ui/AlertView.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zorlet {

class ProgressHUD;
class View;
class ViewController;

// The write operations on posts that show progress and a result: publishing,
// editing and responding. The progress indicator sits on the key window.
// A publishing refusal with code 100010 (profile incomplete) leads to the
// profile settings, presented on `viewController`, once the user closes the alert.
class PostService : public AlertViewDelegate, public std::enable_shared_from_this<PostService> {
public:
    using SuccessCallback = std::function<void()>;
    using ResponseCallback = std::function<void(const Json& response)>;

    static constexpr int kProfileIncompleteCode = 100010;
    static constexpr double kHudYOffset = -77;
    static constexpr double kUploadTimeOutSeconds = 120;

    // The screen on which a follow-up screen is presented; not owned.
    std::weak_ptr<ViewController> viewController;

    void sendPost(const std::string& content, const std::string& date, const std::string& place,
                  const std::string& link, const ImagePtr& image, std::int64_t categoryId, View* onView,
                  SuccessCallback callback);
    void modifyPost(std::int64_t postId, const std::string& content, const std::string& date,
                    const std::string& place, const std::string& pic, const ImagePtr& image,
                    std::int64_t categoryId, View* onView, ResponseCallback callback);
    static void responsePost(std::int64_t postId, View* onView, SuccessCallback block);

    // The upload form of a picture: JPEG stepped down in quality until it fits.
    static std::string encodePicture(const Image& image);

    void alertViewWillDismiss(AlertView& alertView, int index) override;

private:
    static std::shared_ptr<ProgressHUD> showProgress(const std::string& text, double yOffset);
    static void showCheckmark(ProgressHUD& hud, const std::string& text);
};

using PostServicePtr = std::shared_ptr<PostService>;

}  // namespace zorlet
