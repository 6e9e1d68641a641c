#include "platform/KeyedArchive.h"

#include "platform/AtomicFile.h"
#include "platform/Json.h"
#include "platform/Log.h"

namespace zorlet {

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
