#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

namespace zorlet {

// Persistent key-value settings (bool, integer, double, text), kept in a JSON
// file. Changes are in memory until `synchronize` writes them atomically.
class UserDefaults {
public:
    // The defaults in the shared data folder.
    static UserDefaults& standard();
    explicit UserDefaults(std::filesystem::path file);

    bool boolForKey(const std::string& key) const;
    std::int64_t integerForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    std::optional<std::string> stringForKey(const std::string& key) const;
    bool hasKey(const std::string& key) const;

    void setBool(const std::string& key, bool value);
    void setInteger(const std::string& key, std::int64_t value);
    void setDouble(const std::string& key, double value);
    void setString(const std::string& key, const std::string& value);
    void removeObjectForKey(const std::string& key);

    bool synchronize();
    // Re-reads the file (after the data folder changed).
    void reload(std::filesystem::path file);

private:
    mutable std::mutex mutex_;
    std::filesystem::path file_;
    nlohmann::json values_ = nlohmann::json::object();
};

}  // namespace zorlet
