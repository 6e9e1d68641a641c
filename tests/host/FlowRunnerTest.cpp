#include "HostTestSupport.h"

#include "app/AppDelegate.h"
#include "app/ZorletTabBarController.h"
#include "platform/Image.h"
#include "platform/UserDefaults.h"
#include "session/LoginService.h"
#include "session/LoginUser.h"
#include "session/UserContext.h"
#include "ui/ImagePickerController.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"

#include <fstream>

namespace zorlet::test {
namespace {

class FlowRunnerTest : public HostTest {
protected:
    std::string rootClass() const {
        ViewController* root = app_.window() ? app_.window()->rootViewController() : nullptr;
        return root ? root->className() : "(none)";
    }
    // Signs in the way the sign-in screen does, so the next launch restores the session.
    static void signInDemo() {
        auto result = LoginService::getInstance().useLoginName(EmbeddedSandbox::demoAccount(),
                                                               EmbeddedSandbox::demoPassword());
        ASSERT_TRUE(result.success) << result.errorInfo.value_or("");
    }
};

TEST_F(FlowRunnerTest, AFailingAssertionStopsTheFlowAndPrintsTheScreen) {
    auto result = runFlowFile(sourceFolder() / "tests/host/flows/failing-assert.yaml");
    EXPECT_FALSE(result.passed);
    EXPECT_EQ(result.failedStep, 2);
    EXPECT_EQ(result.stepsRun, 2);
    EXPECT_NE(result.message.find("line 8: assertVisible"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("is not visible"), std::string::npos);
    EXPECT_EQ(result.screenDump.rfind("Window (0,0,320,480)", 0), 0u) << result.screenDump;
    std::string printed = output_.str();
    EXPECT_NE(printed.find("[1/3] launchApp"), std::string::npos) << printed;
    EXPECT_NE(printed.find("FAILED"), std::string::npos);
    EXPECT_NE(printed.find("screen:\nWindow"), std::string::npos);
    EXPECT_EQ(printed.find("[3/3]"), std::string::npos);  // nothing after the failure
}

TEST_F(FlowRunnerTest, StepsNeedARunningAppAndOptionalStepsMaySkip) {
    auto result = runFlow("- back\n");
    EXPECT_FALSE(result.passed);
    EXPECT_NE(result.message.find("launchApp first"), std::string::npos);

    result = runFlow(R"(- launchApp: {clearState: true, skipGuidance: true}
- tapOn: {id: noSuchButton, optional: true}
- assertNotVisible: {id: noSuchButton}
- dumpScreen
)");
    EXPECT_TRUE(result.passed) << result.message;
    EXPECT_NE(output_.str().find("skipped (nothing with id noSuchButton on screen)"), std::string::npos)
        << output_.str();
    EXPECT_NE(output_.str().find("\nWindow (0,0,320,480)"), std::string::npos);
}

TEST_F(FlowRunnerTest, LaunchAppRestoresTheSessionUnlessTheStateIsCleared) {
    ASSERT_TRUE(runFlow("- launchApp: {clearState: true}\n").passed);
    EXPECT_EQ(rootClass(), "GuidanceViewController");  // a fresh install shows the guidance first

    ASSERT_TRUE(runFlow("- launchApp: {clearState: true, skipGuidance: true}\n").passed);
    EXPECT_EQ(rootClass(), "WelcomeViewController");

    signInDemo();
    ASSERT_TRUE(runFlow("- launchApp\n").passed);
    EXPECT_EQ(rootClass(), "ZorletTabBarController");
    EXPECT_TRUE(UserContext::hasLogin());

    ASSERT_TRUE(runFlow("- launchApp: {clearState: true, skipGuidance: true}\n").passed);
    EXPECT_EQ(rootClass(), "WelcomeViewController");
    EXPECT_FALSE(UserContext::hasLogin());
    auto tokens = LoginUser::initFromData();
    EXPECT_TRUE(!tokens || tokens->isEmpty());
}

TEST_F(FlowRunnerTest, TheTabShellIsDrivenByTabsPushesAndTheClock) {
    ASSERT_TRUE(runFlow("- launchApp: {clearState: true, skipGuidance: true}\n").passed);
    signInDemo();
    Duration before = MainLoop::main().clock().uptime();
    auto result = runFlow(R"(- launchApp
- assertVisible: 好主意
- tapOn: 好主意
- advanceClock: 30
- deliverPush
- takeScreenshot: shell
- setLocation: {latitude: 39.9042, longitude: 116.4074}
- setNetwork: off
)");
    ASSERT_TRUE(result.passed) << result.message << "\n" << output_.str();
    auto* shell = dynamic_cast<ZorletTabBarController*>(app_.window()->rootViewController());
    ASSERT_NE(shell, nullptr);
    // The push selects the message tab, after the tap had selected the ideas.
    EXPECT_EQ(shell->selectedIndex(), 2);
    EXPECT_GE(MainLoop::main().clock().uptime() - before, Duration(30000));
    EXPECT_FALSE(Reachability::shared().isNetworkAvailable());
    ASSERT_TRUE(UserLocationSource::shared().location());
    EXPECT_DOUBLE_EQ(UserLocationSource::shared().location()->latitude, 39.9042);

    auto picture = Image::fromFile((screenshots_ / "shell.png").string());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pixelWidth(), 640);
    EXPECT_EQ(picture->pixelHeight(), 960);
}

TEST_F(FlowRunnerTest, AlertsAreAnsweredByTheirButtonTitle) {
    auto result = runFlow(R"(- launchApp: {clearState: true, skipGuidance: true}
- answerAlert: 确定
)");
    EXPECT_FALSE(result.passed);
    EXPECT_NE(result.message.find("no alert is shown"), std::string::npos);

    int answered = -1;
    auto alert = AlertView::create("网络状态", "网络不存在", nullptr, "确定");
    alert->setOnDismiss([&](int index) { answered = index; });
    alert->show();
    FlowRunner runner(app_, output_);
    FlowCommand wrong{"answerAlert", {{"button", "取消"}}, false, 1};
    auto refused = runner.runCommand(wrong);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.error(), "the alert \"网络状态\" has no button \"取消\"");
    FlowCommand right{"answerAlert", {{"button", "确定"}}, false, 2};
    auto taken = runner.runCommand(right);
    EXPECT_TRUE(taken) << taken.error();
    EXPECT_EQ(answered, 0);
}

TEST_F(FlowRunnerTest, WaitingForAnimationsLetsAFinishedProgressIndicatorFade) {
    ASSERT_TRUE(runFlow("- launchApp: {clearState: true, skipGuidance: true}\n").passed);
    auto hud = ProgressHUD::showHUDAddedTo(app_.window(), false);
    hud->setMode(ProgressHUD::Mode::Text);
    hud->setLabelText("发送成功");
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hide(true, Duration(2000));
    hud.reset();

    // The buttons under the indicator are covered until it has gone.
    auto result = runFlow(
        "- assertVisible: 发送成功\n- assertNotVisible: {id: goLogin}\n- waitForAnimationToEnd\n"
        "- assertNotVisible: 发送成功\n- assertVisible: {id: goLogin}\n");
    EXPECT_TRUE(result.passed) << result.message << "\n" << output_.str();
}

TEST_F(FlowRunnerTest, PickImageHandsTheFileToTheWaitingPicker) {
    ASSERT_TRUE(runFlow("- launchApp: {clearState: true, skipGuidance: true}\n").passed);
    std::filesystem::create_directories(screenshots_);
    Image red(40, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            reinterpret_cast<std::uint32_t*>(red.data() + y * red.stride())[x] = 0xFFFF0000u;
        }
    }
    std::ofstream(screenshots_ / "red.png", std::ios::binary) << red.pngData();
    std::ofstream(screenshots_ / "notes.txt") << "not a picture";

    FlowRunner runner(app_, output_);
    FlowCommand pick{"pickImage", {{"file", (screenshots_ / "red.png").string()}}, false, 1};
    auto nobodyAsked = runner.runCommand(pick);
    EXPECT_FALSE(nobodyAsked);
    EXPECT_EQ(nobodyAsked.error(), "no image picker is shown");

    struct Receiver : ImagePickerControllerDelegate {
        void imagePickerDidFinishPicking(ImagePickerController& picker, const ImagePtr&,
                                         const ImagePtr& edited) override {
            picked = edited;
            picker.dismissModalViewController(false);
        }
        ImagePtr picked;
    } receiver;
    auto picker = std::make_shared<ImagePickerController>();
    picker->setDelegate(&receiver);
    app_.window()->topViewController()->presentModalViewController(picker, false);
    FlowCommand notPicture{"pickImage", {{"file", (screenshots_ / "notes.txt").string()}}, false, 2};
    auto unreadable = runner.runCommand(notPicture);
    EXPECT_FALSE(unreadable);
    EXPECT_NE(unreadable.error().find("not a picture"), std::string::npos) << unreadable.error();
    EXPECT_EQ(ImagePickerController::visiblePicker(), picker.get());

    auto handed = runner.runCommand(pick);
    EXPECT_TRUE(handed) << handed.error();
    ASSERT_TRUE(receiver.picked);
    EXPECT_EQ(receiver.picked->pixelWidth(), 40);
    EXPECT_EQ(receiver.picked->pixelAt(5, 5), 0xFFFF0000u);
    EXPECT_EQ(ImagePickerController::visiblePicker(), nullptr);
}

}  // namespace
}  // namespace zorlet::test
