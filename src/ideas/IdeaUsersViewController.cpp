#include "ideas/IdeaUsersViewController.h"

#include "ideas/IdeaUserListCell.h"
#include "model/IdeaUser.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "people/TaHomeViewController.h"
#include "platform/Analytics.h"
#include "session/UserContext.h"
#include "ui/BarButtonItem.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/TabBarController.h"

namespace zorlet {

namespace {

constexpr Duration kDateTipTime{2000};

std::shared_ptr<Label> headerLabel(const std::string& id, const std::string& text, Rect frame,
                                   TextAlignment alignment) {
    auto label = std::make_shared<Label>(frame);
    label->setId(id);
    label->setText(text);
    label->setFont(Font::systemFont(12));
    label->setTextColor(Color::white(0.35));
    label->setTextAlignment(alignment);
    label->setLineBreakMode(LineBreakMode::TailTruncation);
    return label;
}

}  // namespace

void IdeaUsersViewController::viewDidLoad() {
    view().setId("IdeaUsersViewController");
    Analytics::event("enterIdeaUsers");
    data = std::make_shared<ZLData>();
    listHttpRequestDelegate = makeListDelegate(data, IdeaUser::kRecordClassName);

    segmentedControl = CustomSegmentedControl::create(2, Size{65, 30}, nullptr, kSameCity, this);
    segmentedControl->setId("segmentedControl");
    segmentedControl->dimAllButtonsExcept(*segmentedControl->buttons().front());
    navigationItem().setTitleView(segmentedControl);

    genderButtonView = GenderButton::create(GenderButton::kAll);
    genderButtonView->setId("genderButton");
    genderButtonView->setDelegate(this);
    navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(genderButtonView));

    view().setBackgroundImage(ImageAsset::named("app_bg"));
    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setSeparatorStyle(TableView::SeparatorStyle::None);
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);
    EGORefreshHeaderViewController::viewDidLoad();

    if (dateTip) {
        auto tip = ProgressHUD::showHUDAddedTo(&view(), true);
        tip->setId("dateTip");
        tip->setMode(ProgressHUD::Mode::Text);
        tip->setLabelText(kDateTipText);
        tip->setRemoveFromSuperViewOnHide(true);
        tip->hide(true, kDateTipTime);
    }
}

void IdeaUsersViewController::viewWillAppear(bool) {
    // An invitation sent from a row changed the shared user.
    if (data && tableView) {
        tableView->reloadData();
    }
    Analytics::beginLogPageView(className());
}

void IdeaUsersViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

Json IdeaUsersViewController::listParams(std::int64_t page) const {
    Json params = {{"ideaId", idea ? idea->ideaId : 0}, {"page", pageOrFirst(page)}};
    if (!segmentedControl || segmentedControl->tag() == kSameCity) {
        auto me = UserContext::getUser();
        params["cityId"] = me ? me->cityId : 0;
    }
    int gender = genderButtonView ? genderButtonView->tag() : GenderButton::kAll;
    if (gender == GenderButton::kFemale || gender == GenderButton::kMale) {
        params["gender"] = gender;
    }
    return params;
}

void IdeaUsersViewController::loadListDataWithPage(std::int64_t page) {
    auto request =
        HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("idea/users"), listParams(page));
    sendListRequest(request, listHttpRequestDelegate);
}

std::string IdeaUsersViewController::sameCityText() const {
    auto total = data && data->pager() ? data->pager()->totalResults : 0;
    return "同城" + std::to_string(total) + "人想去";
}

std::string IdeaUsersViewController::nationwideText() const {
    return "全国共" + std::to_string(idea ? idea->useCount : 0) + "人";
}

ViewPtr IdeaUsersViewController::viewForHeader(TableView& table, int) {
    double width = table.bounds().width();
    auto header = std::make_shared<View>(Rect(0, 0, width, kHeaderHeight));
    header->setId("takersHeader");
    header->setBackgroundColor(Color::white(0.95, 0.95));
    header->addSubview(
        headerLabel("sameCityLabel", sameCityText(), Rect(10, 9, 95, 17), TextAlignment::Left));
    header->addSubview(headerLabel("contentLabel", idea ? idea->content : std::string(),
                                   Rect(105, 9, width - 210, 17), TextAlignment::Center));
    header->addSubview(
        headerLabel("nationwideLabel", nationwideText(), Rect(width - 105, 9, 95, 17), TextAlignment::Right));
    return header;
}

int IdeaUsersViewController::numberOfRows(TableView&, int) {
    return data ? static_cast<int>(data->cellRows()) : 0;
}

TableViewCellPtr IdeaUsersViewController::cellForRow(TableView& table, IndexPath indexPath) {
    if (auto pager = pagerRowCell(data, table, indexPath)) {
        return pager;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    auto cell =
        std::dynamic_pointer_cast<IdeaUserListCell>(table.dequeueReusableCell(IdeaUserListCell::kIdentifier));
    if (!cell) {
        cell = IdeaUserListCell::cellFromNib();
    }
    cell->listView = view().weak_from_this();
    cell->redrawn(std::static_pointer_cast<IdeaUser>(data->objectAtIndex(row)));
    return cell;
}

double IdeaUsersViewController::heightForRow(TableView&, IndexPath indexPath) {
    if (auto height = pagerRowHeight(data, indexPath)) {
        return *height;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    return IdeaUserListCell::heightForCell(static_cast<const IdeaUser&>(*data->objectAtIndex(row)));
}

void IdeaUsersViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    auto row = static_cast<std::size_t>(indexPath.row);
    table.deselectRow(indexPath, true);
    if (selectPagerRow(data, indexPath)) {
        return;
    }
    auto taker = std::static_pointer_cast<IdeaUser>(data->objectAtIndex(row));
    NavigationController* navigation = navigationController();
    if (navigation == nullptr || !taker->user) {
        return;
    }
    auto home = std::make_shared<TaHomeViewController>();
    home->user = taker->user;
    home->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(home, true);
}

std::shared_ptr<Button> IdeaUsersViewController::buttonFor(CustomSegmentedControl&, std::size_t index) {
    static const char* const titles[] = {"同城", "全国"};
    auto button = Button::create();
    button->setId("segment" + std::to_string(index));
    button->setTitle(index < 2 ? titles[index] : "");
    button->setBackgroundImage(ImageAsset::named("top_nav_menu_btn_link"));
    button->setBackgroundImage(ImageAsset::named("top_nav_menu_btn_active"), Selected);
    button->setFrame(Rect(0, 0, 65, 30));
    return button;
}

void IdeaUsersViewController::touchDownAtSegmentIndex(std::size_t index) {
    if (!segmentedControl || static_cast<int>(index) == segmentedControl->tag()) {
        return;
    }
    segmentedControl->setTag(static_cast<int>(index));
    autoRefresh();
}

View* IdeaUsersViewController::actionSheetShowInView() {
    if (TabBarController* tabs = tabBarController()) {
        return &tabs->view();
    }
    return &view();
}

void IdeaUsersViewController::genderButton(GenderButton&, int) {
    autoRefresh();
}

}  // namespace zorlet
