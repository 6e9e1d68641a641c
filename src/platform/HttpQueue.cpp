#include "platform/HttpQueue.h"

#include "platform/HttpEngine.h"
#include "platform/MainLoop.h"

#include <algorithm>

namespace zorlet {

HttpQueue::HttpQueue() = default;

HttpQueue& HttpQueue::shared() {
    static HttpQueue* queue = new HttpQueue();
    return *queue;
}

void HttpQueue::setMaxConcurrentOperationCount(int count) {
    maxConcurrent_ = std::max(count, 1);
    startWaiting();
}

void HttpQueue::add(HttpRequestPtr request) {
    if (request->servedFromCache()) {
        // Still answered later on the loop, like every asynchronous request.
        MainLoop::main().post([request] { request->notify(); });
        return;
    }
    waiting_.push_back(std::move(request));
    startWaiting();
}

void HttpQueue::startWaiting() {
    while (running_ < maxConcurrent_ && !waiting_.empty()) {
        HttpRequestPtr request = std::move(waiting_.front());
        waiting_.pop_front();
        ++running_;
        highestRunning_ = std::max(highestRunning_, running_);
        HttpEngine::shared().start(request, [this, request] { finished(request); });
    }
}

void HttpQueue::finished(const HttpRequestPtr& request) {
    --running_;
    request->notify();
    startWaiting();
}

void HttpQueue::cancel(HttpRequest& request) {
    auto it =
        std::find_if(waiting_.begin(), waiting_.end(), [&](const auto& r) { return r.get() == &request; });
    if (it != waiting_.end()) {
        HttpRequestPtr waiting = std::move(*it);
        waiting_.erase(it);
        waiting->complete(0, {}, {}, HttpError{HttpErrorKind::Cancelled, "The request was cancelled"});
        MainLoop::main().post([waiting] { waiting->notify(); });
        return;
    }
    HttpEngine::shared().cancel(request);
}

void HttpQueue::cancelAll() {
    std::vector<HttpRequestPtr> all(waiting_.begin(), waiting_.end());
    for (auto& request : all) {
        request->cancel();
    }
    HttpEngine::shared().cancelAll();
}

}  // namespace zorlet
