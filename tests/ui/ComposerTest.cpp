#include "UiTestSupport.h"

#include "platform/DataFolder.h"
#include "platform/MessageOutbox.h"
#include "ui/Button.h"
#include "ui/MailComposeViewController.h"
#include "ui/MessageComposeViewController.h"
#include "ui/UserInput.h"
#include "ui/ViewTreeDump.h"
#include "ui/Window.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace zorlet;

namespace {

// The screen that presents a composer and, as the phone framework expects, dismisses it when told.
class SharingScreen : public ViewController,
                      public MessageComposeViewControllerDelegate,
                      public MailComposeViewControllerDelegate {
public:
    void messageComposeViewController(MessageComposeViewController& composer, ComposeResult result) override {
        results.push_back(result);
        composer.dismissModalViewController(true);
    }
    void mailComposeController(MailComposeViewController& composer, ComposeResult result) override {
        results.push_back(result);
        composer.dismissModalViewController(true);
    }
    std::vector<ComposeResult> results;
};

class ComposerTest : public test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        std::filesystem::remove_all(outbox());
        screen_ = std::make_shared<SharingScreen>();
        window_ = std::make_shared<Window>();
        window_->setRootViewController(screen_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override {
        ComposeViewController::setDelivery(nullptr);
        MessageComposeViewController::setCanSendText(true);
        MailComposeViewController::setCanSendMail(true);
        window_.reset();
        screen_.reset();
        UiTest::TearDown();
    }
    static std::filesystem::path outbox() { return DataFolder::shared().root() / MessageOutbox::kFolderName; }
    static std::vector<std::filesystem::path> outboxFiles() {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(outbox(), error)) {
            files.push_back(entry.path());
        }
        return files;
    }
    static std::string contents(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static bool tapBarButton(ComposeViewController& composer, bool right) {
        Button* button =
            right ? composer.navigationBar().rightButton() : composer.navigationBar().leftButton();
        return button != nullptr && UserInput::tap(*button);
    }

    std::shared_ptr<SharingScreen> screen_;
    std::shared_ptr<Window> window_;
};

TEST_F(ComposerTest, MessageComposerShowsWhatItHoldsAndSendingReachesTheDelegateAndTheOutbox) {
    auto composer = std::make_shared<MessageComposeViewController>();
    composer->setRecipients({"13800138000"});
    composer->setBody("刚发现一个小清新的脱宅社区 http://example.test/");
    composer->setMessageComposeDelegate(screen_.get());
    screen_->presentModalViewController(composer, true);
    ASSERT_EQ(ComposeViewController::presentedComposer(), composer.get());

    std::string dump = ViewTreeDump::dumpScreen(*window_);
    EXPECT_NE(dump.find("收件人：13800138000"), std::string::npos) << dump;
    EXPECT_NE(dump.find("刚发现一个小清新的脱宅社区 http://example.test/"), std::string::npos) << dump;
    EXPECT_NE(dump.find("取消"), std::string::npos) << dump;
    EXPECT_NE(dump.find("发送"), std::string::npos) << dump;

    ASSERT_TRUE(tapBarButton(*composer, true));
    EXPECT_EQ(screen_->results, std::vector<ComposeResult>{ComposeResult::Sent});
    EXPECT_EQ(screen_->modalViewController(), nullptr);
    EXPECT_EQ(ComposeViewController::presentedComposer(), nullptr);

    auto files = outboxFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].extension(), ".txt");
    EXPECT_EQ(contents(files[0]), "To: 13800138000\n\n刚发现一个小清新的脱宅社区 http://example.test/\n");

    // A second answer after the first one changes nothing.
    composer->send();
    EXPECT_EQ(screen_->results.size(), 1u);
    EXPECT_EQ(outboxFiles().size(), 1u);
}

TEST_F(ComposerTest, CancellingSendsNothingAndAFailedHandOffIsReportedAsFailed) {
    std::vector<OutgoingMessage> handedOff;
    ComposeViewController::setDelivery([&](const OutgoingMessage& message) {
        handedOff.push_back(message);
        return ComposeResult::Failed;
    });
    auto first = std::make_shared<MessageComposeViewController>();
    first->setMessageComposeDelegate(screen_.get());
    screen_->presentModalViewController(first, false);
    ASSERT_TRUE(tapBarButton(*first, false));
    EXPECT_TRUE(handedOff.empty());

    auto second = std::make_shared<MessageComposeViewController>();
    second->setBody("hi");
    second->setMessageComposeDelegate(screen_.get());
    screen_->presentModalViewController(second, false);
    second->send();
    ASSERT_EQ(handedOff.size(), 1u);
    EXPECT_EQ(handedOff[0].body, "hi");

    // Answering "failed" hands nothing over.
    auto third = std::make_shared<MessageComposeViewController>();
    third->setMessageComposeDelegate(screen_.get());
    screen_->presentModalViewController(third, false);
    third->answer(ComposeResult::Failed);
    EXPECT_EQ(handedOff.size(), 1u);

    EXPECT_EQ(screen_->results, (std::vector<ComposeResult>{ComposeResult::Cancelled, ComposeResult::Failed,
                                                            ComposeResult::Failed}));
    EXPECT_EQ(screen_->modalViewController(), nullptr);
    EXPECT_TRUE(outboxFiles().empty());
}

TEST_F(ComposerTest, MailComposerShowsSubjectAndReadableHtmlAndWritesAnEml) {
    auto composer = std::make_shared<MailComposeViewController>();
    composer->setSubject("发现一个不错的社区，蛮有新意的");
    composer->setToRecipients({"friend@example.test"});
    composer->setMessageBody("周末不想宅在家的朋友可以来试试哦~ <a href='http://example.test/'>去看看</a>",
                             true);
    composer->addAttachmentData("\x89PNG", "image/png", "a.png");
    composer->setMailComposeDelegate(screen_.get());
    screen_->presentModalViewController(composer, true);

    std::string dump = ViewTreeDump::dumpScreen(*window_);
    EXPECT_NE(dump.find("主题：发现一个不错的社区，蛮有新意的"), std::string::npos) << dump;
    EXPECT_NE(dump.find("收件人：friend@example.test"), std::string::npos) << dump;
    EXPECT_NE(dump.find("周末不想宅在家的朋友可以来试试哦~ 去看看"), std::string::npos) << dump;
    EXPECT_EQ(dump.find("<a href"), std::string::npos) << dump;
    EXPECT_TRUE(composer->isBodyHTML());

    ASSERT_TRUE(tapBarButton(*composer, true));
    EXPECT_EQ(screen_->results, std::vector<ComposeResult>{ComposeResult::Sent});
    auto files = outboxFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].extension(), ".eml");
    std::string eml = contents(files[0]);
    EXPECT_NE(eml.find("To: friend@example.test\r\n"), std::string::npos) << eml;
    EXPECT_NE(eml.find("Content-Type: multipart/mixed"), std::string::npos) << eml;
    EXPECT_NE(eml.find("Content-Type: text/html; charset=UTF-8"), std::string::npos) << eml;
    EXPECT_NE(eml.find("filename=\"a.png\""), std::string::npos) << eml;
}

TEST_F(ComposerTest, AComposerWithoutADelegateClosesItselfAndTheDeviceAbilitiesAreSettable) {
    auto composer = std::make_shared<MailComposeViewController>();
    screen_->presentModalViewController(composer, false);
    composer->cancel();
    EXPECT_EQ(screen_->modalViewController(), nullptr);
    MainLoop::main().runPending();

    EXPECT_TRUE(MessageComposeViewController::canSendText());
    EXPECT_TRUE(MailComposeViewController::canSendMail());
    MessageComposeViewController::setCanSendText(false);
    MailComposeViewController::setCanSendMail(false);
    EXPECT_FALSE(MessageComposeViewController::canSendText());
    EXPECT_FALSE(MailComposeViewController::canSendMail());
}

}  // namespace
