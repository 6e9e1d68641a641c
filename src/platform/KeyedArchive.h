#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <optional>
#include <string>

namespace zorlet {

// A small archive file: one named root object with named fields, written
// atomically with mode 0600 (it may hold session tokens).
class KeyedArchive {
public:
    static bool write(const std::filesystem::path& path, const std::string& rootName,
                      const nlohmann::json& fields);
    // Nothing when the file is missing, unreadable, malformed or holds another root.
    static std::optional<nlohmann::json> read(const std::filesystem::path& path, const std::string& rootName);
};

}  // namespace zorlet
