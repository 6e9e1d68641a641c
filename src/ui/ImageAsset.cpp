#include "ui/ImageAsset.h"

#include <filesystem>
#include <map>
#include <mutex>

namespace zorlet {

namespace {

struct AssetCache {
    std::mutex mutex;
    std::string directory = std::string(ZORLET_RESOURCES_DIR) + "/images";
    std::map<std::string, ImageAssetPtr> assets;
};

AssetCache& cache() {
    static AssetCache instance;
    return instance;
}

std::string withoutPngExtension(const std::string& name) {
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) {
        return name.substr(0, name.size() - 4);
    }
    return name;
}

ImagePtr loadResource(const std::string& directory, const std::string& name) {
    std::string base = withoutPngExtension(name);
    for (auto [suffix, scale] : {std::pair{"@2x.png", 2.0}, std::pair{".png", 1.0}}) {
        std::filesystem::path path = std::filesystem::path(directory) / (base + suffix);
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) {
            if (ImagePtr image = Image::fromFile(path.string(), scale)) {
                return image;
            }
        }
    }
    return nullptr;
}

}  // namespace

ImageAsset::ImageAsset(std::string name, ImagePtr image) : name_(std::move(name)), image_(std::move(image)) {}

ImageAssetPtr ImageAsset::named(const std::string& name) {
    AssetCache& assets = cache();
    std::lock_guard lock(assets.mutex);
    auto found = assets.assets.find(name);
    if (found != assets.assets.end()) {
        return found->second;
    }
    auto asset = std::make_shared<const ImageAsset>(name, loadResource(assets.directory, name));
    assets.assets.emplace(name, asset);
    return asset;
}

ImageAssetPtr ImageAsset::fromImage(ImagePtr image, std::string name) {
    return std::make_shared<const ImageAsset>(std::move(name), std::move(image));
}

void ImageAsset::setResourceDirectory(std::string directory) {
    AssetCache& assets = cache();
    std::lock_guard lock(assets.mutex);
    assets.directory = std::move(directory);
    assets.assets.clear();
}

void ImageAsset::clearCache() {
    AssetCache& assets = cache();
    std::lock_guard lock(assets.mutex);
    assets.assets.clear();
}

Size ImageAsset::size() const {
    if (!image_) {
        return {kStandInSide, kStandInSide};
    }
    return {image_->width(), image_->height()};
}

}  // namespace zorlet
