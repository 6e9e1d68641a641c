#include "platform/UserDefaults.h"

#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "platform/Json.h"
#include "platform/Log.h"

namespace zorlet {

UserDefaults& UserDefaults::standard() {
    static UserDefaults* defaults = new UserDefaults(DataFolder::shared().file("Preferences/defaults.json"));
    return *defaults;
}

UserDefaults::UserDefaults(std::filesystem::path file) {
    reload(std::move(file));
}

void UserDefaults::reload(std::filesystem::path file) {
    std::lock_guard lock(mutex_);
    file_ = std::move(file);
    values_ = Json::object();
    if (auto text = AtomicFile::read(file_)) {
        auto parsed = parseJson(*text);
        if (parsed && parsed->is_object()) {
            values_ = std::move(*parsed);
        } else {
            log().warn("user defaults in {} are unreadable; starting empty", file_.string());
        }
    }
}

bool UserDefaults::hasKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return values_.contains(key);
}

bool UserDefaults::boolForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return jsonBool(values_, key);
}

std::int64_t UserDefaults::integerForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return jsonInt(values_, key);
}

double UserDefaults::doubleForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return jsonDouble(values_, key);
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = values_.find(key);
    if (it == values_.end() || !(it->is_string() || it->is_number())) {
        return std::nullopt;
    }
    return jsonTextForm(*it);
}

void UserDefaults::setBool(const std::string& key, bool value) {
    std::lock_guard lock(mutex_);
    values_[key] = value;
}

void UserDefaults::setInteger(const std::string& key, std::int64_t value) {
    std::lock_guard lock(mutex_);
    values_[key] = value;
}

void UserDefaults::setDouble(const std::string& key, double value) {
    std::lock_guard lock(mutex_);
    values_[key] = value;
}

void UserDefaults::setString(const std::string& key, const std::string& value) {
    std::lock_guard lock(mutex_);
    values_[key] = value;
}

void UserDefaults::removeObjectForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    values_.erase(key);
}

bool UserDefaults::synchronize() {
    std::lock_guard lock(mutex_);
    std::string error = AtomicFile::write(file_, values_.dump(2));
    if (!error.empty()) {
        log().error("could not save user defaults: {}", error);
        return false;
    }
    return true;
}

}  // namespace zorlet
