#pragma once

#include "net/HttpRequestDelegate.h"
#include "net/ListLoadingTarget.h"
#include "net/ZLData.h"

#include <memory>
#include <string>

namespace zorlet {

// Merges page answers of a list request into the screen's ZLData: page 1
// replaces the rows, later pages append, records already shown are dropped;
// then tells the screen that loading ended.
class ListHttpRequestDelegate : public HttpRequestDelegate {
public:
    void requestFinished(HttpRequest& request) override;
    void requestFailed(HttpRequest& request) override;
    // Merges one decoded answer body (used by requestFinished, and by tests and benchmarks).
    void mergeResponse(const std::string& body);

    ZLDataPtr zlData;
    std::string viewClassName;
    // Not owning: a screen that went away simply hears nothing.
    std::weak_ptr<ListLoadingTarget> listViewController;
    bool addToHead = false;

private:
    void notifyDone();
};

using ListHttpRequestDelegatePtr = std::shared_ptr<ListHttpRequestDelegate>;

}  // namespace zorlet
