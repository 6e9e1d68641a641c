#include "external/ExternalPostListViewController.h"

#include "external/ExternalPostDetailViewController.h"
#include "external/ExternalPostListCell.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/ResponseEnvelope.h"
#include "net/UrlUtils.h"
#include "people/SendPostBarButtonItem.h"
#include "people/UserViewController.h"
#include "platform/Analytics.h"
#include "platform/WeakSelf.h"
#include "ui/Application.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"
#include "widgets/OperationProgress.h"

namespace zorlet {

// Page answers go into the rows as for every paged list. A refused answer
// leaves the rows as they were and tells the user why, as any other request
// of the app does. A load that replaces the list keeps the key window covered
// until it ends, whichever way it ends; the request keeps this delegate alive,
// so the window is uncovered even when the screen has gone meanwhile.
class ExternalPostListViewController::PlacePagesDelegate final : public ListHttpRequestDelegate {
public:
    void coverWindow(const HttpRequestPtr& request) {
        uncoverWindow();
        coveredRequest_ = request;
        hud_ = OperationProgress::show(Application::shared().keyWindow(), kLoadingText);
    }
    void uncoverWindow() {
        if (auto hud = hud_.lock()) {
            hud->hide(true);
        }
        hud_.reset();
        coveredRequest_.reset();
    }

    void requestFinished(HttpRequest& request) override {
        if (request.responseStatusCode() != 200) {
            requestFailed(request);
            return;
        }
        const std::string& body = request.responseString();
        auto envelope = ResponseEnvelope::decode(body);
        bool accepted = envelope && ResponseEnvelope::readsAsSuccess(*envelope);
        ended(request, accepted);
        // A refused page merges nothing; the screen still hears that loading ended.
        mergeResponse(body);
        if (!accepted) {
            MessageShow::error(HttpRequestSender::failureText(envelope), nullptr);
        }
    }
    void requestFailed(HttpRequest& request) override {
        ended(request, false);
        ListHttpRequestDelegate::requestFailed(request);
    }

    std::weak_ptr<ExternalPostListViewController> screen;

private:
    void ended(HttpRequest& request, bool accepted) {
        if (coveredRequest_.lock().get() == &request) {
            uncoverWindow();
        }
        if (auto list = screen.lock()) {
            list->placesAnswered(accepted);
        }
    }

    std::weak_ptr<HttpRequest> coveredRequest_;
    std::weak_ptr<ProgressHUD> hud_;
};

void ExternalPostListViewController::viewDidLoad() {
    setTitle(externalCategory ? externalCategory->externalCategoryName : keyword.value_or(""));
    view().setId("ExternalPostListViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    data = std::make_shared<ZLData>();
    auto weak = weakSelf(this);
    placePages_ = std::make_shared<PlacePagesDelegate>();
    placePages_->zlData = data;
    placePages_->viewClassName = ExternalPost::kRecordClassName;
    placePages_->listViewController = weak;
    placePages_->screen = weak;
    listHttpRequestDelegate = placePages_;

    orderButton = Button::create();
    orderButton->setId("orderButton");
    orderButton->setFrame(Rect(0, 0, 45, 30));
    orderButton->setBackgroundImage(ImageAsset::named("top_nav_btn"));
    orderButton->setTitleFont(Font::boldSystemFont(13));
    setOrder(kRatingOrder);
    orderButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->openOrder();
        }
    });
    auto orderItem = std::make_shared<BarButtonItem>(orderButton);
    orderItem->setId("orderItem");
    navigationItem().setRightBarButtonItem(orderItem);

    double width = view().bounds().width();
    tip1Label = std::make_shared<Label>(Rect(20, 40, width - 40, 22));
    tip1Label->setId("tip1Label");
    tip1Label->setFont(Font::boldSystemFont(15));
    tip1Label->setTextAlignment(TextAlignment::Center);
    tip1Label->setText("没有找到相关的地点");
    tip1Label->setHidden(true);
    view().addSubview(tip1Label);
    tip2Label = std::make_shared<Label>(Rect(20, 66, width - 40, 36));
    tip2Label->setId("tip2Label");
    tip2Label->setFont(Font::systemFont(13));
    tip2Label->setTextColor(Color::white(0.5));
    tip2Label->setTextAlignment(TextAlignment::Center);
    tip2Label->setNumberOfLines(2);
    tip2Label->setText("不如直接说说你想去哪里、做什么，找人一起去");
    tip2Label->setHidden(true);
    view().addSubview(tip2Label);

    bigButton = Button::create();
    bigButton->setId("bigButton");
    bigButton->setFrame(Rect(72, 110, 178, 40));
    bigButton->setBackgroundImage(ImageAsset::named("big_btn"));
    bigButton->setTitle("编辑发布");
    bigButton->setTitleFont(Font::boldSystemFont(16));
    bigButton->setHidden(true);
    bigButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->sendPost();
        }
    });
    view().addSubview(bigButton);

    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleWidth | View::FlexibleHeight);
    tableView->setSeparatorStyle(TableView::SeparatorStyle::None);
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);

    // The base starts the first load.
    coverNextLoad_ = true;
    EGORefreshHeaderViewController::viewDidLoad();
    coverNextLoad_ = false;
}

void ExternalPostListViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void ExternalPostListViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

bool ExternalPostListViewController::positionKnown() {
    return UserViewController::lastLongitude() != 0 || UserViewController::lastLatitude() != 0;
}

Json ExternalPostListViewController::queryParams(std::int64_t page) const {
    Json params = {{"page", pageOrFirst(page)},
                   {"categoryId", externalCategory ? externalCategory->externalCategoryId : 0},
                   {"sort", orderButton && orderButton->tag() == kNearOrder ? "near" : "rating"}};
    if (positionKnown()) {
        params["longitude"] = UserViewController::lastLongitude();
        params["latitude"] = UserViewController::lastLatitude();
    }
    params["keyword"] = keyword.value_or("");
    return params;
}

void ExternalPostListViewController::loadListDataWithPage(std::int64_t page) {
    auto request = HttpRequestSender::getRequestWithUrl(
        UrlUtils::urlStringWithUri("post/v135/externalPostList"), queryParams(page));
    if (request) {
        std::erase_if(pendingRequests_, [](const auto& pending) { return pending.expired(); });
        pendingRequests_.push_back(request);
        if (coverNextLoad_ && pageOrFirst(page) == 1 && placePages_) {
            placePages_->coverWindow(request);
        }
    } else {
        placesAnswered(false);
    }
    coverNextLoad_ = false;
    sendListRequest(request, listHttpRequestDelegate);
}

void ExternalPostListViewController::query() {
    // Pages still on their way were asked for in the other order: arriving
    // after the new first page they would replace it or extend it with
    // places of the wrong order. Dropped unheard, they show no message
    // either, and the indicator of a dropped load goes with it.
    if (placePages_) {
        placePages_->uncoverWindow();
    }
    for (const auto& pending : pendingRequests_) {
        if (auto request = pending.lock()) {
            request->clearDelegatesAndCancel();
        }
    }
    pendingRequests_.clear();
    coverNextLoad_ = true;
    if (reloading) {
        // The pull header is already open for the dropped load; this load closes it.
        loadListDataWithPage(1);
    } else {
        autoRefresh();
    }
    coverNextLoad_ = false;
}

void ExternalPostListViewController::placesAnswered(bool accepted) {
    if (accepted) {
        // Every page still on its way was asked for in the order shown now.
        shownOrder_ = orderButton->tag();
        return;
    }
    // The rows stay, so the order must name theirs again: otherwise the more
    // row would append the next page of the other order to them.
    if (orderButton->tag() != shownOrder_) {
        setOrder(shownOrder_);
    }
}

void ExternalPostListViewController::doneLoadingTableViewData() {
    EGORefreshHeaderViewController::doneLoadingTableViewData();
    showPlacesOrTips();
}

void ExternalPostListViewController::showPlacesOrTips() {
    // Until a first answer arrives (a failed first load included) nothing is
    // known to be missing, so the invitation to write a post waits.
    bool answered = data && data->pager();
    bool found = !answered || data->cellRows() > 0;
    tip1Label->setHidden(found);
    tip2Label->setHidden(found);
    bigButton->setHidden(found);
    tableView->setHidden(!found);
}

std::vector<ExternalPostPtr> ExternalPostListViewController::externalPostArray() const {
    std::vector<ExternalPostPtr> places;
    if (data) {
        places.reserve(data->count());
        for (const auto& record : data->data()) {
            places.push_back(std::static_pointer_cast<ExternalPost>(record));
        }
    }
    return places;
}

void ExternalPostListViewController::setOrder(int order) {
    const char* title = order == kNearOrder ? kNearTitle : kRatingTitle;
    orderButton->setTag(order);
    orderButton->setTitle(title);
    orderButton->setTitle(title, Highlighted);
    orderButton->setTitle(title, Disabled);
}

void ExternalPostListViewController::openOrder() {
    auto sheet = ActionSheet::create("排序", this, "", "", {kRatingTitle, kNearTitle});
    sheet->setCancelButtonIndex(sheet->addButtonWithTitle("取消"));
    sheet->setId("orderSheet");
    sheet->showInView(Application::shared().keyWindow());
}

void ExternalPostListViewController::actionSheetDidDismiss(ActionSheet& sheet, int index) {
    if (index == sheet.cancelButtonIndex() || index == orderButton->tag()) {
        return;
    }
    if (index == kRatingOrder) {
        setOrder(kRatingOrder);
    } else if (index == kNearOrder) {
        if (!positionKnown()) {
            MessageShow::error(kNoLocationMessage, nullptr);
            return;
        }
        setOrder(kNearOrder);
    } else {
        return;
    }
    query();
}

void ExternalPostListViewController::sendPost() {
    if (!sendPostItem) {
        sendPostItem = SendPostBarButtonItem::create(shared_from_this());
    }
    sendPostItem->goToSendPost();
}

int ExternalPostListViewController::numberOfRows(TableView&, int) {
    return data ? static_cast<int>(data->cellRows()) : 0;
}

TableViewCellPtr ExternalPostListViewController::cellForRow(TableView& table, IndexPath indexPath) {
    if (auto pager = pagerRowCell(data, table, indexPath)) {
        return pager;
    }
    auto cell = std::dynamic_pointer_cast<ExternalPostListCell>(
        table.dequeueReusableCell(ExternalPostListCell::kIdentifier));
    if (!cell) {
        cell = ExternalPostListCell::cellFromNib();
    }
    cell->redrawn(
        std::static_pointer_cast<ExternalPost>(data->objectAtIndex(static_cast<std::size_t>(indexPath.row))));
    return cell;
}

double ExternalPostListViewController::heightForRow(TableView&, IndexPath indexPath) {
    if (auto height = pagerRowHeight(data, indexPath)) {
        return *height;
    }
    const auto& place =
        static_cast<const ExternalPost&>(*data->objectAtIndex(static_cast<std::size_t>(indexPath.row)));
    return ExternalPostListCell::heightForCell(place);
}

void ExternalPostListViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    if (selectPagerRow(data, indexPath)) {
        return;
    }
    NavigationController* navigation = navigationController();
    auto row = static_cast<std::size_t>(indexPath.row);
    if (navigation == nullptr || !data || row >= data->count()) {
        return;
    }
    auto detail = std::make_shared<ExternalPostDetailViewController>();
    detail->externalPost = std::static_pointer_cast<ExternalPost>(data->objectAtIndex(row));
    detail->externalCategory = externalCategory;
    navigation->pushViewController(detail, true);
}

}  // namespace zorlet
