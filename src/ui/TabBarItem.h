#pragma once

#include "ui/ImageAsset.h"

#include <string>

namespace zorlet {

// A screen's entry in the tab bar.
class TabBarItem {
public:
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const ImageAssetPtr& image() const { return image_; }
    void setImage(ImageAssetPtr image) { image_ = std::move(image); }
    const ImageAssetPtr& selectedImage() const { return selectedImage_; }
    void setSelectedImage(ImageAssetPtr image) { selectedImage_ = std::move(image); }
    // Shown in a red bubble; empty means no badge.
    const std::string& badgeValue() const { return badgeValue_; }
    void setBadgeValue(std::string value) { badgeValue_ = std::move(value); }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

private:
    std::string title_;
    ImageAssetPtr image_;
    ImageAssetPtr selectedImage_;
    std::string badgeValue_;
    int tag_ = 0;
    bool enabled_ = true;
};

}  // namespace zorlet
