#include "LoginScreenTest.h"

#include "app/GuidanceViewController.h"
#include "session/LoginViewController.h"
#include "session/RegisterViewController.h"
#include "ui/Animator.h"
#include "ui/Application.h"

#include <chrono>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class GuidanceTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        UserDefaults::standard().setBool(AppDelegate::guidanceFlagKey(), false);
    }
    void TearDown() override {
        window_.reset();
        AppTest::TearDown();
    }
    GuidanceViewController& show(std::vector<std::string> images) {
        guidance_ = std::make_shared<GuidanceViewController>(std::move(images));
        window_ = std::make_shared<Window>();
        window_->setRootViewController(guidance_);
        window_->makeKeyAndVisible();
        return *guidance_;
    }
    double width() const { return guidance_->scrollView->frame().width(); }
    bool flag() const { return UserDefaults::standard().boolForKey(AppDelegate::guidanceFlagKey()); }

    std::shared_ptr<Window> window_;
    std::shared_ptr<GuidanceViewController> guidance_;
};

TEST_F(GuidanceTest, PagesAreBuiltAsTheUserReachesThem) {
    auto& guidance = show({"yd1.png", "yd2.png", "yd3.png"});
    EXPECT_EQ(guidance.scrollView->contentSize().width, 3 * width());
    EXPECT_TRUE(guidance.scrollView->isPagingEnabled());
    EXPECT_FALSE(guidance.scrollView->showsHorizontalScrollIndicator());
    EXPECT_EQ(guidance.pageControl->numberOfPages(), 3);
    EXPECT_TRUE(guidance.pages[0] && guidance.pages[1]);
    EXPECT_FALSE(guidance.pages[2]);
    EXPECT_FALSE(InterfaceDescription::viewWithId(guidance.view(), "finish"));

    UserInput::scroll(*guidance.scrollView, {width() * 0.6, 0});
    EXPECT_EQ(guidance.scrollView->contentOffset().x, width());
    EXPECT_EQ(guidance.pageControl->currentPage(), 1);
    ASSERT_TRUE(guidance.pages[2]);
    EXPECT_EQ(guidance.pages[2]->frame().x(), 2 * width());
    View* finish = InterfaceDescription::viewWithId(guidance.view(), "finish");
    ASSERT_NE(finish, nullptr);
    EXPECT_EQ(finish->frame(), Rect(2 * width() + 85, 340, 150, 50));

    // The page control steps a page and keeps the dots where it put them.
    guidance.pageControl->setCurrentPage(0);
    guidance.changePage();
    EXPECT_EQ(guidance.scrollView->contentOffset().x, 0);
    EXPECT_EQ(guidance.pageControl->currentPage(), 0);
    EXPECT_FALSE(guidance.pageControlUsed);
}

TEST_F(GuidanceTest, PullingTheLastPageFortyPercentOnFinishesLessSpringsBack) {
    auto& guidance = show({"yd1.png", "yd2.png", "yd3.png"});
    UserInput::scroll(*guidance.scrollView, {2 * width(), 0});
    ASSERT_EQ(guidance.scrollView->contentOffset().x, 2 * width());

    UserInput::scroll(*guidance.scrollView, {width() * 0.39, 0});
    EXPECT_EQ(guidance.scrollView->contentOffset().x, 2 * width());
    EXPECT_FALSE(flag());
    advance(1s);
    EXPECT_EQ(window_->rootViewController(), guidance_.get());

    UserInput::scroll(*guidance.scrollView, {width() * 0.4, 0});
    EXPECT_TRUE(flag());
    EXPECT_EQ(guidance.view().alpha(), 0);
    EXPECT_EQ(window_->rootViewController(), guidance_.get());
    // The screen fades on the clock, half gone half way.
    advance(150ms);
    EXPECT_NEAR(Animator::shared().presentationAlpha(guidance.view()), 0.5, 1e-6);
    EXPECT_EQ(window_->rootViewController(), guidance_.get());
    advance(150ms);
    ASSERT_NE(window_->rootViewController(), nullptr);
    EXPECT_EQ(window_->rootViewController()->className(), "WelcomeViewController");
    // The welcome screen has the whole window.
    EXPECT_TRUE(Application::shared().isStatusBarHidden());
    EXPECT_EQ(window_->rootViewController()->view().frame(), Rect(0, 0, 320, 480));
}

TEST_F(GuidanceTest, ASingleImagePutsTheButtonOnTheFirstPageAndItFinishesForTheSignedInUser) {
    signIn(5);
    auto& guidance = show({"yd1.png"});
    EXPECT_EQ(guidance.pageControl->numberOfPages(), 1);
    View* finish = InterfaceDescription::viewWithId(guidance.view(), "finish");
    ASSERT_NE(finish, nullptr);
    EXPECT_EQ(finish->frame().x(), 85);
    ASSERT_TRUE(UserInput::tap(*finish));
    EXPECT_TRUE(flag());
    advance(300ms);
    EXPECT_EQ(window_->rootViewController()->className(), "ZorletTabBarController");
}

TEST_F(GuidanceTest, TheImageListComesFromTheResource) {
    auto images = GuidanceViewController::guidanceImages();
    ASSERT_FALSE(images.empty());
    EXPECT_EQ(GuidanceViewController().imageArray, images);
}

class WelcomeTest : public LoginScreenTest {};

TEST_F(WelcomeTest, TheWaysInOpenModallyInTheirOwnNavigationControllers) {
    ASSERT_TRUE(welcome_->imageView);
    // The background is drawn for 568-point screens; this one is 480.
    EXPECT_EQ(welcome_->imageView->image()->name(), "Default.png");

    auto* login = open<LoginViewController>("goLogin");
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(welcome_->modalViewController()->lastModalTransitionAnimated());
    login->dismissModalViewController(false);
    loop().runPending();
    auto* registration = open<RegisterViewController>("goRegister");
    ASSERT_NE(registration, nullptr);
    EXPECT_EQ(welcome_->modalViewController()->className(), "CustomNavigationController");
}

}  // namespace
}  // namespace zorlet::test
