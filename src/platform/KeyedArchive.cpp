#include "platform/KeyedArchive.h"

#include "platform/AtomicFile.h"
#include "platform/Json.h"
#include "platform/Log.h"

namespace zorlet {

namespace {

constexpr auto kArchivePermissions = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

bool holds(const std::filesystem::path& path, const std::string& text) {
    std::error_code error;
    auto status = std::filesystem::status(path, error);
    if (error || (status.permissions() & std::filesystem::perms::mask) != kArchivePermissions) {
        return false;
    }
    if (std::filesystem::file_size(path, error) != text.size() || error) {
        return false;
    }
    auto stored = AtomicFile::read(path);
    return stored && *stored == text;
}

}  // namespace

std::optional<std::string> KeyedArchive::encode(const std::string& rootName, const nlohmann::json& fields) {
    Json archive = {{"root", rootName}, {"fields", fields.is_object() ? fields : Json::object()}};
    try {
        return archive.dump(2);
    } catch (const Json::exception& e) {
        // Text that is not UTF-8 has no JSON form; callers holding raw bytes encode them first.
        log().error("could not encode archive {}: {}", rootName, e.what());
        return std::nullopt;
    }
}

bool KeyedArchive::write(const std::filesystem::path& path, const std::string& rootName,
                         const nlohmann::json& fields) {
    auto text = encode(rootName, fields);
    if (!text) {
        return false;
    }
    if (holds(path, *text)) {
        // Every launch saves the session again; flushing unchanged bytes to disk only costs time.
        return true;
    }
    std::string error = AtomicFile::write(path, *text, 0600);
    if (!error.empty()) {
        log().error("could not write archive {}: {}", path.string(), error);
        return false;
    }
    return true;
}

std::optional<nlohmann::json> KeyedArchive::read(const std::filesystem::path& path,
                                                 const std::string& rootName) {
    auto text = AtomicFile::read(path);
    if (!text || text->size() > kMaxArchiveBytes) {
        return std::nullopt;
    }
    return decode(*text, rootName);
}

std::optional<nlohmann::json> KeyedArchive::decode(std::string_view text, const std::string& rootName) {
    auto archive = parseJson(text);
    if (!archive || !archive->is_object() || jsonString(*archive, "root") != rootName ||
        !(*archive)["fields"].is_object()) {
        return std::nullopt;
    }
    return (*archive)["fields"];
}

}  // namespace zorlet
