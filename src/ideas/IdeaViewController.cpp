#include "ideas/IdeaViewController.h"

#include "ideas/CategoryTableViewController.h"
#include "ideas/IdeaDetailViewController.h"
#include "ideas/IdeaListCell.h"
#include "model/Idea.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/MainLoop.h"
#include "platform/WeakSelf.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationController.h"

namespace zorlet {

IdeaViewController::~IdeaViewController() {
    if (categoryPopver) {
        categoryPopver->setDelegate(nullptr);
        categoryPopver->dismissPopover(false);
    }
}

void IdeaViewController::viewDidLoad() {
    view().setId("IdeaViewController");
    data = std::make_shared<ZLData>();
    listHttpRequestDelegate = makeListDelegate(data, Idea::kRecordClassName);

    segmentedControl =
        CustomSegmentedControl::create(2, Size{kSegmentWidth, kSegmentHeight}, nullptr, kNewestOrder, this);
    segmentedControl->setId("segmentedControl");
    segmentedControl->dimAllButtonsExcept(*segmentedControl->buttons().front());
    navigationItem().setTitleView(segmentedControl);

    categoryButton = Button::create();
    categoryButton->setId("categoryButton");
    categoryButton->setTag(0);
    categoryButton->setTitle(CategoryTableViewController::kAllTitle);
    categoryButton->setTitleFont(Font::systemFont(13));
    categoryButton->setFrame(Rect(0, 0, 90, 30));
    showCategoryButtonClosed(true);
    auto weak = weakSelf(this);
    categoryButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->showCategory();
        }
    });
    navigationItem().setLeftBarButtonItem(std::make_shared<BarButtonItem>(categoryButton));

    view().setBackgroundImage(ImageAsset::named("app_bg"));
    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setSeparatorStyle(TableView::SeparatorStyle::None);
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);
    EGORefreshHeaderViewController::viewDidLoad();
}

void IdeaViewController::viewWillAppear(bool) {
    // A want-to-go marked on a screen above changed the shared idea: show it at once.
    if (data && tableView) {
        tableView->reloadData();
    }
    Analytics::beginLogPageView(className());
}

void IdeaViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

Json IdeaViewController::listParams(std::int64_t page) const {
    int order = segmentedControl ? segmentedControl->tag() : kNewestOrder;
    return {{"categoryId", categoryButton ? categoryButton->tag() : 0},
            {"orderType", order == kHottestOrder ? "pop" : "time"},
            {"page", pageOrFirst(page)}};
}

void IdeaViewController::loadListDataWithPage(std::int64_t page) {
    auto request =
        HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("idea/allIdeas"), listParams(page));
    sendListRequest(request, listHttpRequestDelegate);
}

void IdeaViewController::showCategoryButtonClosed(bool closed) {
    categoryButton->setBackgroundImage(
        ImageAsset::named(closed ? "top_nav_category_btn_link" : "top_nav_category_btn_open"));
    categoryButton->setImage(ImageAsset::named(closed ? "category_arrow_down" : "category_arrow_up"));
    // While the picker is open the button ignores taps; closing the picker gives them back.
    categoryButton->setUserInteractionEnabled(closed);
}

void IdeaViewController::showCategory() {
    if (categoryPopver) {
        return;
    }
    showCategoryButtonClosed(false);
    popover();
}

void IdeaViewController::popover() {
    auto picker = std::make_shared<CategoryTableViewController>();
    picker->selectCategoryId = categoryButton->tag();
    picker->rootController = std::static_pointer_cast<IdeaViewController>(shared_from_this());
    categoryPopver = std::make_shared<PopoverController>(picker);
    categoryPopver->setContentSize(Size{kPopoverWidth, kPopoverHeight});
    categoryPopver->setDelegate(this);
    categoryPopver->presentPopoverFromView(categoryButton.get(), true);
}

void IdeaViewController::selectByCategory(std::int64_t categoryId, const std::string& name) {
    Analytics::event("clickCategorySift");
    categoryButton->setTag(static_cast<int>(categoryId));
    categoryButton->setTitle(name);
    if (categoryPopver) {
        // Dismissing tells the delegate, which restores the button and lets the popover go.
        categoryPopver->dismissPopover(true);
    }
    autoRefresh();
}

void IdeaViewController::popoverControllerDidDismissPopover(PopoverController& popover) {
    if (categoryPopver.get() != &popover) {
        return;
    }
    showCategoryButtonClosed(true);
    // The popover is inside its own call: release it once that call is over.
    auto closing = std::move(categoryPopver);
    closing->setDelegate(nullptr);
    MainLoop::main().post([closing] {});
}

int IdeaViewController::numberOfRows(TableView&, int) {
    return data ? static_cast<int>(data->cellRows()) : 0;
}

TableViewCellPtr IdeaViewController::cellForRow(TableView& table, IndexPath indexPath) {
    if (auto pager = pagerRowCell(data, table, indexPath)) {
        return pager;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    auto cell = std::dynamic_pointer_cast<IdeaListCell>(table.dequeueReusableCell(IdeaListCell::kIdentifier));
    if (!cell) {
        cell = IdeaListCell::cellFromNib();
    }
    cell->ownerViewController = weak_from_this();
    cell->redrawn(std::static_pointer_cast<Idea>(data->objectAtIndex(row)));
    return cell;
}

double IdeaViewController::heightForRow(TableView&, IndexPath indexPath) {
    if (auto height = pagerRowHeight(data, indexPath)) {
        return *height;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    return IdeaListCell::heightForCell(static_cast<const Idea&>(*data->objectAtIndex(row)));
}

void IdeaViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    auto row = static_cast<std::size_t>(indexPath.row);
    table.deselectRow(indexPath, true);
    if (selectPagerRow(data, indexPath)) {
        return;
    }
    if (NavigationController* navigation = navigationController()) {
        auto detail = std::make_shared<IdeaDetailViewController>();
        detail->idea = std::static_pointer_cast<Idea>(data->objectAtIndex(row));
        detail->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(detail, true);
    }
}

std::shared_ptr<Button> IdeaViewController::buttonFor(CustomSegmentedControl&, std::size_t index) {
    static const char* const titles[] = {"最新", "最热"};
    auto button = Button::create();
    button->setId("segment" + std::to_string(index));
    button->setTitle(index < 2 ? titles[index] : "");
    button->setBackgroundImage(ImageAsset::named("top_nav_menu_btn_link"));
    button->setBackgroundImage(ImageAsset::named("top_nav_menu_btn_active"), Selected);
    button->setFrame(Rect(0, 0, kSegmentWidth, kSegmentHeight));
    return button;
}

void IdeaViewController::touchDownAtSegmentIndex(std::size_t index) {
    if (!segmentedControl || static_cast<int>(index) == segmentedControl->tag()) {
        return;
    }
    segmentedControl->setTag(static_cast<int>(index));
    autoRefresh();
}

}  // namespace zorlet
