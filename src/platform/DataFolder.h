#pragma once

#include <filesystem>
#include <string>

namespace zorlet {

// The app's data folder: documents, caches, user defaults, the token archive,
// the image cache and the analytics log all live under one root chosen by
// `--data DIR` (default $XDG_DATA_HOME/zorlet, else ~/.local/share/zorlet).
class DataFolder {
public:
    static DataFolder& shared();

    void setRoot(std::filesystem::path root);
    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path documents() const;
    std::filesystem::path caches() const;
    // A path under the root whose parent folders exist.
    std::filesystem::path file(const std::string& relative) const;

    static std::filesystem::path defaultRoot();

private:
    DataFolder();
    std::filesystem::path root_;
};

}  // namespace zorlet
