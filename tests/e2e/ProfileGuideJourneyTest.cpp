#include "app/CustomNavigationController.h"
#include "model/User.h"
#include "net/UrlUtils.h"
#include "platform/Calendar.h"
#include "platform/CookieStore.h"
#include "platform/HttpQueue.h"
#include "platform/Reachability.h"
#include "profile/GuideSettingViewController.h"
#include "profile/ProfessionEditorViewController.h"
#include "profile/ProfileSettingViewController.h"
#include "sandbox/SandboxServer.h"
#include "sandbox/TestControl.h"
#include "session/LoginService.h"
#include "session/LoginUser.h"
#include "session/RegisterViewController.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/ImagePickerController.h"
#include "ui/Keyboard.h"
#include "ui/UserInput.h"
#include "ui/Window.h"
#include "widgets/CustomActionSheet.h"

#include "SandboxJourneyTest.h"

#include <filesystem>
#include <random>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

// A new account against the in-process sandbox: registration, the guide, the tab shell.
class ProfileGuideJourneyTest : public SandboxJourneyTest {
protected:
    void SetUp() override {
        SandboxJourneyTest::SetUp();
        ImagePickerController::reset();
    }

    std::string rootClass() const {
        return window_->rootViewController() != nullptr ? window_->rootViewController()->className() : "";
    }

    std::shared_ptr<GuideSettingViewController> guide() const {
        auto* navigation = dynamic_cast<CustomNavigationController*>(window_->rootViewController());
        if (navigation == nullptr || navigation->topViewController() == nullptr) {
            return nullptr;
        }
        return std::dynamic_pointer_cast<GuideSettingViewController>(
            navigation->topViewController()->shared_from_this());
    }

    static bool tapDone() {
        auto* sheet = dynamic_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet());
        return sheet != nullptr && UserInput::tapBarButton(*sheet->doneItem());
    }

    static void typeInto(TextField& field, const std::string& text) {
        field.becomeFirstResponder();
        UserInput::pasteText(text);
    }
};

TEST_F(ProfileGuideJourneyTest, ANewAccountCompletesTheGuideAndLandsInTheTabShell) {
    // Registration.
    auto registration = std::make_shared<RegisterViewController>();
    window_->setRootViewController(std::make_shared<CustomNavigationController>(registration));
    window_->makeKeyAndVisible();
    typeInto(*registration->accountField, "journey@zorlet.local");
    typeInto(*registration->nicknameField, "旅人");
    typeInto(*registration->passwordField, "secret123");
    typeInto(*registration->confirmPwdField, "secret123");
    registration->regist();
    ASSERT_TRUE(waitUntil([&] { return guide() != nullptr; }, 20s)) << rootClass();
    registration.reset();
    ASSERT_TRUE(UserContext::hasLogin());
    EXPECT_FALSE(UserContext::hasCompleteGuide());

    // The guide: gender, birthday, location and profession.
    auto form = guide();
    EXPECT_EQ(form->nicknameLabel->text(), "旅人");
    ASSERT_TRUE(UserInput::tapRow(*form->tableView, {1, 1}));
    ASSERT_TRUE(UserInput::answerSheet(1));
    ASSERT_TRUE(UserInput::tapRow(*form->tableView, {1, 2}));
    ASSERT_TRUE(UserInput::pickDate(*form->datePicker(), Calendar::timeOf(DateParts{1991, 3, 7})));
    ASSERT_TRUE(tapDone());
    ASSERT_TRUE(UserInput::tapRow(*form->tableView, {2, 0}));
    ASSERT_TRUE(UserInput::pickRow(*form->locationPicker(), 1, 0));
    ASSERT_TRUE(UserInput::pickRow(*form->locationPicker(), 2, 1));
    ASSERT_TRUE(tapDone());
    ASSERT_TRUE(UserInput::tapRow(*form->tableView, {2, 1}));
    auto* navigation = form->navigationController();
    auto profession = std::dynamic_pointer_cast<ProfessionEditorViewController>(
        navigation->topViewController()->shared_from_this());
    ASSERT_NE(profession, nullptr);
    typeInto(*profession->professionField, "调酒师");
    ASSERT_TRUE(UserInput::tapBarButton(*profession->navigationItem().rightBarButtonItem()));
    profession.reset();
    EXPECT_EQ(form->professionLabel->text(), "调酒师");

    ASSERT_TRUE(UserInput::tap(*form->startButton));
    ASSERT_TRUE(waitUntil([] { return UserContext::hasCompleteGuide(); }, 20s))
        << (AlertRegistry::shared().topAlert() ? AlertRegistry::shared().topAlert()->title() : "");
    auto user = UserContext::getUser();
    EXPECT_EQ(user->gender, 1);
    EXPECT_EQ(user->birthYear, 1991);
    EXPECT_EQ(user->cityId, 120103);
    EXPECT_EQ(user->cityName, "河西区");
    EXPECT_EQ(user->profession, "调酒师");
    EXPECT_EQ(user->professionId, 0);
    form.reset();
    advance(2s);
    EXPECT_EQ(rootClass(), "ZorletTabBarController");

    // Later sign-ins go straight to the tab shell.
    LoginService::getInstance().localLogout();
    EXPECT_EQ(LoginService::getInstance().loginTurnToViewController()->className(), "WelcomeViewController");
    ASSERT_TRUE(LoginService::getInstance().useLoginName("journey@zorlet.local", "secret123").success);
    EXPECT_EQ(LoginService::getInstance().loginTurnToViewController()->className(), "ZorletTabBarController");
}

TEST_F(ProfileGuideJourneyTest, TheProfileFormSavesAPhotoAndKeepsWhatItDoesNotShow) {
    sandbox::TestUser account{"profile@zorlet.local", "secret123", "老用户"};
    ASSERT_TRUE(sandbox_->testControl().createUser(account));
    ASSERT_TRUE(LoginService::getInstance().useLoginName(account.account, account.password).success);
    auto form = std::make_shared<ProfileSettingViewController>();
    auto home = std::make_shared<ViewController>();
    window_->setRootViewController(home);
    window_->makeKeyAndVisible();
    auto navigation = std::make_shared<CustomNavigationController>(form);
    home->presentModalViewController(navigation, false);

    ASSERT_TRUE(UserInput::tapRow(*form->tableView, {0, 0}));
    ASSERT_TRUE(UserInput::answerSheet(0));
    auto picture = std::make_shared<Image>(300, 300);
    std::fill(picture->data(), picture->data() + picture->stride() * 300, std::uint8_t{0x80});
    ASSERT_TRUE(ImagePickerController::visiblePicker() &&
                ImagePickerController::visiblePicker()->pick(picture));
    // A user who never chose a location or profession can still save the rest.
    ASSERT_TRUE(UserInput::tapBarButton(*form->saveButton()));
    ASSERT_TRUE(waitUntil(
        [&] {
            return home->modalViewController() == nullptr ||
                   !AlertRegistry::shared().shownAlertTitles().empty() || !form->saveButton()->isEnabled();
        },
        20s));
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty())
        << AlertRegistry::shared().shownAlertTitles().front();
    EXPECT_TRUE(UserContext::getUser()->hasLogo);
    EXPECT_FALSE(UserContext::getUser()->rawLogo.empty());
    EXPECT_EQ(UserContext::getUser()->nickname, "老用户");
    advance(2s);
    EXPECT_EQ(home->modalViewController(), nullptr);
}

}  // namespace
}  // namespace zorlet::test
