#include "platform/CookieStore.h"

#include "platform/CookieParser.h"
#include "platform/MainLoop.h"
#include "platform/UrlParts.h"

#include <curl/curl.h>

#include <array>
#include <mutex>

namespace zorlet {

namespace {

// libcurl's share interface asks for a lock per kind of shared data.
std::array<std::mutex, CURL_LOCK_DATA_LAST> shareLocks;

void lockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
    shareLocks[static_cast<std::size_t>(data)].lock();
}

void unlockShare(CURL*, curl_lock_data data, void*) {
    shareLocks[static_cast<std::size_t>(data)].unlock();
}

struct SharedCookieEngine {
    CURLSH* share = nullptr;
    // A handle attached to the share, used only to read and edit the cookie list.
    CURL* control = nullptr;
    std::mutex mutex;
};

SharedCookieEngine& engine() {
    static SharedCookieEngine* shared = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        auto* e = new SharedCookieEngine();
        e->share = curl_share_init();
        curl_share_setopt(e->share, CURLSHOPT_LOCKFUNC, lockShare);
        curl_share_setopt(e->share, CURLSHOPT_UNLOCKFUNC, unlockShare);
        curl_share_setopt(e->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        e->control = curl_easy_init();
        curl_easy_setopt(e->control, CURLOPT_SHARE, e->share);
        curl_easy_setopt(e->control, CURLOPT_COOKIEFILE, "");
        return e;
    }();
    return *shared;
}

long long nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

CookieStore::CookieStore() = default;
CookieStore::~CookieStore() = default;

CookieStore& CookieStore::shared() {
    static CookieStore* store = new CookieStore();
    return *store;
}

void* CookieStore::shareHandle() const {
    return engine().share;
}

std::vector<HttpCookie> CookieStore::cookies() const {
    auto& e = engine();
    std::lock_guard lock(e.mutex);
    std::vector<HttpCookie> result;
    struct curl_slist* list = nullptr;
    if (curl_easy_getinfo(e.control, CURLINFO_COOKIELIST, &list) != CURLE_OK) {
        return result;
    }
    for (auto* item = list; item; item = item->next) {
        if (auto cookie = CookieParser::fromNetscapeLine(item->data)) {
            result.push_back(std::move(*cookie));
        }
    }
    curl_slist_free_all(list);
    return result;
}

std::vector<HttpCookie> CookieStore::cookiesForURL(const std::string& url) const {
    std::vector<HttpCookie> result;
    auto parts = UrlParts::parse(url);
    if (!parts) {
        return result;
    }
    long long now = nowSeconds();
    for (auto& cookie : cookies()) {
        if (CookieParser::matches(cookie, parts->host, parts->path, parts->scheme == "https", now)) {
            result.push_back(std::move(cookie));
        }
    }
    return result;
}

void CookieStore::setCookie(const HttpCookie& cookie) {
    auto& e = engine();
    std::lock_guard lock(e.mutex);
    curl_easy_setopt(e.control, CURLOPT_COOKIELIST, CookieParser::toNetscapeLine(cookie).c_str());
}

void CookieStore::replaceAll(const std::vector<HttpCookie>& cookies) {
    auto& e = engine();
    std::lock_guard lock(e.mutex);
    curl_easy_setopt(e.control, CURLOPT_COOKIELIST, "ALL");
    for (const auto& cookie : cookies) {
        curl_easy_setopt(e.control, CURLOPT_COOKIELIST, CookieParser::toNetscapeLine(cookie).c_str());
    }
}

void CookieStore::deleteCookiesForURL(const std::string& url) {
    auto parts = UrlParts::parse(url);
    if (!parts) {
        return;
    }
    long long now = nowSeconds();
    std::vector<HttpCookie> kept;
    for (auto& cookie : cookies()) {
        if (!CookieParser::matches(cookie, parts->host, parts->path, parts->scheme == "https", now)) {
            kept.push_back(std::move(cookie));
        }
    }
    replaceAll(kept);
}

void CookieStore::clearSessionCookies() {
    auto& e = engine();
    std::lock_guard lock(e.mutex);
    curl_easy_setopt(e.control, CURLOPT_COOKIELIST, "SESS");
}

void CookieStore::clearAll() {
    auto& e = engine();
    std::lock_guard lock(e.mutex);
    curl_easy_setopt(e.control, CURLOPT_COOKIELIST, "ALL");
}

}  // namespace zorlet
