#include "ideas/IdeaService.h"

#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "ui/Application.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"
#include "widgets/OperationProgress.h"

namespace zorlet {

void IdeaService::postIdea(const IdeaPtr& idea, std::function<void()> marked) {
    if (!idea) {
        return;
    }
    auto hud = OperationProgress::show(Application::shared().keyWindow(), "操作中...");
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("post/sendPost"),
                                                         {{"ideaId", idea->ideaId}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    request->setCompletionBlock([hud, idea, marked](HttpRequest& done) {
        auto envelope = parseJson(done.responseString());
        if (envelope && HttpRequestSender::isSuccess(*envelope)) {
            Analytics::event("sendIdea");
            idea->hasUsed = true;
            idea->useCount += 1;
            if (hud) {
                OperationProgress::succeed(*hud, kMarkedText);
            }
            if (marked) {
                marked();
            }
            return;
        }
        OperationProgress::hide(hud);
        MessageShow::error(HttpRequestSender::failureText(envelope), Application::shared().keyWindow());
    });
    request->setFailedBlock([hud](HttpRequest& failed) {
        OperationProgress::hide(hud);
        HttpRequestDelegate::requestFailedHandle(failed);
    });
    request->startAsynchronous();
}

}  // namespace zorlet
