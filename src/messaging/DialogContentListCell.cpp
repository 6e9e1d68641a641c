#include "messaging/DialogContentListCell.h"

#include "messaging/DialogContentViewController.h"
#include "model/ImageHelpers.h"
#include "model/RelativeTime.h"
#include "platform/TextLayout.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/GestureRecognizer.h"
#include "ui/ImageViewWebCache.h"
#include "widgets/RoundedWebImage.h"

#include <algorithm>
#include <chrono>

namespace zorlet {

namespace {

constexpr double kMyInset = 10;
constexpr double kHisInset = 15;
constexpr double kBubblePadding = 25;
constexpr double kTextTop = 10;

Font messageFont() {
    return Font::systemFont(14);
}

SystemTime fromSeconds(double seconds) {
    return SystemTime(
        std::chrono::duration_cast<SystemTime::duration>(std::chrono::duration<double>(seconds)));
}

template <typename Action>
std::shared_ptr<GestureRecognizer> tapOn(const std::shared_ptr<DialogContentListCell>& cell, Action action) {
    std::weak_ptr<DialogContentListCell> weak = cell;
    return GestureRecognizer::tap([weak, action](GestureRecognizer&) {
        if (auto alive = weak.lock()) {
            ((*alive).*action)();
        }
    });
}

}  // namespace

DialogContentListCell::DialogContentListCell() : TableViewCell(Style::Default, kIdentifier) {
    setId("DialogContentListCell");
    setFrame(Rect(0, 0, kRowWidth, 80));
    setSelectionStyle(SelectionStyle::None);
    View& content = contentView();

    hisLogoView = std::make_shared<ImageView>(Rect(10, kBubbleY, kLogoSide, kLogoSide));
    hisLogoView->setId("hisLogoView");
    hisLogoView->setCornerRadius(RoundedWebImage::kCornerRadius);
    content.addSubview(hisLogoView);

    myLogoView =
        std::make_shared<ImageView>(Rect(kRowWidth - 10 - kLogoSide, kBubbleY, kLogoSide, kLogoSide));
    myLogoView->setId("myLogoView");
    myLogoView->setCornerRadius(RoundedWebImage::kCornerRadius);
    content.addSubview(myLogoView);

    bubbleView = std::make_shared<View>(Rect(kHisBubbleX, kBubbleY, 100, 40));
    bubbleView->setId("bubbleView");
    content.addSubview(bubbleView);

    contentBgView = std::make_shared<ImageView>(bubbleView->bounds());
    contentBgView->setId("contentBgView");
    bubbleView->addSubview(contentBgView);

    imageView = std::make_shared<ImageView>(Rect(kHisInset, kTextTop, kThumbnailSide, kThumbnailSide));
    imageView->setId("imageView");
    imageView->setCornerRadius(RoundedWebImage::kCornerRadius);
    bubbleView->addSubview(imageView);

    dialogContentTextView = std::make_shared<Label>(Rect(kHisInset, kTextTop, kTextWidth, 20));
    dialogContentTextView->setId("dialogContentTextView");
    dialogContentTextView->setFont(messageFont());
    dialogContentTextView->setTextColor(Color::blackColor());
    dialogContentTextView->setNumberOfLines(0);
    dialogContentTextView->setLineBreakMode(LineBreakMode::WordWrap);
    bubbleView->addSubview(dialogContentTextView);

    warning = Button::create();
    warning->setId("warning");
    warning->setFrame(Rect(0, 0, kStateIconSide, kStateIconSide));
    warning->setHidden(true);
    content.addSubview(warning);

    timeLabel = std::make_shared<Label>(Rect(kHisBubbleX, 0, 200, kTimeHeight));
    timeLabel->setId("timeLabel");
    timeLabel->setFont(Font::systemFont(11));
    timeLabel->setTextColor(Color::white(0.6));
    content.addSubview(timeLabel);
}

std::shared_ptr<DialogContentListCell> DialogContentListCell::cellFromNib() {
    auto cell = std::make_shared<DialogContentListCell>();
    cell->hisLogoView->addGestureRecognizer(tapOn(cell, &DialogContentListCell::logoClick));
    cell->imageView->addGestureRecognizer(tapOn(cell, &DialogContentListCell::imageClick));
    std::weak_ptr<DialogContentListCell> weak = cell;
    cell->warning->addTarget(TouchUpInside, [weak](Control&) {
        if (auto alive = weak.lock()) {
            alive->warningClick();
        }
    });
    return cell;
}

Size DialogContentListCell::textSize(const std::string& content) {
    if (content.empty()) {
        return Size{0, 0};
    }
    auto measured = TextLayout::shared().measure(content, messageFont(), kTextWidth, kMaxTextHeight,
                                                 LineBreakMode::WordWrap);
    return Size{measured.width, measured.height};
}

double DialogContentListCell::heightForCell(const DialogContent& message) {
    return textSize(message.content).height + (message.hasImg ? kThumbnailSide + 10 : 0) + 62;
}

std::string DialogContentListCell::stateImageName(int sendStatus) {
    switch (sendStatus) {
        case DialogContent::Waiting:
            return "waiting_icon";
        case DialogContent::Sending:
            return "sending_icon";
        case DialogContent::Failure:
            return "failure_icon";
        default:
            return {};
    }
}

void DialogContentListCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    ImageViewWebCache::cancelCurrentImageLoad(*hisLogoView);
    ImageViewWebCache::cancelCurrentImageLoad(*myLogoView);
    ImageViewWebCache::cancelCurrentImageLoad(*imageView);
}

void DialogContentListCell::redrawn(const DialogContentPtr& message) {
    dialogContent = message;
    if (!dialogContent) {
        return;
    }
    isMe = dialogContent->senderUid == UserContext::getUid();
    redrawnLogo();
    redrawnDialogText();
    redrawnTime();
}

void DialogContentListCell::redrawnLogo() {
    myLogoView->setHidden(!isMe);
    hisLogoView->setHidden(isMe);
    if (isMe) {
        auto me = UserContext::getUser();
        RoundedWebImage::load(*myLogoView, me ? me->bigLogo : std::string(), "face_loading");
    } else {
        RoundedWebImage::load(*hisLogoView, targetUser ? targetUser->bigLogo : std::string(), "face_loading");
    }
}

void DialogContentListCell::showThumbnail(const ImagePtr& picture) {
    Size size = imageView->frame().size;
    auto cropped =
        picture ? imageByScalingAndCroppingForSize(*picture, size.width * 2, size.height * 2) : nullptr;
    auto rounded = cropped ? createRoundedRectImage(*cropped, RoundedWebImage::kCornerRadius) : nullptr;
    imageView->setImage(rounded ? ImageAsset::fromImage(rounded) : ImageAsset::named("face_loading"));
}

void DialogContentListCell::redrawnDialogText() {
    const DialogContent& message = *dialogContent;
    Size text = textSize(message.content);
    double inset = isMe ? kMyInset : kHisInset;

    imageView->setHidden(!message.hasImg);
    ImageViewWebCache::cancelCurrentImageLoad(*imageView);
    if (message.hasImg) {
        imageView->setFrame(Rect(inset, kTextTop, kThumbnailSide, kThumbnailSide));
        if (message.image) {
            showThumbnail(message.image);
        } else {
            imageView->setImage(ImageAsset::named("face_loading"));
            if (!message.imgUrl.empty()) {
                auto weak = weakSelf(this);
                DialogContentPtr shown = dialogContent;
                ImageViewWebCache::setImageWithURL(*imageView, message.imgUrl, "face_loading",
                                                   [weak, shown](const ImagePtr& picture) {
                                                       // The picture belongs to the message, even when this
                                                       // row now shows another.
                                                       shown->image = picture;
                                                       auto alive = weak.lock();
                                                       if (alive && alive->dialogContent == shown) {
                                                           alive->showThumbnail(picture);
                                                       }
                                                   });
            }
        }
    }

    double textTop = message.hasImg ? kThumbnailSide + 20 : kTextTop;
    dialogContentTextView->setText(message.content);
    dialogContentTextView->setFrame(Rect(inset, textTop, text.width, text.height));

    double width = message.hasImg ? std::max(text.width, kThumbnailSide) : text.width;
    double bubbleWidth = width + kBubblePadding;
    double bubbleHeight = text.height + 20 + (message.hasImg ? kThumbnailSide + 10 : 0);
    double bubbleX = isMe ? kMyBubbleRight - bubbleWidth : kHisBubbleX;
    bubbleView->setFrame(Rect(bubbleX, bubbleView->frame().y(), bubbleWidth, bubbleHeight));
    contentBgView->setFrame(bubbleView->bounds());
    // The toolkit stretches the whole picture; the caps (5/8 left, 20 top) are the artwork's concern.
    contentBgView->setImage(ImageAsset::named(isMe ? "my_send_txt_bg.png" : "ta_send_txt_bg.png"));

    std::string state = stateImageName(message.sendStatus);
    warning->setHidden(state.empty());
    if (!state.empty()) {
        warning->setImage(ImageAsset::named(state));
        warning->setFrame(Rect(bubbleX - 10 - kStateIconSide,
                               bubbleView->frame().y() + (bubbleHeight - kStateIconSide) / 2, kStateIconSide,
                               kStateIconSide));
    }
}

void DialogContentListCell::redrawnTime() {
    timeLabel->setText(showBefore(fromSeconds(dialogContent->createTime)));
    double x = isMe ? bubbleView->frame().maxX() - timeLabel->frame().width() : kHisBubbleX;
    timeLabel->setTextAlignment(isMe ? TextAlignment::Right : TextAlignment::Left);
    timeLabel->setFrame(Rect(x, bubbleView->frame().maxY() + 10, timeLabel->frame().width(), kTimeHeight));
}

void DialogContentListCell::logoClick() {
    if (auto owner = ownerViewController.lock()) {
        owner->openTargetHome();
    }
}

void DialogContentListCell::imageClick() {
    if (auto owner = ownerViewController.lock(); owner && dialogContent) {
        owner->showWholeImage(dialogContent);
    }
}

void DialogContentListCell::warningClick() {
    if (auto owner = ownerViewController.lock();
        owner && dialogContent && dialogContent->sendStatus == DialogContent::Failure) {
        owner->failureIconClick(dialogContent);
    }
}

}  // namespace zorlet
