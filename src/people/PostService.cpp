#include "people/PostService.h"

#include "app/CustomNavigationController.h"
#include "model/JpegSizeLimit.h"
#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/MainLoop.h"
#include "profile/ProfileSettingViewController.h"
#include "ui/Application.h"
#include "ui/ImageView.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"

namespace zorlet {

namespace {

constexpr Duration kCheckmarkTime{2000};

void attachPicture(HttpRequest& request, std::string jpeg) {
    request.setData(std::move(jpeg), "postImg.jpg", "image/jpeg", "postImg");
    request.setTimeOutSeconds(PostService::kUploadTimeOutSeconds);
}

}  // namespace

std::string PostService::encodePicture(const Image& image) {
    return JpegSizeLimit::encode(image, JpegSizeLimit::postQualities());
}

std::shared_ptr<ProgressHUD> PostService::showProgress(const std::string& text, double yOffset) {
    View* host = Application::shared().keyWindow();
    if (host == nullptr) {
        return nullptr;
    }
    auto hud = ProgressHUD::showHUDAddedTo(host, true);
    hud->setId("progressHUD");
    hud->setLabelText(text);
    hud->setYOffset(yOffset);
    return hud;
}

void PostService::showCheckmark(ProgressHUD& hud, const std::string& text) {
    auto checkmark = std::make_shared<ImageView>(ImageAsset::named("37x-Checkmark.png"));
    hud.setCustomView(checkmark);
    hud.setMode(ProgressHUD::Mode::CustomView);
    hud.setLabelText(text);
    hud.hide(true, kCheckmarkTime);
}

void PostService::sendPost(const std::string& content, const std::string& date, const std::string& place,
                           const std::string& link, const ImagePtr& image, std::int64_t categoryId,
                           View* onView, SuccessCallback callback) {
    auto hud = showProgress("发布中...", kHudYOffset);
    Json params = {{"content", content},
                   {"place", place},
                   {"link", link},
                   {"dateString", date},
                   {"categoryId", categoryId}};
    // Made here rather than on the worker: without a network the user is told at once.
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("post/sendPost"), params);
    if (!request) {
        if (hud) {
            hud->hide(true);
        }
        return;
    }
    std::weak_ptr<PostService> weakSelf = weak_from_this();
    std::weak_ptr<View> weakView = onView != nullptr ? onView->weak_from_this() : std::weak_ptr<View>();
    request->setCompletionBlock([hud, weakSelf, weakView, callback](HttpRequest& done) {
        auto envelope = parseJson(done.responseString());
        if (envelope && HttpRequestSender::isSuccess(*envelope)) {
            if (hud) {
                showCheckmark(*hud, "发送成功");
            }
            if (callback) {
                callback();
            }
            return;
        }
        if (hud) {
            hud->hide(true);
        }
        std::string text = HttpRequestSender::failureText(envelope);
        int code = envelope ? static_cast<int>(jsonInt(*envelope, "errorCode")) : 0;
        auto self = weakSelf.lock();
        MessageShow::error(text, code, self.get(), weakView.lock().get());
    });
    request->setFailedBlock([hud](HttpRequest& failed) {
        if (hud) {
            hud->hide(true);
        }
        HttpRequestDelegate::requestFailedHandle(failed);
    });
    if (!image) {
        request->startAsynchronous();
        return;
    }
    // Encoding a large picture takes long enough to be felt; it runs on the worker pool.
    auto jpeg = std::make_shared<std::string>();
    MainLoop::main().runInBackground([image, jpeg] { *jpeg = encodePicture(*image); },
                                     [request, jpeg] {
                                         attachPicture(*request, std::move(*jpeg));
                                         request->startAsynchronous();
                                     });
}

void PostService::modifyPost(std::int64_t postId, const std::string& content, const std::string& date,
                             const std::string& place, const std::string& pic, const ImagePtr& image,
                             std::int64_t categoryId, View* onView, ResponseCallback callback) {
    auto hud = showProgress("发布中...", kHudYOffset);
    Json params = {{"postId", postId},   {"content", content}, {"place", place},
                   {"dateString", date}, {"pic", pic},         {"categoryId", categoryId}};
    auto request =
        HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("post/v133/edit"), params);
    if (!request) {
        if (hud) {
            hud->hide(true);
        }
        return;
    }
    if (image) {
        attachPicture(*request, encodePicture(*image));
    }
    HttpRequestSender::doRequest(request, Application::shared().keyWindow(),
                                 [hud, callback](const Json& envelope) {
                                     if (hud) {
                                         showCheckmark(*hud, "修改成功");
                                     }
                                     if (callback) {
                                         callback(envelope);
                                     }
                                 });
}

void PostService::responsePost(std::int64_t postId, View* onView, SuccessCallback block) {
    auto hud = showProgress("操作中...", 0);
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("post/respPost"),
                                                         {{"postId", postId}});
    if (!request) {
        if (hud) {
            hud->hide(true);
        }
        return;
    }
    std::weak_ptr<View> weakView = onView != nullptr ? onView->weak_from_this() : std::weak_ptr<View>();
    request->setCompletionBlock([hud, weakView, block](HttpRequest& done) {
        auto envelope = parseJson(done.responseString());
        // Responding is lenient about the form of `success`, unlike publishing.
        if (envelope && envelope->is_object() && jsonBool(*envelope, "success")) {
            Analytics::event("responsePost");
            if (block) {
                block();
            }
            if (hud) {
                showCheckmark(*hud, "好的，已告诉ta你有兴趣");
            }
            return;
        }
        if (hud) {
            hud->hide(true);
        }
        MessageShow::error(HttpRequestSender::failureText(envelope), weakView.lock().get());
    });
    request->setFailedBlock([hud](HttpRequest& failed) {
        if (hud) {
            hud->hide(true);
        }
        HttpRequestDelegate::requestFailedHandle(failed);
    });
    request->startAsynchronous();
}

void PostService::alertViewWillDismiss(AlertView& alertView, int) {
    if (alertView.tag() != kProfileIncompleteCode) {
        return;
    }
    auto presenter = viewController.lock();
    if (!presenter) {
        return;
    }
    auto settings = std::make_shared<ProfileSettingViewController>();
    presenter->presentModalViewController(std::make_shared<CustomNavigationController>(settings), true);
}

}  // namespace zorlet
