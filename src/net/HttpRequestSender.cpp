#include "net/HttpRequestSender.h"

#include "net/CheckNetwork.h"
#include "net/HttpRequestDelegate.h"
#include "net/MessageShow.h"
#include "platform/UrlEncoding.h"
#include "ui/ProgressHUD.h"
#include "ui/View.h"

namespace zorlet {

namespace {

constexpr const char* kGenericError = "网络不给力，稍后再试吧";

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
    if (!envelope.is_object()) {
        return false;
    }
    auto it = envelope.find("success");
    return it != envelope.end() && it->is_boolean() && it->get<bool>();
}

bool HttpRequestSender::readsAsSuccess(const Json& envelope) {
    if (!envelope.is_object()) {
        return false;
    }
    auto it = envelope.find("success");
    if (it == envelope.end()) {
        return false;
    }
    if (it->is_boolean()) {
        return it->get<bool>();
    }
    if (it->is_number()) {
        return it->get<double>() != 0;
    }
    if (!it->is_string()) {
        return false;
    }
    const auto& text = it->get_ref<const std::string&>();
    std::size_t at = text.find_first_not_of(" \t\n\r");
    if (at != std::string::npos && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    while (at != std::string::npos && at < text.size() && text[at] == '0') {
        ++at;
    }
    if (at == std::string::npos || at >= text.size()) {
        return false;
    }
    char first = text[at];
    return first == 'Y' || first == 'y' || first == 'T' || first == 't' || (first >= '1' && first <= '9');
}

std::string HttpRequestSender::errorText(const Json& envelope) {
    std::string text = jsonString(envelope, "errorInfo");
    return text.empty() ? kGenericError : text;
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
        MessageShow::error(envelope ? errorText(*envelope) : kGenericError, nullptr);
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
