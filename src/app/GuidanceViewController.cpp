#include "app/GuidanceViewController.h"

#include "app/AppDelegate.h"
#include "app/InterfaceDescription.h"
#include "app/ScreenActions.h"
#include "platform/Analytics.h"
#include "platform/AtomicFile.h"
#include "platform/Json.h"
#include "platform/UserDefaults.h"
#include "session/LoginRedirect.h"
#include "ui/Button.h"
#include "ui/ImageAsset.h"
#include "ui/ImageView.h"

#include <cmath>

namespace zorlet {

namespace {
constexpr double kFinishButtonX = 85;
constexpr double kFinishButtonY = 340;
constexpr double kFinishButtonWidth = 150;
constexpr double kFinishButtonHeight = 50;
}  // namespace

GuidanceViewController::GuidanceViewController() : GuidanceViewController(guidanceImages()) {}

GuidanceViewController::GuidanceViewController(std::vector<std::string> images)
    : imageArray(std::move(images)), pages(imageArray.size()) {}

GuidanceViewController::~GuidanceViewController() {
    if (scrollView) {
        scrollView->setDelegate(nullptr);
    }
}

std::vector<std::string> GuidanceViewController::guidanceImages() {
    std::vector<std::string> names;
    auto bytes = AtomicFile::read(std::string(ZORLET_RESOURCES_DIR) + "/guidance_images.json");
    auto list = bytes ? parseJson(*bytes) : std::nullopt;
    if (list && list->is_array()) {
        for (const auto& name : *list) {
            if (name.is_string()) {
                names.push_back(name.get<std::string>());
            }
        }
    }
    return names;
}

void GuidanceViewController::loadView() {
    auto objects = InterfaceDescription::load("GuidanceViewController");
    setView(objects.empty() ? std::make_shared<View>(Rect(0, 0, kScreenWidth, 460)) : objects.front());
}

double GuidanceViewController::pageWidth() const {
    return scrollView ? scrollView->frame().width() : kScreenWidth;
}

void GuidanceViewController::viewDidLoad() {
    scrollView = InterfaceDescription::find<ScrollView>(view(), "scrollView");
    pageControl = InterfaceDescription::find<PageControl>(view(), "pageControl");
    if (!scrollView) {
        scrollView = std::make_shared<ScrollView>(Rect(Point{}, view().frame().size));
        scrollView->setId("scrollView");
        view().insertSubview(scrollView, 0);
    }
    if (!pageControl) {
        pageControl =
            std::make_shared<PageControl>(Rect(0, view().frame().height() - 36, view().frame().width(), 36));
        pageControl->setId("pageControl");
        view().addSubview(pageControl);
    }
    int count = static_cast<int>(imageArray.size());
    scrollView->setPagingEnabled(true);
    scrollView->setShowsHorizontalScrollIndicator(false);
    scrollView->setShowsVerticalScrollIndicator(false);
    scrollView->setScrollsToTop(false);
    scrollView->setContentSize(Size{pageWidth() * count, scrollView->frame().height()});
    scrollView->setDelegate(this);
    pageControl->setNumberOfPages(count);
    pageControl->setCurrentPage(0);
    pageControl->addTarget(
        ValueChanged,
        [call = ScreenActions::bind(this, &GuidanceViewController::changePage)](Control&) { call(); });
    loadScrollViewWithPage(0);
    loadScrollViewWithPage(1);
}

void GuidanceViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void GuidanceViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void GuidanceViewController::loadScrollViewWithPage(int page) {
    if (page < 0 || page >= static_cast<int>(imageArray.size()) || pages[page] || !scrollView) {
        return;
    }
    double width = pageWidth();
    auto imageView = std::make_shared<ImageView>(ImageAsset::named(imageArray[page]));
    imageView->setFrame(Rect(page * width, 0, width, scrollView->frame().height()));
    imageView->setId("page" + std::to_string(page));
    pages[page] = imageView;
    scrollView->addSubview(imageView);
    if (page == static_cast<int>(imageArray.size()) - 1) {
        auto button = Button::create();
        button->setId("finish");
        button->setFrame(
            Rect(page * width + kFinishButtonX, kFinishButtonY, kFinishButtonWidth, kFinishButtonHeight));
        button->setImage(ImageAsset::named("yd4_btn"));
        button->setImage(ImageAsset::named("yd4_btn_hover"), Highlighted);
        button->addTarget(TouchUpInside, [call = ScreenActions::bind(this, &GuidanceViewController::finish)](
                                             Control&) { call(); });
        scrollView->addSubview(button);
    }
}

void GuidanceViewController::changePage() {
    int page = pageControl->currentPage();
    loadScrollViewWithPage(page - 1);
    loadScrollViewWithPage(page);
    loadScrollViewWithPage(page + 1);
    // Set before scrolling: the scroll must not move the dots back while it runs.
    pageControlUsed = true;
    scrollView->setContentOffset(Point{pageWidth() * page, 0}, true);
}

void GuidanceViewController::scrollViewDidScroll(ScrollView& scroll) {
    if (pageControlUsed) {
        return;
    }
    double width = pageWidth();
    if (width <= 0) {
        return;
    }
    int page = static_cast<int>(std::floor((scroll.contentOffset().x - width / 2) / width)) + 1;
    pageControl->setCurrentPage(page);
    loadScrollViewWithPage(page - 1);
    loadScrollViewWithPage(page);
    loadScrollViewWithPage(page + 1);
}

void GuidanceViewController::scrollViewWillBeginDragging(ScrollView&) {
    pageControlUsed = false;
}

void GuidanceViewController::scrollViewDidEndDragging(ScrollView&, bool) {
    finishIfPulledPastEnd();
}

void GuidanceViewController::scrollViewDidEndDecelerating(ScrollView&) {
    pageControlUsed = false;
    finishIfPulledPastEnd();
}

void GuidanceViewController::scrollViewDidEndScrollingAnimation(ScrollView&) {
    pageControlUsed = false;
}

void GuidanceViewController::finishIfPulledPastEnd() {
    double count = static_cast<double>(imageArray.size());
    if (count > 0 && scrollView->contentOffset().x >= pageWidth() * (count - 1 + kPullToFinish)) {
        finish();
    }
}

void GuidanceViewController::finish() {
    // A drag end and the button can both ask; the window is handed over once.
    if (finishing_) {
        return;
    }
    finishing_ = true;
    UserDefaults::standard().setBool(AppDelegate::guidanceFlagKey(), true);
    UserDefaults::standard().synchronize();
    std::weak_ptr<ViewController> weak = weak_from_this();
    // The next screen comes when the fade ends, even if something stopped the fade early.
    View::animate(
        kFadeMilliseconds / 1000.0, AnimationCurve::EaseInOut, [this] { view().setAlpha(0); },
        [weak](bool) {
            if (auto self = weak.lock()) {
                LoginRedirect::redirect(&self->view());
            }
        });
}

}  // namespace zorlet
