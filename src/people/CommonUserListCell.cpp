#include "people/CommonUserListCell.h"

#include "people/GenderColors.h"
#include "platform/TextLayout.h"
#include "ui/ImageViewWebCache.h"
#include "widgets/RoundedWebImage.h"

namespace zorlet {

namespace {

constexpr double kTextX = 80;
constexpr double kTextWidth = 220;

}  // namespace

CommonUserListCell::CommonUserListCell(std::string reuseIdentifier)
    : TableViewCell(Style::Default, std::move(reuseIdentifier)) {
    setId("CommonUserListCell");
    setFrame(Rect(0, 0, 320, kHeight));
    auto selected = std::make_shared<View>(bounds());
    selected->setBackgroundColor(Color::whiteColor());
    setSelectedBackgroundView(selected);
    View& content = contentView();

    userLogoView = std::make_shared<ImageView>(Rect(12, 12, 56, 56));
    userLogoView->setId("userLogoView");
    userLogoView->setCornerRadius(RoundedWebImage::kCornerRadius);
    content.addSubview(userLogoView);

    nicknameLabel = std::make_shared<Label>(Rect(kTextX, 14, kTextWidth, 18));
    nicknameLabel->setId("nicknameLabel");
    nicknameLabel->setFont(Font::systemFont(15));
    nicknameLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    content.addSubview(nicknameLabel);

    infoLabel = std::make_shared<Label>(Rect(kTextX, 38, kTextWidth, 16));
    infoLabel->setId("infoLabel");
    infoLabel->setFont(Font::systemFont(13));
    infoLabel->setTextColor(Color::white(0.5));
    infoLabel->setNumberOfLines(0);
    infoLabel->setLineBreakMode(LineBreakMode::CharacterWrap);
    content.addSubview(infoLabel);
}

std::shared_ptr<CommonUserListCell> CommonUserListCell::cellFromNib(std::string reuseIdentifier) {
    return std::make_shared<CommonUserListCell>(std::move(reuseIdentifier));
}

void CommonUserListCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    ImageViewWebCache::cancelCurrentImageLoad(*userLogoView);
}

void CommonUserListCell::redrawn(const UserPtr& shownUser) {
    user = shownUser;
    if (!user) {
        return;
    }
    RoundedWebImage::load(*userLogoView, user->bigLogo, "face_loading");
    Color color = GenderColors::nickname(user->gender);
    nicknameLabel->setText(user->nickname);
    nicknameLabel->setTextColor(color);
    nicknameLabel->setHighlightedTextColor(color);
    std::string info = user->basicInfo();
    infoLabel->setText(info);
    double height =
        TextLayout::shared()
            .measure(info, infoLabel->font(), kTextWidth, kInfoMaxHeight, LineBreakMode::CharacterWrap)
            .height;
    infoLabel->setFrame(Rect(kTextX, 38, kTextWidth, height));
}

}  // namespace zorlet
