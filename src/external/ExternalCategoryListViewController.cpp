#include "external/ExternalCategoryListViewController.h"

#include "external/ExternalCategoryButton.h"
#include "external/ExternalPostListViewController.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "people/SendPostBarButtonItem.h"
#include "platform/Analytics.h"
#include "platform/UnicodeText.h"
#include "platform/WeakSelf.h"
#include "ui/Application.h"
#include "ui/BarButtonItem.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"
#include "widgets/OperationProgress.h"

namespace zorlet {

void ExternalCategoryListViewController::viewDidLoad() {
    setTitle(kTitle);
    view().setId("ExternalCategoryListViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    auto weak = weakSelf(this);

    auto closeItem =
        std::make_shared<BarButtonItem>("取消", BarButtonItem::Style::Bordered, [weak](BarButtonItem&) {
            if (auto self = weak.lock()) {
                self->close();
            }
        });
    closeItem->setId("close");
    navigationItem().setLeftBarButtonItem(closeItem);
    sendPostItem = SendPostBarButtonItem::create(shared_from_this());
    navigationItem().setRightBarButtonItem(sendPostItem);

    // The grid scrolls under the search bar, which stays on top for taps.
    scrollView = std::make_shared<ScrollView>(view().bounds());
    scrollView->setId("scrollView");
    scrollView->setAutoresizingMask(View::FlexibleWidth | View::FlexibleHeight);
    view().addSubview(scrollView);

    tipLabel = std::make_shared<Label>(Rect(kGridLeft, kGridTop, 290, 40));
    tipLabel->setId("tipLabel");
    tipLabel->setFont(Font::systemFont(13));
    tipLabel->setTextColor(Color::white(0.5));
    tipLabel->setNumberOfLines(0);
    tipLabel->setText("找不到想去的？点右上角，说说你想出去玩什么");
    scrollView->addSubview(tipLabel);

    searchBar = std::make_shared<SearchBar>(Rect(0, 0, view().bounds().width(), SearchBar::kHeight));
    searchBar->setId("searchBar");
    searchBar->setPlaceholder("搜索地点、商家或地址");
    searchBar->setDelegate(this);
    view().addSubview(searchBar);

    auto ending = [weak](GestureRecognizer&) {
        if (auto self = weak.lock()) {
            self->cancelSearch();
        }
    };
    panRecognizer = GestureRecognizer::pan(ending);
    tapRecognizer = GestureRecognizer::tap(ending);

    loadCategories();
}

void ExternalCategoryListViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void ExternalCategoryListViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void ExternalCategoryListViewController::loadCategories() {
    auto request =
        HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("post/v135/externalCategoryList"));
    if (!request) {
        return;
    }
    View* shell = Application::shared().keyWindow();
    auto hud = OperationProgress::show(shell, "加载分类信息");
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(
        request, shell,
        [weak, hud](const Json& envelope) {
            if (hud) {
                hud->hide(true);
            }
            auto self = weak.lock();
            if (!self) {
                return;
            }
            const Json& result = envelope.contains("result") ? envelope["result"] : Json();
            if (result.is_array()) {
                for (const Json& element : result) {
                    if (element.is_object()) {
                        self->externalCategoryArray.push_back(
                            ExternalCategory::convertFromDictionary(element));
                    }
                }
            }
            self->layoutGrid();
        },
        [] {});
}

void ExternalCategoryListViewController::layoutGrid() {
    auto weak = weakSelf(this);
    for (std::size_t i = 0; i < externalCategoryArray.size(); ++i) {
        auto button = ExternalCategoryButton::create(externalCategoryArray[i]->externalCategoryName);
        int tag = static_cast<int>(i);
        button->setTag(tag);
        button->setId("category" + std::to_string(i));
        button->setFrame(Rect(kGridLeft + kColumnStep * static_cast<double>(i % 2),
                              kGridTop + kRowStep * static_cast<double>(i / 2),
                              ExternalCategoryButton::kWidth, ExternalCategoryButton::kHeight));
        button->addTarget(TouchUpInside, [weak, tag](Control&) {
            if (auto self = weak.lock()) {
                self->listExternalPosts(tag);
            }
        });
        scrollView->addSubview(button);
        Rect tip = tipLabel->frame();
        tip.origin.y = button->frame().maxY() + kTipGap;
        tipLabel->setFrame(tip);
    }
    scrollView->setContentSize(Size(scrollView->contentSize().width, tipLabel->frame().maxY() + kTipGap));
}

void ExternalCategoryListViewController::close() {
    dismissModalViewController(true);
}

void ExternalCategoryListViewController::listExternalPosts(int tag) {
    NavigationController* navigation = navigationController();
    if (navigation == nullptr || tag < 0 || static_cast<std::size_t>(tag) >= externalCategoryArray.size()) {
        return;
    }
    auto list = std::make_shared<ExternalPostListViewController>();
    list->externalCategory = externalCategoryArray[static_cast<std::size_t>(tag)];
    navigation->pushViewController(list, true);
}

void ExternalCategoryListViewController::searchBarTextDidBeginEditing(SearchBar& bar) {
    bar.setShowsCancelButton(true, true);
    // A touch on the grid ends the search; attached once however often editing begins.
    scrollView->removeGestureRecognizer(panRecognizer.get());
    scrollView->removeGestureRecognizer(tapRecognizer.get());
    scrollView->addGestureRecognizer(panRecognizer);
    scrollView->addGestureRecognizer(tapRecognizer);
}

void ExternalCategoryListViewController::searchBarSearchButtonClicked(SearchBar& bar) {
    NavigationController* navigation = navigationController();
    // A blank search would list every place under an empty title.
    if (navigation == nullptr || UnicodeText::trimmed(bar.text()).empty()) {
        return;
    }
    auto list = std::make_shared<ExternalPostListViewController>();
    list->keyword = bar.text();
    navigation->pushViewController(list, true);
}

void ExternalCategoryListViewController::searchBarCancelButtonClicked(SearchBar&) {
    cancelSearch();
}

void ExternalCategoryListViewController::cancelSearch() {
    searchBar->setText({});
    searchBar->setShowsCancelButton(false, true);
    searchBar->resignFirstResponder();
    scrollView->removeGestureRecognizer(panRecognizer.get());
    scrollView->removeGestureRecognizer(tapRecognizer.get());
}

}  // namespace zorlet
