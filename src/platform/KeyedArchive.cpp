#include "platform/KeyedArchive.h"

#include "platform/AtomicFile.h"
#include "platform/Json.h"
#include "platform/Log.h"

namespace zorlet {

bool KeyedArchive::write(const std::filesystem::path& path, const std::string& rootName,
                         const nlohmann::json& fields) {
    Json archive = {{"root", rootName}, {"fields", fields.is_object() ? fields : Json::object()}};
    std::string error = AtomicFile::write(path, archive.dump(2), 0600);
    if (!error.empty()) {
        log().error("could not write archive {}: {}", path.string(), error);
        return false;
    }
    return true;
}

std::optional<nlohmann::json> KeyedArchive::read(const std::filesystem::path& path,
                                                 const std::string& rootName) {
    auto text = AtomicFile::read(path);
    if (!text) {
        return std::nullopt;
    }
    auto archive = parseJson(*text);
    if (!archive || !archive->is_object() || jsonString(*archive, "root") != rootName ||
        !(*archive)["fields"].is_object()) {
        return std::nullopt;
    }
    return (*archive)["fields"];
}

}  // namespace zorlet
