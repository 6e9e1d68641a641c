#include "ui/ImageViewWebCache.h"

#include "platform/WeakSelf.h"
#include "ui/ImageView.h"

#include <unordered_map>

namespace zorlet {

namespace {

// The load of each view, keyed by address; an entry is only acted on when its
// load id still matches, so a view that died and a new one at the same address never mix.
std::unordered_map<const ImageView*, WebImageLoader::LoadId>& loads() {
    static std::unordered_map<const ImageView*, WebImageLoader::LoadId> table;
    return table;
}

}  // namespace

void ImageViewWebCache::setImageWithURL(ImageView& view, const std::string& url,
                                        const std::string& placeholderName, Success success,
                                        Failure failure) {
    cancelCurrentImageLoad(view);
    view.setImage(placeholderName.empty() ? nullptr : ImageAsset::named(placeholderName));
    if (url.empty()) {
        return;  // nothing to load: the placeholder stays
    }
    const ImageView* key = &view;
    auto weak = weakSelf(&view);
    auto id = std::make_shared<WebImageLoader::LoadId>(0);
    auto settle = [key, id] {
        auto it = loads().find(key);
        if (it != loads().end() && it->second == *id) {
            loads().erase(it);
            return true;
        }
        return false;
    };
    *id = WebImageLoader::shared().downloadWithURL(
        url,
        [weak, settle, success](const ImagePtr& image) {
            auto alive = weak.lock();
            if (!settle() || !alive) {
                return;
            }
            alive->setImage(ImageAsset::fromImage(image));
            if (success) {
                success(image);
            }
        },
        [weak, settle, failure](const std::string& reason) {
            if (!settle() || weak.expired()) {
                return;
            }
            if (failure) {
                failure(reason);
            }
        });
    loads()[key] = *id;
}

void ImageViewWebCache::cancelCurrentImageLoad(ImageView& view) {
    auto it = loads().find(&view);
    if (it == loads().end()) {
        return;
    }
    WebImageLoader::shared().cancel(it->second);
    loads().erase(it);
}

}  // namespace zorlet
