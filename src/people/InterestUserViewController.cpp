#include "people/InterestUserViewController.h"

#include "model/User.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "people/GenderColors.h"
#include "people/TaHomeViewController.h"
#include "platform/Analytics.h"
#include "ui/ImageView.h"
#include "ui/ImageViewWebCache.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "widgets/RoundedWebImage.h"

namespace zorlet {

namespace {

constexpr int kLogoTag = 1;
constexpr int kNicknameTag = 2;
constexpr int kInfoTag = 3;

// A row built in code: avatar, nickname in the gender's colour and the basic information.
TableViewCellPtr makeUserCell() {
    auto cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default,
                                                InterestUserViewController::kCellIdentifier);
    cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    auto selected = std::make_shared<View>(cell->bounds());
    selected->setBackgroundColor(Color::whiteColor());
    cell->setSelectedBackgroundView(selected);
    View& content = cell->contentView();
    auto line = std::make_shared<View>(Rect(0, 0, 320, 1));
    line->setBackgroundColor(Color::whiteColor());
    content.addSubview(line);
    auto logo = std::make_shared<ImageView>(Rect(10, 10, 40, 40));
    logo->setTag(kLogoTag);
    logo->setId("userLogoView");
    logo->setCornerRadius(RoundedWebImage::kCornerRadius);
    content.addSubview(logo);
    auto nickname = std::make_shared<Label>(Rect(60, 12, 150, 14));
    nickname->setTag(kNicknameTag);
    nickname->setId("nicknameLabel");
    nickname->setFont(Font::systemFont(14));
    content.addSubview(nickname);
    auto info = std::make_shared<Label>(Rect(60, 35, 200, 13));
    info->setTag(kInfoTag);
    info->setId("infoLabel");
    info->setFont(Font::systemFont(13));
    info->setTextColor(Color::white(0.5));
    content.addSubview(info);
    return cell;
}

}  // namespace

void InterestUserViewController::viewDidLoad() {
    setTitle(isInterest ? "我的关注" : "我的粉丝");
    view().setId("InterestUserViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    data = std::make_shared<ZLData>();
    listHttpRequestDelegate = makeListDelegate(data, User::kRecordClassName);
    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setSeparatorColor(Color::white(0.71));
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);
    EGORefreshHeaderViewController::viewDidLoad();
}

void InterestUserViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void InterestUserViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void InterestUserViewController::loadListDataWithPage(std::int64_t page) {
    auto request = HttpRequestSender::getRequestWithUrl(
        UrlUtils::urlStringWithUri(isInterest ? "home/interestList" : "home/interestMeList"),
        {{"page", pageOrFirst(page)}});
    sendListRequest(request, listHttpRequestDelegate);
}

int InterestUserViewController::numberOfRows(TableView&, int) {
    return data ? static_cast<int>(data->cellRows()) : 0;
}

TableViewCellPtr InterestUserViewController::cellForRow(TableView& table, IndexPath indexPath) {
    if (auto pager = pagerRowCell(data, table, indexPath)) {
        return pager;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    auto cell = table.dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = makeUserCell();
    }
    const auto& user = static_cast<const User&>(*data->objectAtIndex(row));
    View& content = cell->contentView();
    if (auto* logo = dynamic_cast<ImageView*>(content.viewWithTag(kLogoTag))) {
        RoundedWebImage::load(*logo, user.bigLogo, "face_loading");
    }
    if (auto* nickname = dynamic_cast<Label*>(content.viewWithTag(kNicknameTag))) {
        Color color = GenderColors::nickname(user.gender);
        nickname->setText(user.nickname);
        nickname->setTextColor(color);
        nickname->setHighlightedTextColor(color);
    }
    if (auto* info = dynamic_cast<Label*>(content.viewWithTag(kInfoTag))) {
        info->setText(user.basicInfo());
    }
    return cell;
}

double InterestUserViewController::heightForRow(TableView&, IndexPath indexPath) {
    return pagerRowHeight(data, indexPath).value_or(kRowHeight);
}

void InterestUserViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    if (selectPagerRow(data, indexPath)) {
        return;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    if (NavigationController* navigation = navigationController()) {
        auto home = std::make_shared<TaHomeViewController>();
        home->user = std::static_pointer_cast<User>(data->objectAtIndex(row));
        home->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(home, true);
    }
}

}  // namespace zorlet
