#pragma once

#include "platform/WebImageLoader.h"

#include <functional>
#include <string>

namespace zorlet {

class ImageView;

// Web pictures in image views: the view shows a named placeholder until the
// picture of the URL arrives, then the picture (and the caller hears of it).
// A view has at most one load: a new one, or cancelCurrentImageLoad, drops
// the previous one, so a reused row never shows its previous record's picture.
class ImageViewWebCache {
public:
    using Success = std::function<void(const ImagePtr& image)>;
    using Failure = std::function<void(const std::string& reason)>;

    static void setImageWithURL(ImageView& view, const std::string& url, const std::string& placeholderName,
                                Success success = {}, Failure failure = {});
    static void cancelCurrentImageLoad(ImageView& view);
};

}  // namespace zorlet
