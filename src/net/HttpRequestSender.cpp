#include "net/HttpRequestSender.h"

#include "net/CheckNetwork.h"
#include "net/HttpRequestDelegate.h"
#include "net/MessageShow.h"
#include "net/ResponseEnvelope.h"
#include "platform/UrlEncoding.h"
#include "ui/ProgressHUD.h"
#include "ui/View.h"

namespace zorlet {

namespace {

void applyDefaults(HttpRequest& request) {
    request.addRequestHeader("Content-Type", "application/html;charset=UTF-8;");
    request.setUseCookiePersistence(true);
}

void hideProgress(const std::weak_ptr<View>& lockView) {
    if (auto view = lockView.lock()) {
        ProgressHUD::hideHUDForView(view.get(), true);
    }
}

}  // namespace

HttpRequestPtr HttpRequestSender::getRequestWithUrl(const std::string& url, const Json& params) {
    return CheckNetwork::isExistenceNetwork() ? createGetRequestWithUrl(url, params) : nullptr;
}

HttpRequestPtr HttpRequestSender::postRequestWithUrl(const std::string& url, const Json& params) {
    return CheckNetwork::isExistenceNetwork() ? createPostRequestWithUrl(url, params) : nullptr;
}

HttpRequestPtr HttpRequestSender::backgroundGetRequestWithUrl(const std::string& url, const Json& params) {
    return CheckNetwork::isExistenceNetworkWithoutAlert() ? createGetRequestWithUrl(url, params) : nullptr;
}

HttpRequestPtr HttpRequestSender::backgroundPostRequestWithUrl(const std::string& url, const Json& params) {
    return CheckNetwork::isExistenceNetworkWithoutAlert() ? createPostRequestWithUrl(url, params) : nullptr;
}

std::string HttpRequestSender::urlWithQuery(const std::string& url, const Json& params) {
    if (!params.is_object() || params.empty()) {
        return url;
    }
    // Each key and value is escaped on its own, so user text holding "&", "="
    // or "#" cannot break the query apart.
    std::string query;
    for (auto it = params.begin(); it != params.end(); ++it) {
        if (!query.empty()) {
            query += '&';
        }
        query += formEncode(it.key()) + '=' + formEncode(jsonTextForm(it.value()));
    }
    std::string joined = url + (url.find('?') == std::string::npos ? "?" : "&") + query;
    return escapeUrl(joined);
}

HttpRequestPtr HttpRequestSender::createGetRequestWithUrl(const std::string& url, const Json& params) {
    auto request = HttpRequest::create(urlWithQuery(url, params));
    applyDefaults(*request);
    return request;
}

HttpRequestPtr HttpRequestSender::createPostRequestWithUrl(const std::string& url, const Json& params) {
    auto request = HttpRequest::createForm(url);
    applyDefaults(*request);
    if (params.is_object()) {
        for (auto it = params.begin(); it != params.end(); ++it) {
            request->setPostValue(it.key(), jsonTextForm(it.value()));
        }
    }
    return request;
}

bool HttpRequestSender::isSuccess(const Json& envelope) {
    return ResponseEnvelope::isSuccess(envelope);
}

bool HttpRequestSender::readsAsSuccess(const Json& envelope) {
    return ResponseEnvelope::readsAsSuccess(envelope);
}

std::string HttpRequestSender::errorText(const Json& envelope) {
    return ResponseEnvelope::errorText(envelope);
}

std::string HttpRequestSender::failureText(const std::optional<Json>& envelope) {
    return envelope ? ResponseEnvelope::errorText(*envelope) : ResponseEnvelope::kGenericError;
}

void HttpRequestSender::doRequest(const HttpRequestPtr& request, View* lockView, Success success,
                                  Failure failure) {
    if (!request) {
        return;
    }
    std::weak_ptr<View> lock = lockView ? lockView->weak_from_this() : std::weak_ptr<View>();
    request->setCompletionBlock([lock, success, failure](HttpRequest& finished) {
        auto envelope = parseJson(finished.responseString());
        if (envelope && isSuccess(*envelope)) {
            if (success) {
                success(*envelope);
            }
            return;
        }
        hideProgress(lock);
        MessageShow::error(failureText(envelope), nullptr);
        if (failure) {
            failure();
        }
    });
    request->setFailedBlock([lock, failure](HttpRequest& failed) {
        hideProgress(lock);
        HttpRequestDelegate::requestFailedHandle(failed);
        if (failure) {
            failure();
        }
    });
    request->startAsynchronous();
}

}  // namespace zorlet
