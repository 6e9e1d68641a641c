#include "external/ExternalPostListCell.h"

#include "model/ImageHelpers.h"
#include "platform/WeakSelf.h"
#include "ui/ImageAsset.h"
#include "ui/ImageViewWebCache.h"

namespace zorlet {

ExternalPostListCell::ExternalPostListCell() : TableViewCell(Style::Default, kIdentifier) {
    setId("ExternalPostListCell");
    setFrame(Rect(0, 0, 320, kHeight));
    View& content = contentView();

    photoImageView = std::make_shared<ImageView>(Rect(10, 10, 80, 80));
    photoImageView->setId("photoImageView");
    photoImageView->setClipsToBounds(true);
    content.addSubview(photoImageView);

    nameLabel = std::make_shared<Label>(Rect(100, 10, 210, 20));
    nameLabel->setId("nameLabel");
    nameLabel->setFont(Font::boldSystemFont(15));
    nameLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    content.addSubview(nameLabel);

    ratingImageView = std::make_shared<ImageView>(Rect(100, 36, 100, 20));
    ratingImageView->setId("ratingImageView");
    content.addSubview(ratingImageView);

    distanceLabel = std::make_shared<Label>(Rect(210, 36, 100, 20));
    distanceLabel->setId("distanceLabel");
    distanceLabel->setFont(Font::systemFont(12));
    distanceLabel->setTextColor(Color::white(0.5));
    distanceLabel->setTextAlignment(TextAlignment::Right);
    content.addSubview(distanceLabel);

    addressLabel = std::make_shared<Label>(Rect(100, 60, 210, 32));
    addressLabel->setId("addressLabel");
    addressLabel->setFont(Font::systemFont(12));
    addressLabel->setTextColor(Color::white(0.4));
    addressLabel->setNumberOfLines(2);
    addressLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    content.addSubview(addressLabel);
}

std::shared_ptr<ExternalPostListCell> ExternalPostListCell::cellFromNib() {
    auto cell = std::make_shared<ExternalPostListCell>();
    cell->setBackground();
    return cell;
}

void ExternalPostListCell::setBackground() {
    setBackgroundImage(ImageAsset::named("list_cell_bg"));
}

void ExternalPostListCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    ImageViewWebCache::cancelCurrentImageLoad(*photoImageView);
    ImageViewWebCache::cancelCurrentImageLoad(*ratingImageView);
}

void ExternalPostListCell::redrawn(const ExternalPostPtr& place) {
    externalPost = place;
    if (!externalPost) {
        return;
    }
    showPhoto();
    nameLabel->setText(externalPost->name);
    addressLabel->setText(externalPost->address);
    distanceLabel->setText(ExternalPost::distanceText(externalPost->distance));
    if (!externalPost->ratingImgUrl.empty()) {
        ImageViewWebCache::cancelCurrentImageLoad(*ratingImageView);
        ImageViewWebCache::setImageWithURL(*ratingImageView, externalPost->ratingImgUrl, {});
    }
}

void ExternalPostListCell::showPhoto() {
    ImageViewWebCache::cancelCurrentImageLoad(*photoImageView);
    if (externalPost->photoUrl.empty()) {
        photoImageView->setImage(ImageAsset::named(kPlaceholder));
        return;
    }
    auto weak = weakSelf(this);
    ExternalPostPtr shown = externalPost;
    ImageViewWebCache::setImageWithURL(
        *photoImageView, externalPost->photoUrl, kPlaceholder, [weak, shown](const ImagePtr& image) {
            auto alive = weak.lock();
            if (!alive || alive->externalPost != shown || !image) {
                return;
            }
            Size size = alive->photoImageView->frame().size;
            if (auto cropped = imageByScalingAndCroppingForSize(*image, size.width * 2, size.height * 2)) {
                alive->photoImageView->setImage(ImageAsset::fromImage(cropped));
            }
        });
}

}  // namespace zorlet
