#include "net/ListHttpRequestDelegate.h"

#include "net/PageMerge.h"

namespace zorlet {

void ListHttpRequestDelegate::requestFinished(HttpRequest& request) {
    if (request.responseStatusCode() != 200) {
        requestFailed(request);
        return;
    }
    mergeResponse(request.responseString());
}

void ListHttpRequestDelegate::mergeResponse(const std::string& body) {
    if (zlData) {
        PageMerge::merge(body, *zlData, viewClassName, addToHead);
    }
    notifyDone();
}

void ListHttpRequestDelegate::requestFailed(HttpRequest& request) {
    notifyDone();
    requestFailedHandle(request);
}

void ListHttpRequestDelegate::notifyDone() {
    if (auto screen = listViewController.lock()) {
        screen->doneLoadingTableViewData();
    }
}

}  // namespace zorlet
