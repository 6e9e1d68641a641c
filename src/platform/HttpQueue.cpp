#include "platform/HttpQueue.h"

#include "platform/HttpEngine.h"
#include "platform/MainLoop.h"

#include <algorithm>

namespace zorlet {

namespace {

bool failedOtherThanCancelled(const HttpRequest& request) {
    return request.error() && request.error()->kind != HttpErrorKind::Cancelled;
}

}  // namespace

void HttpQueue::failAsCancelled(const HttpRequestPtr& request) {
    request->cancelled_ = true;
    request->complete(0, {}, {}, HttpError{HttpErrorKind::Cancelled, "The request was cancelled"});
    MainLoop::main().post([request] { request->notify(); });
}

HttpQueue::HttpQueue(int maxConcurrentOperationCount)
    : maxConcurrent_(std::max(maxConcurrentOperationCount, 1)) {}

HttpQueue::~HttpQueue() {
    std::deque<HttpRequestPtr> waiting = std::move(waiting_);
    std::vector<HttpRequestPtr> running = std::move(running_);
    // The owner goes away with its queue, so nobody is left to hear how the requests ended.
    for (auto& request : waiting) {
        request->queue_.reset();
        request->clearDelegatesAndCancel();
    }
    for (auto& request : running) {
        request->queue_.reset();
        request->clearDelegatesAndCancel();
    }
}

HttpQueue& HttpQueue::shared() {
    // Never destroyed: requests may still finish while the process exits.
    static auto* holder = [] {
        auto* queue = new std::shared_ptr<HttpQueue>(std::make_shared<HttpQueue>(20));
        (*queue)->setShouldCancelAllRequestsOnFailure(false);
        return queue;
    }();
    return **holder;
}

void HttpQueue::setMaxConcurrentOperationCount(int count) {
    maxConcurrent_ = std::max(count, 1);
    startWaiting();
}

void HttpQueue::resume() {
    suspended_ = false;
    startWaiting();
}

void HttpQueue::add(HttpRequestPtr request) {
    if (!request) {
        return;
    }
    if (!MainLoop::main().isLoopThread()) {
        MainLoop::main().post([self = shared_from_this(), request] { self->add(request); });
        return;
    }
    if (!suspended_ && request->servedFromCache()) {
        // A fresh cached answer needs no turn of its own, but is still given later on the loop.
        if (started_) {
            auto handler = started_;
            handler(*request);
        }
        MainLoop::main().post([request] { request->notify(); });
        return;
    }
    request->queue_ = weak_from_this();
    waiting_.push_back(std::move(request));
    startWaiting();
}

void HttpQueue::startWaiting() {
    while (!suspended_ && runningCount() < maxConcurrent_ && !waiting_.empty()) {
        HttpRequestPtr request = std::move(waiting_.front());
        waiting_.pop_front();
        running_.push_back(request);
        highestRunning_ = std::max(highestRunning_, runningCount());
        HttpEngine::shared().start(request, [weak = weak_from_this(), request] {
            if (auto queue = weak.lock()) {
                queue->finished(request);
            } else {
                request->notify();
            }
        });
        // Told after the start, so a handler that cancels the request or the queue finds it running.
        if (started_) {
            auto handler = started_;
            handler(*request);
        }
    }
}

void HttpQueue::finished(const HttpRequestPtr& request) {
    auto self = shared_from_this();
    auto it = std::find(running_.begin(), running_.end(), request);
    if (it == running_.end()) {
        request->notify();
        return;
    }
    running_.erase(it);
    request->queue_.reset();
    std::vector<HttpRequestPtr> others;
    if (cancelAllOnFailure_ && failedOtherThanCancelled(*request)) {
        others.assign(running_.begin(), running_.end());
        others.insert(others.end(), waiting_.begin(), waiting_.end());
    }
    request->notify();
    // The failed request reports first; what was queued behind it then fails in order.
    for (auto& other : others) {
        if (other->queue_.lock() == self) {
            other->cancel();
        }
    }
    startWaiting();
}

void HttpQueue::cancel(HttpRequest& request) {
    auto it =
        std::find_if(waiting_.begin(), waiting_.end(), [&](const auto& r) { return r.get() == &request; });
    if (it != waiting_.end()) {
        HttpRequestPtr waiting = std::move(*it);
        waiting_.erase(it);
        waiting->queue_.reset();
        failAsCancelled(waiting);
        return;
    }
    HttpEngine::shared().cancel(request);
}

void HttpQueue::cancelAll() {
    std::vector<HttpRequestPtr> all(running_.begin(), running_.end());
    all.insert(all.end(), waiting_.begin(), waiting_.end());
    for (auto& request : all) {
        request->cancel();
    }
}

}  // namespace zorlet
