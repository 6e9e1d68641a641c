#include "ui/ImageAsset.h"

#include "platform/Log.h"
#include "ui/MissingImageRegistry.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>

#include <nlohmann/json.hpp>

namespace zorlet {

namespace {

struct Caps {
    double left = 0;
    double top = 0;
};

struct AssetCache {
    std::mutex mutex;
    std::string directory = std::string(ZORLET_RESOURCES_DIR) + "/images";
    std::map<std::string, ImageAssetPtr> assets;
    // Caps of the pictures that stretch, from stretch.json beside them: how a
    // picture stretches belongs to its artwork, whichever screen shows it.
    std::optional<std::map<std::string, Caps>> caps;
};

AssetCache& cache() {
    static AssetCache instance;
    return instance;
}

std::string withoutExtension(const std::string& name) {
    for (const char* extension : {".png", ".svg", ".jpg"}) {
        std::size_t length = std::char_traits<char>::length(extension);
        if (name.size() > length && name.compare(name.size() - length, length, extension) == 0) {
            return name.substr(0, name.size() - length);
        }
    }
    return name;
}

std::map<std::string, Caps> readCaps(const std::filesystem::path& file) {
    std::map<std::string, Caps> caps;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return caps;
    }
    nlohmann::json table = nlohmann::json::parse(in, nullptr, false);
    if (!table.is_object()) {
        log().warn("{} is not a JSON object of [left, top] caps; pictures stretch whole", file.string());
        return caps;
    }
    for (const auto& [name, pair] : table.items()) {
        if (pair.is_array() && pair.size() == 2 && pair[0].is_number() && pair[1].is_number()) {
            caps[name] = {pair[0].get<double>(), pair[1].get<double>()};
        } else {
            log().warn("{}: the caps of {} are not [left, top]", file.string(), name);
        }
    }
    return caps;
}

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::shared_ptr<const ImageAsset> loadResource(const std::string& directory, const std::string& name) {
    std::string base = withoutExtension(name);
    if (base.empty()) {
        return nullptr;
    }
    std::filesystem::path folder(directory);
    if (std::filesystem::path svg = folder / (base + ".svg"); isFile(svg)) {
        SvgRasterizer::Loaded loaded = SvgRasterizer::fromFile(svg.string());
        if (loaded.rasterizer) {
            return std::make_shared<const ImageAsset>(name, loaded.rasterizer);
        }
        log().warn("picture {} cannot be drawn: {}", name, loaded.error);
    }
    constexpr std::array<std::pair<const char*, double>, 4> kRasters = {
        {{"@2x.png", 2.0}, {".png", 1.0}, {"@2x.jpg", 2.0}, {".jpg", 1.0}}};
    for (auto [suffix, scale] : kRasters) {
        std::filesystem::path path = folder / (base + suffix);
        if (!isFile(path)) {
            continue;
        }
        if (ImagePtr image = Image::fromFile(path.string(), scale)) {
            return std::make_shared<const ImageAsset>(name, image);
        }
        log().warn("picture {} cannot be decoded from {}", name, path.string());
    }
    return nullptr;
}

}  // namespace

ImageAsset::ImageAsset(std::string name, ImagePtr image) : name_(std::move(name)), image_(std::move(image)) {}

ImageAsset::ImageAsset(std::string name, SvgRasterizerPtr vector)
    : name_(std::move(name)), vector_(std::move(vector)) {}

ImageAssetPtr ImageAsset::named(const std::string& name) {
    AssetCache& assets = cache();
    std::lock_guard lock(assets.mutex);
    auto found = assets.assets.find(name);
    if (found != assets.assets.end()) {
        return found->second;
    }
    ImageAssetPtr asset = loadResource(assets.directory, name);
    if (asset) {
        if (!assets.caps) {
            assets.caps = readCaps(std::filesystem::path(assets.directory) / "stretch.json");
        }
        if (auto caps = assets.caps->find(withoutExtension(name)); caps != assets.caps->end()) {
            asset = asset->withCaps(caps->second.left, caps->second.top);
        }
    } else {
        MissingImageRegistry::shared().noteAsked(name);
        asset = std::make_shared<const ImageAsset>(name, ImagePtr{});
    }
    assets.assets.emplace(name, asset);
    return asset;
}

ImageAssetPtr ImageAsset::stretchable(const std::string& name, double leftCap, double topCap) {
    return named(name)->withCaps(leftCap, topCap);
}

ImageAssetPtr ImageAsset::fromImage(ImagePtr image, std::string name) {
    return std::make_shared<const ImageAsset>(std::move(name), std::move(image));
}

void ImageAsset::setResourceDirectory(std::string directory) {
    AssetCache& assets = cache();
    std::lock_guard lock(assets.mutex);
    assets.directory = std::move(directory);
    assets.assets.clear();
    assets.caps.reset();
}

void ImageAsset::clearCache() {
    AssetCache& assets = cache();
    std::lock_guard lock(assets.mutex);
    assets.assets.clear();
    assets.caps.reset();
}

ImagePtr ImageAsset::rendition(double scale) const {
    if (vector_) {
        if (ImagePtr pixels = vector_->rasterize(scale)) {
            return pixels;
        }
    }
    return image_;
}

Size ImageAsset::size() const {
    if (vector_) {
        return {vector_->width(), vector_->height()};
    }
    if (!image_) {
        return {kStandInSide, kStandInSide};
    }
    return {image_->width(), image_->height()};
}

ImageAssetPtr ImageAsset::withCaps(double leftCap, double topCap) const {
    auto copy = std::make_shared<ImageAsset>(*this);
    copy->leftCap_ = std::max(0.0, leftCap);
    copy->topCap_ = std::max(0.0, topCap);
    return copy;
}

}  // namespace zorlet
