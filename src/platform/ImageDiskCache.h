#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace zorlet {

// Downloaded pictures kept on disk, one file per URL, so a picture seen once
// is not fetched again in later runs. The shared cache lives in the data
// folder's caches; the configuration screen clears it.
class ImageDiskCache {
public:
    static ImageDiskCache& shared();

    // A cache in `folder`; without one, the data folder's "ImageCache" at the time of each call.
    explicit ImageDiskCache(std::optional<std::filesystem::path> folder = std::nullopt);

    std::optional<std::string> dataForUrl(const std::string& url) const;
    bool store(const std::string& url, std::string_view bytes);
    void removeDataForUrl(const std::string& url);
    void clear();
    std::size_t fileCount() const;

    std::filesystem::path folder() const;
    std::filesystem::path pathForUrl(const std::string& url) const;

private:
    std::optional<std::filesystem::path> folder_;
    mutable std::mutex mutex_;
};

}  // namespace zorlet
