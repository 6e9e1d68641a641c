#include "messaging/SmsListCell.h"

#include "model/RelativeTime.h"
#include "people/TaHomeViewController.h"
#include "platform/TextLayout.h"
#include "ui/GestureRecognizer.h"
#include "ui/ImageViewWebCache.h"
#include "ui/NavigationController.h"
#include "widgets/RoundedWebImage.h"

#include <algorithm>
#include <chrono>

namespace zorlet {

namespace {

const Color kMaleColor{0.24, 0.51, 0.76, 1};
const Color kFemaleColor{1.0, 0.4, 0.6, 1};
constexpr double kTextX = 78;
constexpr double kLineHeight = 16;

SystemTime fromSeconds(double seconds) {
    return SystemTime(
        std::chrono::duration_cast<SystemTime::duration>(std::chrono::duration<double>(seconds)));
}

}  // namespace

SmsListCell::SmsListCell() : TableViewCell(Style::Default, kIdentifier) {
    setId("SmsListCell");
    setFrame(Rect(0, 0, kRowWidth, kHeight));
    View& content = contentView();

    userLogoView = std::make_shared<ImageView>(Rect(10, 8, 54, 54));
    userLogoView->setId("userLogoView");
    userLogoView->setCornerRadius(RoundedWebImage::kCornerRadius);
    content.addSubview(userLogoView);

    targetImageView = std::make_shared<ImageView>(Rect(kTextX, 14, 14, 14));
    targetImageView->setId("targetImageView");
    content.addSubview(targetImageView);

    nicknameLabel = std::make_shared<Label>(Rect(kTextX + 18, 12, 140, 18));
    nicknameLabel->setId("nicknameLabel");
    nicknameLabel->setFont(Font::systemFont(14));
    nicknameLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    content.addSubview(nicknameLabel);

    infoLabel = std::make_shared<Label>(Rect(kTextX, 30, 0, kLineHeight));
    infoLabel->setId("infoLabel");
    content.addSubview(infoLabel);

    latestContentLabel = std::make_shared<Label>(Rect(kTextX, 38, kTimeRightEdge - kTextX, kLineHeight));
    latestContentLabel->setId("latestContentLabel");
    latestContentLabel->setFont(Font::systemFont(12));
    latestContentLabel->setTextColor(Color::blackColor());
    latestContentLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    content.addSubview(latestContentLabel);

    timeLabel = std::make_shared<Label>(Rect(kTimeRightEdge - kTimeMaxWidth, 12, kTimeMaxWidth, kLineHeight));
    timeLabel->setId("timeLabel");
    timeLabel->setFont(Font::systemFont(12));
    timeLabel->setTextColor(Color::white(0.71));
    timeLabel->setTextAlignment(TextAlignment::Right);
    content.addSubview(timeLabel);
}

std::shared_ptr<SmsListCell> SmsListCell::cellFromNib() {
    auto cell = std::make_shared<SmsListCell>();
    auto selected = std::make_shared<View>(cell->bounds());
    selected->setBackgroundColor(Color::white(0.96));
    cell->setSelectedBackgroundView(selected);
    std::weak_ptr<SmsListCell> weak = cell;
    cell->userLogoView->addGestureRecognizer(GestureRecognizer::tap([weak](GestureRecognizer&) {
        if (auto alive = weak.lock()) {
            alive->logoClick();
        }
    }));
    return cell;
}

void SmsListCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    ImageViewWebCache::cancelCurrentImageLoad(*userLogoView);
}

void SmsListCell::redrawn(const DialogPtr& shownDialog) {
    dialog = shownDialog;
    if (!dialog) {
        return;
    }
    const User* target = dialog->targetUser.get();
    RoundedWebImage::load(*userLogoView, target ? target->bigLogo : std::string(), "face_loading");
    targetImageView->setImage(ImageAsset::named(dialog->isSendToMe() ? "tasaytome.png" : "isaytota.png"));

    nicknameLabel->setText(target ? target->nickname : std::string());
    Color nameColor = target && target->gender != 0 ? kMaleColor : kFemaleColor;
    nicknameLabel->setTextColor(nameColor);
    nicknameLabel->setHighlightedTextColor(nameColor);

    std::string time = showBefore(fromSeconds(dialog->createTime));
    timeLabel->setText(time);
    timeLabel->setHighlightedTextColor(Color::white(0.71));
    double width = std::min(kTimeMaxWidth, TextLayout::shared().measure(time, timeLabel->font(), 0).width);
    timeLabel->setFrame(Rect(kTimeRightEdge - width, timeLabel->frame().y(), width, kLineHeight));

    latestContentLabel->setText(quoted(dialog->latestContent));
}

void SmsListCell::logoClick() {
    auto owner = ownerViewController.lock();
    if (!owner || !dialog || !dialog->targetUser) {
        return;
    }
    if (NavigationController* navigation = owner->navigationController()) {
        auto home = std::make_shared<TaHomeViewController>();
        home->user = dialog->targetUser;
        home->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(home, true);
    }
}

}  // namespace zorlet
