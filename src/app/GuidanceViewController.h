#pragma once

#include "ui/PageControl.h"
#include "ui/ScrollView.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace zorlet {

// The pages shown once per version before anything else: one picture per
// page, swiped sideways; the last page has the button that starts the app,
// and pulling the last page on by 40 % of a page does the same.
class GuidanceViewController : public ViewController, public ScrollViewDelegate {
public:
    // The pictures of the "guidance_images" resource.
    GuidanceViewController();
    explicit GuidanceViewController(std::vector<std::string> imageArray);
    ~GuidanceViewController() override;
    std::string className() const override { return "GuidanceViewController"; }

    static std::vector<std::string> guidanceImages();

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Builds page `page` once (nothing outside 0 ... count - 1).
    void loadScrollViewWithPage(int page);
    // The page control was tapped: scroll to its page.
    void changePage();
    // Marks the guidance as seen, fades out and hands the window to the first screen.
    void finish();

    void scrollViewDidScroll(ScrollView&) override;
    void scrollViewWillBeginDragging(ScrollView&) override;
    void scrollViewDidEndDragging(ScrollView&, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(ScrollView&) override;
    void scrollViewDidEndScrollingAnimation(ScrollView&) override;

    std::vector<std::string> imageArray;
    // One entry per image; empty until the page is built.
    std::vector<ViewPtr> pages;
    std::shared_ptr<ScrollView> scrollView;
    std::shared_ptr<PageControl> pageControl;
    bool pageControlUsed = false;

    static constexpr double kPullToFinish = 0.4;
    static constexpr int kFadeMilliseconds = 300;

private:
    double pageWidth() const;
    void finishIfPulledPastEnd();

    bool finishing_ = false;
};

}  // namespace zorlet
