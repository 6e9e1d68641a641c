#include "messaging/SmsViewController.h"

#include "app/MessageNavigationController.h"
#include "messaging/DialogContentViewController.h"
#include "messaging/SmsListCell.h"
#include "model/Dialog.h"
#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/WeakSelf.h"
#include "ui/Application.h"
#include "ui/ImageAsset.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"

#include <algorithm>

namespace zorlet {

void SmsViewController::viewDidLoad() {
    view().setId("SmsViewController");
    data = std::make_shared<ZLData>();
    listHttpRequestDelegate = makeListDelegate(data, Dialog::kRecordClassName);
    setTitle("消息");
    if (auto* messages = dynamic_cast<MessageNavigationController*>(navigationController())) {
        navigationItem().setTitleView(messages->segmentedControl());
    }

    editButton = Button::create();
    editButton->setId("editButton");
    editButton->setTitle("删除");
    editButton->setBackgroundImage(ImageAsset::named("rect_btn"));
    editButton->setFrame(Rect(0, 0, kEditButtonWidth, 30));
    auto weak = weakSelf(this);
    editButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->toggleEdit();
        }
    });
    navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(editButton));

    view().setBackgroundImage(ImageAsset::named("app_bg"));
    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setBackgroundColor(Color::clearColor());
    tableView->setSeparatorColor(Color::white(0.71));
    // An empty footer: no separators below the last dialog.
    tableView->setTableFooterView(std::make_shared<View>(Rect(0, 0, 0, 0)));
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);

    EGORefreshHeaderViewController::viewDidLoad();
}

TabBarItem* SmsViewController::messageTabItem() const {
    NavigationController* navigation = navigationController();
    return navigation ? &navigation->tabBarItem() : nullptr;
}

void SmsViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
    Application::shared().setApplicationIconBadgeNumber(0);
    TabBarItem* item = messageTabItem();
    if (item && !item->badgeValue().empty() && data) {
        autoRefresh();
    } else if (tableView) {
        tableView->reloadData();
    }
}

void SmsViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void SmsViewController::loadListDataWithPage(std::int64_t page) {
    auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("dialog/dialogList"),
                                                        {{"page", pageOrFirst(page)}});
    sendListRequest(request, listHttpRequestDelegate);
}

void SmsViewController::doneLoadingTableViewData() {
    EGORefreshHeaderViewController::doneLoadingTableViewData();
    if (TabBarItem* item = messageTabItem()) {
        item->setBadgeValue("");
    }
}

void SmsViewController::toggleEdit() {
    bool editing = !tableView->isEditing();
    tableView->setEditing(editing, true);
    editButton->setTitle(editing ? "完成" : "删除");
}

int SmsViewController::numberOfRows(TableView&, int) {
    return data ? static_cast<int>(data->cellRows()) : 0;
}

TableViewCellPtr SmsViewController::cellForRow(TableView& table, IndexPath indexPath) {
    if (auto pager = pagerRowCell(data, table, indexPath)) {
        return pager;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    auto cell = std::dynamic_pointer_cast<SmsListCell>(table.dequeueReusableCell(SmsListCell::kIdentifier));
    if (!cell) {
        cell = SmsListCell::cellFromNib();
    }
    cell->ownerViewController = weak_from_this();
    if (row < data->count()) {
        cell->redrawn(std::static_pointer_cast<Dialog>(data->objectAtIndex(row)));
    }
    return cell;
}

double SmsViewController::heightForRow(TableView&, IndexPath indexPath) {
    if (auto height = pagerRowHeight(data, indexPath)) {
        return *height;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    return SmsListCell::heightForCell(static_cast<const Dialog&>(*data->objectAtIndex(row)));
}

bool SmsViewController::canEditRow(TableView&, IndexPath indexPath) {
    return static_cast<std::size_t>(indexPath.row) < data->count();
}

void SmsViewController::commitEditingStyle(TableView&, TableViewCellEditingStyle style, IndexPath indexPath) {
    auto row = static_cast<std::size_t>(indexPath.row);
    if (style != TableViewCellEditingStyle::Delete || row >= data->count()) {
        return;
    }
    deleteDialog(data->objectAtIndex(row));
}

void SmsViewController::deleteDialog(const RecordPtr& record) {
    auto hud = ProgressHUD::showHUDAddedTo(&view(), true);
    hud->setId("progressHUD");
    hud->setLabelText("删除中...");
    auto dialog = std::static_pointer_cast<Dialog>(record);
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("dialog/deleteDialog"),
                                                         {{"dialogId", dialog->dialogId}});
    if (!request) {
        hud->hide(true);
        return;
    }
    auto weak = weakSelf(this);
    std::weak_ptr<ProgressHUD> weakHud = hud;
    auto hideHud = [weakHud] {
        if (auto shown = weakHud.lock()) {
            shown->hide(true);
        }
    };
    request->setCompletionBlock([weak, record, hideHud](HttpRequest& finished) {
        hideHud();
        auto self = weak.lock();
        auto envelope = parseJson(finished.responseString());
        if (envelope && HttpRequestSender::isSuccess(*envelope)) {
            if (self) {
                self->removeDeletedDialog(record);
            }
            return;
        }
        MessageShow::error(HttpRequestSender::errorText(envelope ? *envelope : Json()),
                           self ? &self->view() : nullptr);
    });
    request->setFailedBlock([hideHud](HttpRequest& failed) {
        hideHud();
        HttpRequestDelegate::requestFailedHandle(failed);
    });
    request->startAsynchronous();
}

void SmsViewController::removeDeletedDialog(const RecordPtr& dialog) {
    // By the record, not the row it had: a refresh may have moved it meanwhile.
    const auto& rows = data->data();
    auto found = std::find(rows.begin(), rows.end(), dialog);
    if (found == rows.end()) {
        return;
    }
    auto row = static_cast<int>(found - rows.begin());
    data->removeObjectAtIndex(static_cast<std::size_t>(row));
    tableView->deleteRows({IndexPath{0, row}}, TableViewRowAnimation::Fade);
}

void SmsViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    if (selectPagerRow(data, indexPath)) {
        return;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    if (row < data->count()) {
        if (NavigationController* navigation = navigationController()) {
            auto conversation = std::make_shared<DialogContentViewController>();
            conversation->setHidesBottomBarWhenPushed(true);
            conversation->targetUser = std::static_pointer_cast<Dialog>(data->objectAtIndex(row))->targetUser;
            navigation->pushViewController(conversation, true);
        }
    }
}

}  // namespace zorlet
