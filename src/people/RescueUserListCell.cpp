#include "people/RescueUserListCell.h"

#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "people/GenderColors.h"
#include "platform/Analytics.h"
#include "platform/TextLayout.h"
#include "session/UserContext.h"
#include "ui/Application.h"
#include "ui/ImageViewWebCache.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"
#include "widgets/OperationProgress.h"
#include "widgets/RoundedWebImage.h"

namespace zorlet {

namespace {

constexpr double kInfoMaxHeight = 40;

}  // namespace

RescueUserListCell::RescueUserListCell() : TableViewCell(Style::Default, kIdentifier) {
    setId("RescueUserListCell");
    setFrame(Rect(0, 0, 320, kHeight));
    View& content = contentView();
    userLogoView = std::make_shared<ImageView>(Rect(12, 12, 56, 56));
    userLogoView->setId("userLogoView");
    userLogoView->setCornerRadius(RoundedWebImage::kCornerRadius);
    content.addSubview(userLogoView);

    nicknameLabel = std::make_shared<Label>(Rect(80, 14, 150, 18));
    nicknameLabel->setId("nicknameLabel");
    nicknameLabel->setFont(Font::systemFont(15));
    nicknameLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    content.addSubview(nicknameLabel);

    infoLabel = std::make_shared<Label>(Rect(80, 38, 150, 16));
    infoLabel->setId("infoLabel");
    infoLabel->setFont(Font::systemFont(13));
    infoLabel->setTextColor(Color::white(0.5));
    infoLabel->setNumberOfLines(0);
    infoLabel->setLineBreakMode(LineBreakMode::CharacterWrap);
    content.addSubview(infoLabel);

    sendDateButton = Button::create();
    sendDateButton->setId("sendDateButton");
    sendDateButton->setTitle("邀请");
    sendDateButton->setTitle("已邀请", Disabled);
    sendDateButton->setTitleFont(Font::boldSystemFont(13));
    sendDateButton->setBackgroundImage(ImageAsset::named("list_date_btn"));
    sendDateButton->setFrame(Rect(240, 26, 68, 28));
    content.addSubview(sendDateButton);
}

std::shared_ptr<RescueUserListCell> RescueUserListCell::cellFromNib() {
    auto cell = std::make_shared<RescueUserListCell>();
    std::weak_ptr<RescueUserListCell> weak = cell;
    cell->sendDateButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto alive = weak.lock()) {
            alive->dateHim();
        }
    });
    return cell;
}

void RescueUserListCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    ImageViewWebCache::cancelCurrentImageLoad(*userLogoView);
}

void RescueUserListCell::redrawn(const UserPtr& shownUser) {
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
    Rect frame = infoLabel->frame();
    double height =
        TextLayout::shared()
            .measure(info, infoLabel->font(), frame.width(), kInfoMaxHeight, LineBreakMode::CharacterWrap)
            .height;
    infoLabel->setFrame(Rect(frame.origin, Size{frame.width(), height}));

    bool isViewer = user->uid == UserContext::getUid();
    sendDateButton->setHidden(isViewer);
    sendDateButton->setEnabled(!isViewer && !user->isBeDated);
}

void RescueUserListCell::dateHim() {
    if (!user) {
        return;
    }
    View* window = Application::shared().keyWindow();
    auto hud = OperationProgress::show(window, "操作中...");
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("dialog/v135/rescueUser"),
                                                         {{"uid", user->uid}, {"postContent", postContent}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    UserPtr invited = user;
    std::weak_ptr<Button> pressed = sendDateButton;
    request->setCompletionBlock([hud, invited, pressed](HttpRequest& done) {
        auto envelope = parseJson(done.responseString());
        if (envelope && HttpRequestSender::isSuccess(*envelope)) {
            Analytics::event("rescueUser");
            invited->isBeDated = true;
            if (auto button = pressed.lock()) {
                button->setEnabled(false);
            }
            if (hud) {
                OperationProgress::succeed(*hud, "发送成功，ta看到会开心的");
            }
            return;
        }
        OperationProgress::hide(hud);
        MessageShow::error(HttpRequestSender::failureText(envelope), Application::shared().keyWindow());
    });
    request->setFailedBlock([hud](HttpRequest& failed) {
        OperationProgress::hide(hud);
        HttpRequestDelegate::requestFailedHandle(failed);
    });
    request->startAsynchronous();
}

}  // namespace zorlet
