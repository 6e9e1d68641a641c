#include "ideas/IdeaUserListCell.h"

#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/ImageViewWebCache.h"
#include "ui/ProgressHUD.h"
#include "widgets/OperationProgress.h"
#include "widgets/RoundedWebImage.h"

namespace zorlet {

namespace {

const Color kMaleColor{0.24, 0.51, 0.76, 1};
const Color kFemaleColor{1.0, 0.4, 0.6, 1};

}  // namespace

IdeaUserListCell::IdeaUserListCell() : TableViewCell(Style::Default, kIdentifier) {
    setId("IdeaUserListCell");
    setFrame(Rect(0, 0, 320, kHeight));
    View& content = contentView();

    auto background = std::make_shared<ImageView>(ImageAsset::named("zber_item_bg.png"));
    background->setId("backgroundImageView");
    background->setFrame(Rect(0, 0, 320, kHeight));
    content.addSubview(background);

    logoView = std::make_shared<ImageView>(Rect(12, 12, 56, 56));
    logoView->setId("logoView");
    logoView->setCornerRadius(RoundedWebImage::kCornerRadius);
    content.addSubview(logoView);

    nicknameLabel = std::make_shared<Label>(Rect(80, 18, 140, 18));
    nicknameLabel->setId("nicknameLabel");
    nicknameLabel->setFont(Font::systemFont(14));
    nicknameLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    content.addSubview(nicknameLabel);

    infoLabel = std::make_shared<Label>(Rect(80, 44, 150, 16));
    infoLabel->setId("infoLabel");
    infoLabel->setFont(Font::systemFont(12));
    infoLabel->setTextColor(Color::white(0.5));
    infoLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    content.addSubview(infoLabel);

    dateButton = Button::create();
    dateButton->setId("dateButton");
    dateButton->setTitle("约ta");
    dateButton->setTitle("已约", Disabled);
    dateButton->setTitleFont(Font::systemFont(13));
    dateButton->setBackgroundImage(ImageAsset::named("list_date_btn"));
    dateButton->setFrame(Rect(240, 25, 64, 30));
    content.addSubview(dateButton);
}

std::shared_ptr<IdeaUserListCell> IdeaUserListCell::cellFromNib() {
    auto cell = std::make_shared<IdeaUserListCell>();
    std::weak_ptr<IdeaUserListCell> weak = cell;
    cell->dateButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto alive = weak.lock()) {
            alive->dateHim();
        }
    });
    return cell;
}

void IdeaUserListCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    ImageViewWebCache::cancelCurrentImageLoad(*logoView);
}

void IdeaUserListCell::redrawn(const IdeaUserPtr& shownIdeaUser) {
    ideaUser = shownIdeaUser;
    if (!ideaUser || !ideaUser->user) {
        return;
    }
    const User& user = *ideaUser->user;
    RoundedWebImage::load(*logoView, user.bigLogo, "face_loading");
    nicknameLabel->setText(user.nickname);
    nicknameLabel->setTextColor(user.gender != 0 ? kMaleColor : kFemaleColor);
    infoLabel->setText(user.basicInfo());
    bool isMe = user.uid == UserContext::getUid();
    dateButton->setHidden(isMe);
    dateButton->setEnabled(!isMe && !user.isBeDated);
}

void IdeaUserListCell::dateHim() {
    if (!ideaUser || !ideaUser->user) {
        return;
    }
    auto host = listView.lock();
    auto hud = OperationProgress::show(host.get(), "操作中...");
    auto request = HttpRequestSender::postRequestWithUrl(
        UrlUtils::urlStringWithUri("dialog/v133/sendDate"),
        {{"ideaId", ideaUser->ideaId}, {"targetUid", ideaUser->user->uid}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    UserPtr invited = ideaUser->user;
    auto weakCell = weakSelf(this);
    std::weak_ptr<View> weakList = listView;
    request->setCompletionBlock([hud, invited, weakCell, weakList](HttpRequest& done) {
        auto envelope = parseJson(done.responseString());
        if (envelope && HttpRequestSender::isSuccess(*envelope)) {
            invited->isBeDated = true;
            // The row may show another taker by now.
            auto cell = weakCell.lock();
            if (cell && cell->ideaUser && cell->ideaUser->user == invited) {
                cell->dateButton->setEnabled(false);
            }
            if (hud) {
                OperationProgress::succeed(*hud, "发送成功，ta看到会开心的");
            }
            return;
        }
        OperationProgress::hide(hud);
        MessageShow::error(HttpRequestSender::failureText(envelope), weakList.lock().get());
    });
    request->setFailedBlock([hud](HttpRequest& failed) {
        OperationProgress::hide(hud);
        HttpRequestDelegate::requestFailedHandle(failed);
    });
    request->startAsynchronous();
}

}  // namespace zorlet
