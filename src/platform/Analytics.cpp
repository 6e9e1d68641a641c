#include "platform/Analytics.h"

#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "platform/HttpRequest.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/UrlEncoding.h"

#include <chrono>
#include <fstream>
#include <sstream>

namespace zorlet {

Analytics& Analytics::shared() {
    static Analytics analytics;
    return analytics;
}

std::filesystem::path Analytics::logFilePath() {
    return DataFolder::shared().file("analytics.log");
}

void Analytics::append(Json entry) {
    auto now = MainLoop::main().clock().now();
    entry["time"] = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    std::lock_guard lock(mutex_);
    if (!appKey_.empty()) {
        entry["appKey"] = appKey_;
    }
    std::ofstream out(logFilePath(), std::ios::app | std::ios::binary);
    out << entry.dump() << '\n';
    if (!out) {
        log().warn("could not append to the analytics log");
    }
}

void Analytics::setAppVersion(const std::string& version) {
    std::lock_guard lock(shared().mutex_);
    shared().appVersion_ = version;
}

void Analytics::startWithAppkey(const std::string& appKey, int reportPolicy, const std::string& channelId) {
    auto& self = shared();
    std::string version;
    {
        std::lock_guard lock(self.mutex_);
        self.appKey_ = appKey;
        self.policy_ = reportPolicy;
        self.channel_ = channelId;
        version = self.appVersion_;
    }
    self.append({{"type", "start"}, {"policy", reportPolicy}, {"channel", channelId}, {"version", version}});
}

void Analytics::event(const std::string& eventId) {
    event(eventId, Json::object());
}

void Analytics::event(const std::string& eventId, const Json& attributes) {
    Json entry = {{"type", "event"}, {"event", eventId}};
    if (attributes.is_object() && !attributes.empty()) {
        entry["attributes"] = attributes;
    }
    shared().append(std::move(entry));
}

void Analytics::beginLogPageView(const std::string& pageName) {
    auto& self = shared();
    {
        std::lock_guard lock(self.mutex_);
        self.openPages_[pageName] = MainLoop::main().clock().uptime();
    }
    self.append({{"type", "pageBegin"}, {"page", pageName}});
}

void Analytics::endLogPageView(const std::string& pageName) {
    auto& self = shared();
    Json entry = {{"type", "pageEnd"}, {"page", pageName}};
    {
        std::lock_guard lock(self.mutex_);
        if (auto it = self.openPages_.find(pageName); it != self.openPages_.end()) {
            entry["durationMs"] = (MainLoop::main().clock().uptime() - it->second).count();
            self.openPages_.erase(it);
        }
    }
    self.append(std::move(entry));
}

void Analytics::setUpdateCheckUrl(std::string url) {
    std::lock_guard lock(shared().mutex_);
    shared().updateUrl_ = std::move(url);
}

Json Analytics::noUpdateAnswer() {
    std::lock_guard lock(shared().mutex_);
    return {{"update", false}, {"version", shared().appVersion_}, {"update_log", ""}, {"path", ""}};
}

Json Analytics::answerFromResponse(int status, const std::string& body) {
    if (status != 200) {
        return noUpdateAnswer();
    }
    auto json = parseJson(body);
    if (!json || !json->is_object()) {
        return noUpdateAnswer();
    }
    // The service may wrap the answer in its usual envelope.
    const Json& answer =
        json->contains("result") && (*json)["result"].is_object() ? (*json)["result"] : *json;
    if (!jsonBool(answer, "update")) {
        return noUpdateAnswer();
    }
    return {{"update", true},
            {"version", jsonString(answer, "version")},
            {"update_log", jsonString(answer, "update_log")},
            {"path", jsonString(answer, "path")}};
}

void Analytics::checkUpdate(UpdateHandler handler) {
    auto& self = shared();
    std::string url;
    std::string query;
    {
        std::lock_guard lock(self.mutex_);
        url = self.updateUrl_;
        query = "appkey=" + formEncode(self.appKey_) + "&version=" + formEncode(self.appVersion_) +
                "&channel=" + formEncode(self.channel_);
    }
    auto answer = [handler](const Json& result) {
        shared().append({{"type", "updateCheck"}, {"answer", result}});
        if (handler) {
            handler(result);
        }
    };
    if (url.empty()) {
        MainLoop::main().post([answer] { answer(noUpdateAnswer()); });
        return;
    }
    auto request = HttpRequest::create(url + (url.find('?') == std::string::npos ? "?" : "&") + query);
    request->setUseDownloadCache(false);
    request->setUseCookiePersistence(false);
    request->setCompletionBlock([answer](HttpRequest& finished) {
        answer(answerFromResponse(finished.responseStatusCode(), finished.responseString()));
    });
    request->setFailedBlock([answer](HttpRequest&) { answer(noUpdateAnswer()); });
    request->startAsynchronous();
}

std::vector<Json> Analytics::loggedEntries() {
    std::vector<Json> entries;
    std::lock_guard lock(shared().mutex_);
    auto text = AtomicFile::read(logFilePath());
    if (!text) {
        return entries;
    }
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        if (auto entry = parseJson(line); entry && entry->is_object()) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

}  // namespace zorlet
