#pragma once

#include "platform/HttpRequest.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace zorlet {

class HttpEngine;

// A queue of asynchronous requests: at most `maxConcurrentOperationCount` run
// at once, the rest wait in the order they were added. The shared queue (20
// wide) carries every request started with `startAsynchronous`; a screen
// that needs its own order makes its own queue, for example one request at a
// time: `std::make_shared<HttpQueue>(1)`. Main loop thread only.
class HttpQueue : public std::enable_shared_from_this<HttpQueue> {
public:
    // Told each time a request of this queue starts (leaves the waiting line).
    using RequestStartedHandler = std::function<void(HttpRequest&)>;

    static HttpQueue& shared();

    explicit HttpQueue(int maxConcurrentOperationCount = 20);
    // Cancels what it still holds without telling anyone: its owner goes away with it.
    ~HttpQueue();
    HttpQueue(const HttpQueue&) = delete;
    HttpQueue& operator=(const HttpQueue&) = delete;

    void setMaxConcurrentOperationCount(int count);
    int maxConcurrentOperationCount() const { return maxConcurrent_; }
    int runningCount() const { return static_cast<int>(running_.size()); }
    std::size_t waitingCount() const { return waiting_.size(); }
    // Running and waiting.
    std::size_t requestsCount() const { return running_.size() + waiting_.size(); }
    int highestRunningCount() const { return highestRunning_; }
    void resetHighestRunningCount() { highestRunning_ = runningCount(); }

    void setRequestStartedHandler(RequestStartedHandler handler) { started_ = std::move(handler); }

    // A suspended queue starts nothing new; what runs finishes.
    void suspend() { suspended_ = true; }
    void resume();
    bool isSuspended() const { return suspended_; }

    // When a request fails (in transport or refused by status), every other
    // request still in the queue is cancelled, so work that depends on its
    // order stops at the first failure. On by default for a queue of one's
    // own; the shared queue keeps its requests independent.
    void setShouldCancelAllRequestsOnFailure(bool cancel) { cancelAllOnFailure_ = cancel; }
    bool shouldCancelAllRequestsOnFailure() const { return cancelAllOnFailure_; }

    void add(HttpRequestPtr request);
    void cancel(HttpRequest& request);
    // Cancels this queue's requests, running and waiting; each one reports the
    // cancellation through its own failure block and delegate.
    void cancelAll();

private:
    friend class HttpRequest;
    void startWaiting();
    void finished(const HttpRequestPtr& request);
    // A request that never reached the transport still ends through its own failure path, a loop turn later.
    static void failAsCancelled(const HttpRequestPtr& request);

    int maxConcurrent_;
    int highestRunning_ = 0;
    bool suspended_ = false;
    bool cancelAllOnFailure_ = true;
    std::deque<HttpRequestPtr> waiting_;
    std::vector<HttpRequestPtr> running_;
    RequestStartedHandler started_;
};

using HttpQueuePtr = std::shared_ptr<HttpQueue>;

}  // namespace zorlet
