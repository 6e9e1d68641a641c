#include "ideas/IdeaListCell.h"

#include "ideas/IdeaService.h"
#include "ideas/IdeaUsersViewController.h"
#include "model/BaseData.h"
#include "model/ImageHelpers.h"
#include "platform/MainLoop.h"
#include "platform/TextLayout.h"
#include "platform/WeakSelf.h"
#include "ui/ImageViewWebCache.h"
#include "ui/NavigationController.h"

namespace zorlet {

namespace {

const Rect kPictureFrame(10, 5, 300, 190);
constexpr double kTextX = 24;
constexpr double kButtonY = 205;
constexpr const char* kPlaceholder = "idea_list_pic_loading";

Font textFont() {
    return Font::boldSystemFont(17);
}

}  // namespace

IdeaListCell::IdeaListCell() : TableViewCell(Style::Default, kIdentifier) {
    setId("IdeaListCell");
    setFrame(Rect(0, 0, 320, kHeight));
    setSelectionStyle(SelectionStyle::None);
    View& content = contentView();

    auto card = std::make_shared<ImageView>(ImageAsset::named("idea_item_bg"));
    card->setId("cardView");
    card->setFrame(Rect(5, 0, 310, kHeight - 5));
    content.addSubview(card);

    pictureView = std::make_shared<ImageView>(kPictureFrame);
    pictureView->setId("pictureView");
    pictureView->setClipsToBounds(true);
    content.addSubview(pictureView);

    textBackground = std::make_shared<View>(Rect(kPictureFrame.x(), kPictureFrame.maxY() - 60, 300, 60));
    textBackground->setId("textBackground");
    textBackground->setBackgroundColor(Color::white(0, 0.45));
    content.addSubview(textBackground);

    textLabel = std::make_shared<Label>(Rect(kTextX, kPictureFrame.maxY() - 30, kTextWidth, 25));
    textLabel->setId("textLabel");
    textLabel->setFont(textFont());
    textLabel->setNumberOfLines(0);
    textLabel->setLineBreakMode(LineBreakMode::WordWrap);
    content.addSubview(textLabel);

    categoryImageView = std::make_shared<ImageView>(Rect(18, 13, 30, 30));
    categoryImageView->setId("categoryImageView");
    content.addSubview(categoryImageView);

    usersButton = Button::create();
    usersButton->setId("usersButton");
    usersButton->setImage(ImageAsset::named("idea_users_icon"));
    usersButton->setTitleFont(Font::systemFont(13));
    usersButton->setTitleColor(Color::white(0.4));
    usersButton->setFrame(Rect(18, kButtonY, 120, 30));
    content.addSubview(usersButton);

    wantToButton = Button::create();
    wantToButton->setId("wantToButton");
    wantToButton->setBackgroundImage(ImageAsset::named("idea_want_btn"));
    wantToButton->setBackgroundImage(ImageAsset::named("idea_want_btn_disabled"), Disabled);
    wantToButton->setTitle("我想去");
    wantToButton->setTitle("已想去", Disabled);
    wantToButton->setTitleFont(Font::systemFont(14));
    wantToButton->setFrame(Rect(222, kButtonY, 80, 30));
    content.addSubview(wantToButton);
}

std::shared_ptr<IdeaListCell> IdeaListCell::cellFromNib() {
    auto cell = std::make_shared<IdeaListCell>();
    std::weak_ptr<IdeaListCell> weak = cell;
    cell->wantToButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto alive = weak.lock()) {
            alive->wantGo();
        }
    });
    cell->usersButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto alive = weak.lock()) {
            alive->showUsedUsers(false);
        }
    });
    return cell;
}

void IdeaListCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    ImageViewWebCache::cancelCurrentImageLoad(*pictureView);
}

void IdeaListCell::redrawn(const IdeaPtr& shownIdea) {
    idea = shownIdea;
    if (!idea) {
        return;
    }
    auto category = BaseData::getCategory(idea->categoryId);
    categoryImageView->setHidden(!category);
    if (category) {
        categoryImageView->setImage(ImageAsset::named(category->icon));
    }

    textBackground->setHidden(true);
    textLabel->setText(idea->content);
    textLabel->setTextColor(Color::blackColor());
    auto text = TextLayout::shared().measure(idea->content, textFont(), kTextWidth, kMaxTextHeight);
    textLabel->setFrame(
        Rect(textLabel->frame().x(), kPictureFrame.maxY() - text.height - 5, text.width, text.height));
    showPicture();

    wantToButton->setEnabled(!idea->hasUsed);
    usersButton->setHidden(idea->useCount < 1);
    if (idea->useCount >= 1) {
        std::string title = std::to_string(idea->useCount) + "人想去";
        usersButton->setTitle(title);
        usersButton->setTitle(title, Highlighted);
    }
}

void IdeaListCell::showPicture() {
    ImageViewWebCache::cancelCurrentImageLoad(*pictureView);
    if (idea->bigPic.empty()) {
        pictureView->setImage(ImageAsset::named(kPlaceholder));
        return;
    }
    auto weak = weakSelf(this);
    IdeaPtr shown = idea;
    ImageViewWebCache::setImageWithURL(
        *pictureView, idea->bigPic, kPlaceholder, [weak, shown](const ImagePtr& image) {
            auto alive = weak.lock();
            if (!alive || alive->idea != shown || !image) {
                return;
            }
            Size size = alive->pictureView->frame().size;
            if (auto cropped = imageByScalingAndCroppingForSize(*image, size.width * 2, size.height * 2)) {
                alive->pictureView->setImage(ImageAsset::fromImage(cropped));
            }
            // Over a picture the headline turns white on a darkened band.
            alive->textLabel->setTextColor(Color::whiteColor());
            alive->textBackground->setHidden(false);
        });
}

void IdeaListCell::wantGo() {
    IdeaPtr marked = idea;
    auto weak = weakSelf(this);
    IdeaService::postIdea(marked, [weak, marked] {
        auto alive = weak.lock();
        if (!alive || alive->idea != marked) {
            return;
        }
        alive->redrawn(marked);
        if (IdeaService::suggestsTakers(*marked)) {
            MainLoop::main().runAfter(kTakersDelay, [weak, marked] {
                auto later = weak.lock();
                auto owner = later ? later->ownerViewController.lock() : nullptr;
                NavigationController* navigation = owner ? owner->navigationController() : nullptr;
                // Only while the list is still what the user looks at.
                if (later && later->idea == marked && navigation != nullptr &&
                    navigation->topViewController() == owner.get()) {
                    later->showUsedUsers(true);
                }
            });
        }
    });
}

void IdeaListCell::showUsedUsers(bool dateTip) {
    goToUsedUsers(dateTip);
}

void IdeaListCell::goToUsedUsers(bool dateTip) {
    auto owner = ownerViewController.lock();
    NavigationController* navigation = owner ? owner->navigationController() : nullptr;
    if (navigation == nullptr || !idea) {
        return;
    }
    auto takers = std::make_shared<IdeaUsersViewController>();
    takers->idea = idea;
    takers->dateTip = dateTip;
    takers->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(takers, true);
}

}  // namespace zorlet
