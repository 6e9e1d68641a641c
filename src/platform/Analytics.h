#pragma once

#include "platform/Clock.h"
#include "platform/Json.h"

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace zorlet {

// The usage-analytics and update-check kit. Everything the app reports (the
// start, named events, page views) is appended as one JSON object per line
// to a log in the data folder. The update check asks a configured address
// and always answers with a dictionary holding `update`, `version`,
// `update_log` and `path`.
class Analytics {
public:
    enum ReportPolicy { kRealtime = 0, kBatch = 1, kSendOnExit = 2 };
    using UpdateHandler = std::function<void(const Json& answer)>;

    static void setAppVersion(const std::string& version);
    static void startWithAppkey(const std::string& appKey, int reportPolicy, const std::string& channelId);

    static void event(const std::string& eventId);
    static void event(const std::string& eventId, const Json& attributes);
    static void beginLogPageView(const std::string& pageName);
    static void endLogPageView(const std::string& pageName);

    // Where the update check asks; without one every check answers "no update".
    static void setUpdateCheckUrl(std::string url);
    // The answer is handed to `handler` on the main loop, and logged.
    static void checkUpdate(UpdateHandler handler = {});
    static Json noUpdateAnswer();

    static std::filesystem::path logFilePath();
    // The logged entries, oldest first; unreadable lines are skipped.
    static std::vector<Json> loggedEntries();

private:
    static Analytics& shared();
    Analytics() = default;
    void append(Json entry);
    static Json answerFromResponse(int status, const std::string& body);

    std::mutex mutex_;
    std::string appVersion_;
    std::string appKey_;
    std::string channel_;
    int policy_ = kRealtime;
    std::string updateUrl_;
    std::map<std::string, Duration> openPages_;
};

}  // namespace zorlet
