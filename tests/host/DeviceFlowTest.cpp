#include "HostTestSupport.h"

#include "app/AppDelegate.h"
#include "host/DesktopOpener.h"
#include "host/FlowDeviceCommands.h"
#include "host/HostOptions.h"
#include "host/ScreenGestures.h"
#include "host/ScreenQuery.h"
#include "platform/MessageOutbox.h"
#include "platform/RepeatingTimer.h"
#include "session/LoginService.h"
#include "ui/MailComposeViewController.h"
#include "ui/MessageComposeViewController.h"
#include "ui/NavigationController.h"
#include "ui/TabBarController.h"
#include "ui/Window.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

// Answers composers like a screen of the app does, dismissing them unless told to forget.
class ComposerOwner : public MessageComposeViewControllerDelegate, public MailComposeViewControllerDelegate {
public:
    void messageComposeViewController(MessageComposeViewController& composer, ComposeResult result) override {
        results.push_back(result);
        if (dismisses) {
            composer.dismissModalViewController(true);
        }
    }
    void mailComposeController(MailComposeViewController& composer, ComposeResult result) override {
        results.push_back(result);
        if (dismisses) {
            composer.dismissModalViewController(true);
        }
    }
    std::vector<ComposeResult> results;
    bool dismisses = true;
};

class DeviceFlowTest : public HostTest {
protected:
    void TearDown() override {
        ComposeViewController::setDelivery(nullptr);
        HostTest::TearDown();
    }
    static std::size_t outboxCount() {
        std::size_t count = 0;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(
                 DataFolder::shared().root() / MessageOutbox::kFolderName, error)) {
            count += entry.is_regular_file() ? 1 : 0;
        }
        return count;
    }
    void present(const std::shared_ptr<ComposeViewController>& composer) {
        app_.window()->topViewController()->presentModalViewController(composer, false);
    }
};

TEST_F(DeviceFlowTest, LeavingTheAppStopsTheNoticePollAndComingBackRestartsIt) {
    ASSERT_TRUE(runFlow("- launchApp: {clearState: true, skipGuidance: true}\n").passed);
    auto result = LoginService::getInstance().useLoginName(EmbeddedSandbox::demoAccount(),
                                                           EmbeddedSandbox::demoPassword());
    ASSERT_TRUE(result.success);
    ASSERT_TRUE(runFlow("- launchApp\n").passed);
    AppDelegate* delegate = app_.delegate();
    ASSERT_TRUE(delegate->noticeTimer && delegate->noticeTimer->isValid());

    auto flow = runFlow("- background\n- advanceClock: 60\n");
    ASSERT_TRUE(flow.passed) << flow.message;
    EXPECT_TRUE(app_.isInBackground());
    EXPECT_FALSE(delegate->noticeTimer && delegate->noticeTimer->isValid());
    flow = runFlow("- background\n");
    EXPECT_FALSE(flow.passed);
    EXPECT_NE(flow.message.find("already in the background"), std::string::npos) << flow.message;

    flow = runFlow("- foreground\n");
    ASSERT_TRUE(flow.passed) << flow.message;
    EXPECT_FALSE(app_.isInBackground());
    EXPECT_TRUE(delegate->noticeTimer && delegate->noticeTimer->isValid());
    flow = runFlow("- foreground\n");
    EXPECT_FALSE(flow.passed);
    EXPECT_NE(flow.message.find("not in the background"), std::string::npos) << flow.message;
}

TEST_F(DeviceFlowTest, FlowsReadAndAnswerTheComposerAndTheMessageLandsInTheOutbox) {
    ASSERT_TRUE(runFlow("- launchApp: {clearState: true, skipGuidance: true}\n").passed);
    auto none = runFlow("- answerComposer: sent\n");
    EXPECT_FALSE(none.passed);
    EXPECT_NE(none.message.find("no message or mail composer is shown"), std::string::npos);

    ComposerOwner owner;
    auto mail = std::make_shared<MailComposeViewController>();
    mail->setSubject("分享Zorlet好主意");
    mail->setToRecipients({"friend@example.test"});
    mail->setMessageBody("一起去爬山吧 <a href=\"http://zorlet.test/idea/1\">去看看</a>", true);
    mail->setMailComposeDelegate(&owner);
    present(mail);
    std::size_t before = outboxCount();

    auto flow = runFlow(R"(- assertVisible: 主题：分享Zorlet好主意
- assertVisible: 收件人：friend@example.test
- assertComposer: {subject: 分享Zorlet好主意, recipients: friend@example.test, body: 一起去爬山吧 去看看}
- assertComposer: {body: '.*href="http://zorlet\.test/idea/1".*'}
- answerComposer: sent
- assertNotVisible: 主题：分享Zorlet好主意
)");
    ASSERT_TRUE(flow.passed) << flow.message << "\n" << output_.str();
    EXPECT_EQ(owner.results, std::vector<ComposeResult>{ComposeResult::Sent});
    EXPECT_EQ(outboxCount(), before + 1);

    // A mismatch names what the composer holds.
    auto sms = std::make_shared<MessageComposeViewController>();
    sms->setBody("刚发现一个小清新的脱宅社区");
    sms->setMessageComposeDelegate(&owner);
    owner.dismisses = false;  // the flow still gets past a composer its screen forgot to close
    present(sms);
    flow = runFlow("- assertComposer: {body: 别的}\n");
    EXPECT_FALSE(flow.passed);
    EXPECT_NE(flow.message.find("the composer's body is \"刚发现一个小清新的脱宅社区\""), std::string::npos)
        << flow.message;
    flow = runFlow("- answerComposer: maybe\n");
    EXPECT_FALSE(flow.passed);
    flow = runFlow("- answerComposer: cancelled\n- assertNotVisible: 收件人：\n");
    ASSERT_TRUE(flow.passed) << flow.message;
    EXPECT_EQ(owner.results.back(), ComposeResult::Cancelled);
    EXPECT_EQ(outboxCount(), before + 1);
    EXPECT_EQ(ComposeViewController::presentedComposer(), nullptr);
}

TEST_F(DeviceFlowTest, FlowsAssertTheLastLinkTheAppOpened) {
    ASSERT_TRUE(runFlow("- launchApp: {clearState: true, skipGuidance: true}\n").passed);
    auto flow = runFlow("- assertOpenedUrl\n");
    EXPECT_FALSE(flow.passed);
    EXPECT_NE(flow.message.find("no link was opened"), std::string::npos);

    Application::shared().openURL("mailto:a@example.test");
    Application::shared().openURL("https://store.example.test/app?id=1");
    flow = runFlow("- assertOpenedUrl\n- assertOpenedUrl: 'https://store\\.example\\.test/.*'\n");
    EXPECT_TRUE(flow.passed) << flow.message;
    flow = runFlow("- assertOpenedUrl: 'mailto:.*'\n");
    EXPECT_FALSE(flow.passed);
    EXPECT_NE(flow.message.find("the last link opened was \"https://store.example.test/app?id=1\""),
              std::string::npos)
        << flow.message;
}

TEST(DeviceFlowParsing, TheNewCommandsTakeTheirArguments) {
    auto flow = FlowParser::parseText(
        "- background\n- foreground\n- answerComposer: sent\n- assertComposer: {subject: a, body: b}\n"
        "- assertOpenedUrl: 'sms:.*'\n");
    ASSERT_TRUE(flow) << flow.error();
    ASSERT_EQ(flow->commands.size(), 5u);
    EXPECT_EQ(flow->commands[2].arguments["result"], "sent");
    EXPECT_EQ(flow->commands[3].arguments["body"], "b");
    EXPECT_EQ(flow->commands[4].arguments["url"], "sms:.*");
    EXPECT_FALSE(FlowParser::parseText("- answerComposer\n"));
    EXPECT_FALSE(FlowParser::parseText("- assertComposer: {title: x}\n"));
    EXPECT_FALSE(FlowParser::parseText("- background: now\n"));
}

// Tab badges and bar items are text a user reads, so flows find them.
TEST(DeviceFlowScreen, ATabBadgeAndBarItemsAreFoundByTheirText) {
    auto first = std::make_shared<ViewController>();
    first->setTitle("好主意");
    auto messages = std::make_shared<ViewController>();
    messages->setTitle("消息");
    messages->navigationItem().setRightBarButtonItem(
        std::make_shared<BarButtonItem>("编辑", BarButtonItem::Style::Bordered, nullptr));
    auto messagesTab = std::make_shared<NavigationController>(messages);
    auto tabs = std::make_shared<TabBarController>();
    tabs->setViewControllers({std::make_shared<NavigationController>(first), messagesTab});
    auto window = std::make_shared<Window>();
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();

    messagesTab->tabBarItem().setBadgeValue("7");
    auto badge = ScreenQuery(*window).findText("7");
    ASSERT_EQ(badge.size(), 1u);
    EXPECT_EQ(badge[0].kind, ScreenMatch::Kind::TabItem);
    EXPECT_EQ(badge[0].index, 1);
    EXPECT_TRUE(ScreenQuery(*window).findText("8").empty());

    auto tapped = ScreenGestures(*window).tap(badge[0]);
    ASSERT_TRUE(tapped) << tapped.error();
    EXPECT_EQ(tabs->selectedIndex(), 1);
    EXPECT_EQ(ScreenQuery(*window).findText("编辑").size(), 1u);
    messagesTab->tabBarItem().setBadgeValue("");
    EXPECT_TRUE(ScreenQuery(*window).findText("7").empty());
}

TEST(DeviceFlowParsing, TheHostCanPlayADeviceThatSendsNoMessagesOrMail) {
    std::vector<const char*> plain{"zorlet", "--sandbox"};
    auto defaults = HostOptions::parse(static_cast<int>(plain.size()), plain.data());
    ASSERT_TRUE(defaults) << defaults.error();
    EXPECT_TRUE(defaults->canSendText);
    EXPECT_TRUE(defaults->canSendMail);
    std::vector<const char*> without{"zorlet", "--sandbox", "--no-sms", "--no-mail"};
    auto limited = HostOptions::parse(static_cast<int>(without.size()), without.data());
    ASSERT_TRUE(limited) << limited.error();
    EXPECT_FALSE(limited->canSendText);
    EXPECT_FALSE(limited->canSendMail);
}

TEST(DesktopOpenerPolicy, OnlyWebMailMessageAndMapLinksGoToTheDesktop) {
    for (const char* url :
         {"https://zorlet.test/a?b=c", "http://example.test", "mailto:a@example.test?subject=x",
          "sms:10086?body=hi", "maps:?daddr=39.9,116.4", "geo:39.9,116.4", "HTTPS://x.test"}) {
        EXPECT_TRUE(DesktopOpener::isAllowed(url)) << url;
    }
    for (const char* url :
         {"file:///etc/passwd", "javascript:alert(1)", "-h", "--help", "", "http:", "https://",
          "https://x.test/a b", "https://x.test/\n", "smb://host/share", "zorlet"}) {
        EXPECT_FALSE(DesktopOpener::isAllowed(url)) << url;
    }
    EXPECT_FALSE(DesktopOpener::isAllowed("https://x.test/" + std::string(20000, 'a')));
    EXPECT_FALSE(DesktopOpener::open("file:///etc/passwd"));
}

// A stand-in xdg-open first on the PATH records the arguments it was given.
TEST(DesktopOpenerPolicy, TheLinkReachesXdgOpenAsOneArgumentWithoutAShell) {
    auto folder = std::filesystem::temp_directory_path() / ("zorlet-opener-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto record = folder / "args.txt";
    {
        std::ofstream script(folder / "xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > '" << record.string() << ".tmp'\nmv '"
               << record.string() << ".tmp' '" << record.string() << "'\n";
    }
    std::filesystem::permissions(folder / "xdg-open", std::filesystem::perms::owner_all);
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (folder.string() + ":" + oldPath).c_str(), 1);

    const std::string url = "https://x.test/?q=$(touch%20pwned)&a=';rm'";
    bool opened = DesktopOpener::open(url);
    ::setenv("PATH", oldPath.c_str(), 1);
    ASSERT_TRUE(opened);
    for (int i = 0; i < 200 && !std::filesystem::exists(record); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    std::ifstream in(record);
    std::string count;
    std::string argument;
    std::getline(in, count);
    std::getline(in, argument);
    EXPECT_EQ(count, "1");
    EXPECT_EQ(argument, url);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zorlet::test
