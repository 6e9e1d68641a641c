#pragma once

#include "platform/HttpRequest.h"

#include <deque>
#include <memory>

namespace zorlet {

class HttpEngine;

// The shared queue of asynchronous requests: at most `maxConcurrentOperationCount`
// run at once, the rest wait in order. Lives on the main loop.
class HttpQueue {
public:
    static HttpQueue& shared();

    void setMaxConcurrentOperationCount(int count);
    int maxConcurrentOperationCount() const { return maxConcurrent_; }
    int runningCount() const { return running_; }
    std::size_t waitingCount() const { return waiting_.size(); }
    int highestRunningCount() const { return highestRunning_; }
    void resetHighestRunningCount() { highestRunning_ = running_; }

    void add(HttpRequestPtr request);
    void cancel(HttpRequest& request);
    void cancelAll();

private:
    friend class HttpRequest;
    HttpQueue();
    void startWaiting();
    void finished(const HttpRequestPtr& request);

    int maxConcurrent_ = 20;
    int running_ = 0;
    int highestRunning_ = 0;
    std::deque<HttpRequestPtr> waiting_;
};

}  // namespace zorlet
