#include "platform/ImageDiskCache.h"

#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "platform/Log.h"

#include <cstdio>

namespace zorlet {

namespace {

// FNV-1a over the URL, with its length, as a file name: stable across runs
// and builds, unlike std::hash.
std::string fileNameFor(const std::string& url) {
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : url) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[48];
    std::snprintf(name, sizeof name, "%016llx-%zu", static_cast<unsigned long long>(hash), url.size());
    return name;
}

}  // namespace

ImageDiskCache& ImageDiskCache::shared() {
    static ImageDiskCache cache;
    return cache;
}

ImageDiskCache::ImageDiskCache(std::optional<std::filesystem::path> folder) : folder_(std::move(folder)) {}

std::filesystem::path ImageDiskCache::folder() const {
    return folder_ ? *folder_ : DataFolder::shared().caches() / "ImageCache";
}

std::filesystem::path ImageDiskCache::pathForUrl(const std::string& url) const {
    return folder() / fileNameFor(url);
}

std::optional<std::string> ImageDiskCache::dataForUrl(const std::string& url) const {
    std::lock_guard lock(mutex_);
    return AtomicFile::read(pathForUrl(url));
}

bool ImageDiskCache::store(const std::string& url, std::string_view bytes) {
    std::lock_guard lock(mutex_);
    std::string error = AtomicFile::write(pathForUrl(url), bytes);
    if (!error.empty()) {
        log().warn("could not keep the picture of {}: {}", url, error);
        return false;
    }
    return true;
}

void ImageDiskCache::removeDataForUrl(const std::string& url) {
    std::lock_guard lock(mutex_);
    std::error_code ignored;
    std::filesystem::remove(pathForUrl(url), ignored);
}

void ImageDiskCache::clear() {
    std::lock_guard lock(mutex_);
    std::error_code ignored;
    std::filesystem::remove_all(folder(), ignored);
}

std::size_t ImageDiskCache::fileCount() const {
    std::lock_guard lock(mutex_);
    std::size_t count = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder(), error), end; !error && it != end;
         it.increment(error)) {
        ++count;
    }
    return count;
}

}  // namespace zorlet
