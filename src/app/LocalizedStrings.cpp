#include "app/LocalizedStrings.h"

#include "platform/AtomicFile.h"
#include "platform/Json.h"
#include "platform/Log.h"

namespace zorlet {

namespace {

const Json& table() {
    // Read once, under the runtime's lock for function-local statics.
    static const Json strings = [] {
        std::string path = std::string(ZORLET_RESOURCES_DIR) + "/strings/Localizable.json";
        if (auto bytes = AtomicFile::read(path)) {
            if (auto parsed = parseJson(*bytes); parsed && parsed->is_object()) {
                return *parsed;
            }
        }
        log().warn("the string table {} is missing or unreadable", path);
        return Json::object();
    }();
    return strings;
}

}  // namespace

std::string LocalizedStrings::localizedString(const std::string& key) {
    const Json& strings = table();
    auto it = strings.find(key);
    if (it == strings.end() || !it->is_string()) {
        return key;
    }
    return it->get<std::string>();
}

std::string LocalizedStrings::localizedString(const std::string& pattern, std::int64_t number) {
    std::string key = pattern;
    if (auto at = key.find("%d"); at != std::string::npos) {
        key.replace(at, 2, std::to_string(number));
    }
    return localizedString(key);
}

}  // namespace zorlet
