#include "external/ExternalPostListViewController.h"

#include "external/ExternalPostDetailViewController.h"
#include "external/ExternalPostListCell.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
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

void ExternalPostListViewController::viewDidLoad() {
    setTitle(externalCategory ? externalCategory->externalCategoryName : keyword.value_or(""));
    view().setId("ExternalPostListViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    auto weak = weakSelf(this);

    orderButton = Button::create();
    orderButton->setId("orderButton");
    orderButton->setFrame(Rect(0, 0, 45, 30));
    orderButton->setBackgroundImage(ImageAsset::named("top_nav_btn"));
    orderButton->setTitleFont(Font::boldSystemFont(13));
    setOrder(kRatingOrder, kRatingTitle);
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

    query();
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

Json ExternalPostListViewController::queryParams() const {
    Json params = {{"categoryId", externalCategory ? externalCategory->externalCategoryId : 0},
                   {"sort", orderButton && orderButton->tag() == kNearOrder ? "near" : "rating"}};
    if (positionKnown()) {
        params["longitude"] = UserViewController::lastLongitude();
        params["latitude"] = UserViewController::lastLatitude();
    }
    params["keyword"] = keyword.value_or("");
    return params;
}

void ExternalPostListViewController::query() {
    auto request = HttpRequestSender::getRequestWithUrl(
        UrlUtils::urlStringWithUri("post/v135/externalPostList"), queryParams());
    if (!request) {
        return;
    }
    View* shell = Application::shared().keyWindow();
    auto hud = OperationProgress::show(shell, "请求数据");
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(
        request, shell,
        [weak, hud](const Json& envelope) {
            if (hud) {
                hud->hide(true);
            }
            if (auto self = weak.lock()) {
                self->showPlaces(jsonArray(jsonObject(envelope, "result"), "list"));
            }
        },
        [] {});
}

void ExternalPostListViewController::showPlaces(const Json& list) {
    externalPostArray.clear();
    for (const Json& element : list) {
        if (element.is_object()) {
            externalPostArray.push_back(ExternalPost::convertFromDictionary(element));
        }
    }
    bool found = !externalPostArray.empty();
    tip1Label->setHidden(found);
    tip2Label->setHidden(found);
    bigButton->setHidden(found);
    tableView->setHidden(!found);
    if (found) {
        tableView->reloadData();
    }
}

void ExternalPostListViewController::setOrder(int order, const char* title) {
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
        setOrder(kRatingOrder, kRatingTitle);
    } else if (index == kNearOrder) {
        if (!positionKnown()) {
            MessageShow::error(kNoLocationMessage, nullptr);
            return;
        }
        setOrder(kNearOrder, kNearTitle);
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
    return static_cast<int>(externalPostArray.size());
}

TableViewCellPtr ExternalPostListViewController::cellForRow(TableView& table, IndexPath indexPath) {
    auto cell = std::dynamic_pointer_cast<ExternalPostListCell>(
        table.dequeueReusableCell(ExternalPostListCell::kIdentifier));
    if (!cell) {
        cell = ExternalPostListCell::cellFromNib();
    }
    cell->redrawn(externalPostArray[static_cast<std::size_t>(indexPath.row)]);
    return cell;
}

double ExternalPostListViewController::heightForRow(TableView&, IndexPath indexPath) {
    return ExternalPostListCell::heightForCell(*externalPostArray[static_cast<std::size_t>(indexPath.row)]);
}

void ExternalPostListViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    NavigationController* navigation = navigationController();
    auto row = static_cast<std::size_t>(indexPath.row);
    if (navigation == nullptr || row >= externalPostArray.size()) {
        return;
    }
    auto detail = std::make_shared<ExternalPostDetailViewController>();
    detail->externalPost = externalPostArray[row];
    detail->externalCategory = externalCategory;
    navigation->pushViewController(detail, true);
}

}  // namespace zorlet
