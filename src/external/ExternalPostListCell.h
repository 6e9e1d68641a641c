#pragma once

#include "model/ExternalPost.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableViewCell.h"

#include <memory>

namespace zorlet {

// A place in a place list: its photo, name, address, rating stars and how far away it is.
class ExternalPostListCell : public TableViewCell {
public:
    static constexpr const char* kIdentifier = "ExternalPostListCellIdentifier";
    static constexpr double kHeight = 100;
    static constexpr const char* kPlaceholder = "idea_list_pic_loading";

    ExternalPostListCell();
    const char* typeName() const override { return "ExternalPostListCell"; }

    static std::shared_ptr<ExternalPostListCell> cellFromNib();
    static double heightForCell(const ExternalPost&) { return kHeight; }

    void setBackground();
    void redrawn(const ExternalPostPtr& place);
    void prepareForReuse() override;

    ExternalPostPtr externalPost;
    std::shared_ptr<ImageView> photoImageView;
    std::shared_ptr<Label> nameLabel;
    std::shared_ptr<Label> addressLabel;
    std::shared_ptr<Label> distanceLabel;
    std::shared_ptr<ImageView> ratingImageView;

private:
    void showPhoto();
};

}  // namespace zorlet
