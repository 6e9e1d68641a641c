#include "platform/DataFolder.h"

#include <cstdlib>
#include <system_error>

namespace zorlet {

DataFolder::DataFolder() : root_(defaultRoot()) {}

DataFolder& DataFolder::shared() {
    static DataFolder* folder = new DataFolder();
    return *folder;
}

std::filesystem::path DataFolder::defaultRoot() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        return std::filesystem::path(xdg) / "zorlet";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::filesystem::path(home) / ".local" / "share" / "zorlet";
    }
    return std::filesystem::temp_directory_path() / "zorlet";
}

void DataFolder::setRoot(std::filesystem::path root) {
    root_ = std::move(root);
}

std::filesystem::path DataFolder::documents() const {
    auto path = root_ / "Documents";
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return path;
}

std::filesystem::path DataFolder::caches() const {
    auto path = root_ / "Caches";
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return path;
}

std::filesystem::path DataFolder::file(const std::string& relative) const {
    auto path = root_ / relative;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    return path;
}

}  // namespace zorlet
