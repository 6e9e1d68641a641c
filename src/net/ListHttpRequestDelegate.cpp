#include "net/ListHttpRequestDelegate.h"

#include "net/HttpRequestSender.h"
#include "net/RecordRegistry.h"
#include "platform/Log.h"

namespace zorlet {

void ListHttpRequestDelegate::requestFinished(HttpRequest& request) {
    if (request.responseStatusCode() != 200) {
        requestFailed(request);
        return;
    }
    mergeResponse(request.responseString());
}

void ListHttpRequestDelegate::mergeResponse(const std::string& body) {
    auto envelope = parseJson(body);
    if (envelope && HttpRequestSender::readsAsSuccess(*envelope) && zlData) {
        const Json& result = jsonObject(*envelope, "result");
        zlData->loadPager(jsonObject(result, "pager"));
        const Json& list = jsonArray(result, "list");
        if (!list.empty()) {
            const auto* convert = RecordRegistry::converterFor(viewClassName);
            if (!convert) {
                log().error("no record kind named {} to convert list elements", viewClassName);
            } else {
                for (const Json& element : list) {
                    if (!element.is_object()) {
                        continue;
                    }
                    RecordPtr record = (*convert)(element);
                    if (!record) {
                        continue;
                    }
                    std::int64_t identity = record->objIdentity();
                    if (addToHead) {
                        zlData->insertObjectAtHead(std::move(record), identity);
                    } else {
                        zlData->addObject(std::move(record), identity);
                    }
                }
            }
        }
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
