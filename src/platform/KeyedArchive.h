#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zorlet {

// A small archive file: one named root object with named fields, written
// atomically with mode 0600 (it may hold session tokens).
class KeyedArchive {
public:
    static bool write(const std::filesystem::path& path, const std::string& rootName,
                      const nlohmann::json& fields);
    // Nothing when the file is missing, unreadable, malformed or holds another root.
    static std::optional<nlohmann::json> read(const std::filesystem::path& path, const std::string& rootName);
    // The file's text; nothing when a field holds text that is not UTF-8.
    static std::optional<std::string> encode(const std::string& rootName, const nlohmann::json& fields);
    // The same as read, for the file's text.
    static std::optional<nlohmann::json> decode(std::string_view text, const std::string& rootName);

    // Archives are a few fields; a larger file is not one of ours.
    static constexpr std::size_t kMaxArchiveBytes = 1024 * 1024;
};

}  // namespace zorlet
