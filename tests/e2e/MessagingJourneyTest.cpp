// Two people talk through the local service, each on a client with its own
// data folder: Alice writes to Bob, Bob's message tab shows the unread count,
// reading the conversation clears it, Bob answers and Alice reads the answer.
#include "app/MessageNavigationController.h"
#include "app/TabBarLayout.h"
#include "app/ZorletTabBarController.h"
#include "messaging/DialogContentViewController.h"
#include "messaging/DialogOutbox.h"
#include "messaging/SmsListCell.h"
#include "messaging/SmsViewController.h"
#include "model/Dialog.h"
#include "model/UserHome.h"
#include "platform/DataFolder.h"
#include "sandbox/TestControl.h"
#include "session/LoginService.h"
#include "ui/UserInput.h"

#include "SandboxJourneyTest.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

// One person's client: its data folder, its cookies and who is signed in.
struct Device {
    std::filesystem::path root;
    std::vector<HttpCookie> cookies;
    std::shared_ptr<UserHome> home;
};

class MessagingJourneyTest : public SandboxJourneyTest {
protected:
    void SetUp() override {
        SandboxJourneyTest::SetUp();
        originalRoot_ = DataFolder::shared().root();
        auto& control = sandbox_->testControl();
        alice_.root = folder_ / "alice";
        bob_.root = folder_ / "bob";
        aliceUid_ = control.createUser({"alice@example.com", "secret99", "爱丽丝"}).value_or(0);
        bobUid_ = control.createUser({"bob@example.com", "secret99", "鲍勃"}).value_or(0);
        signIn(alice_, "alice@example.com");
        signIn(bob_, "bob@example.com");
    }
    void TearDown() override {
        window_->setRootViewController(nullptr);
        loop().runPending();
        DataFolder::shared().setRoot(originalRoot_);
        SandboxJourneyTest::TearDown();
    }
    void signIn(Device& device, const std::string& account) {
        use(device);
        ASSERT_TRUE(LoginService::getInstance().useLoginName(account, "secret99").success);
        leave(device);
    }
    void use(Device& device) {
        current_ = &device;
        DataFolder::shared().setRoot(device.root);
        CookieStore::shared().clearAll();
        for (const auto& cookie : device.cookies) {
            CookieStore::shared().setCookie(cookie);
        }
        UserContext::setUserHome(device.home);
    }
    void leave(Device& device) {
        window_->setRootViewController(nullptr);
        HttpQueue::shared().cancelAll();
        loop().runPending();
        device.cookies = CookieStore::shared().cookies();
        device.home = UserContext::getUserHome();
        CookieStore::shared().clearAll();
        UserContext::logout();
    }
    std::shared_ptr<DialogContentViewController> openConversation(UserPtr with, std::size_t expected) {
        auto conversation = std::make_shared<DialogContentViewController>();
        conversation->targetUser = std::move(with);
        auto navigation = std::make_shared<CustomNavigationController>(std::make_shared<ViewController>());
        window_->setRootViewController(navigation);
        window_->makeKeyAndVisible();
        navigation->pushViewController(conversation, false);
        EXPECT_TRUE(waitUntil([&] { return conversation->data && conversation->data->count() >= expected; },
                              20000ms));
        return conversation;
    }
    DialogContentPtr say(DialogContentViewController& conversation, const std::string& text) {
        conversation.textView->setText(text);
        conversation.sendSms();
        auto message = std::static_pointer_cast<DialogContent>(
            conversation.data->objectAtIndex(conversation.data->count() - 1));
        EXPECT_TRUE(waitUntil([&] { return message->sendStatus == DialogContent::Sent; }, 20000ms)) << text;
        return message;
    }

    std::filesystem::path originalRoot_;
    Device alice_;
    Device bob_;
    Device* current_ = nullptr;
    std::int64_t aliceUid_ = 0;
    std::int64_t bobUid_ = 0;
};

TEST_F(MessagingJourneyTest, TwoPeopleTalkAndTheUnreadBadgeRisesAndClears) {
    use(alice_);
    auto bob = User::convertFromDictionary({{"uid", bobUid_}, {"nickname", "鲍勃"}, {"gender", 1}});
    {
        auto conversation = openConversation(bob, 0);
        EXPECT_EQ(conversation->title(), "与 鲍勃 对话");
        say(*conversation, "你好，鲍勃！");
        say(*conversation, "周末去香山吗？");
        EXPECT_EQ(DialogOutbox::shared()->count(), 0u);
    }
    leave(alice_);

    use(bob_);
    std::vector<ViewControllerPtr> tabs;
    for (int index = 0; index < TabBarLayout::kTabCount; ++index) {
        if (index == TabBarLayout::kMessageTab) {
            tabs.push_back(
                std::make_shared<MessageNavigationController>(std::make_shared<SmsViewController>()));
        } else {
            tabs.push_back(std::make_shared<CustomNavigationController>(std::make_shared<ViewController>()));
        }
    }
    auto shell = std::make_shared<ZorletTabBarController>();
    shell->setViewControllers(tabs);
    window_->setRootViewController(shell);
    window_->makeKeyAndVisible();
    auto& badge = shell->viewControllers()[TabBarLayout::kMessageTab]->tabBarItem();
    ASSERT_TRUE(waitUntil([&] { return badge.badgeValue() == "2"; }, 20000ms));

    ASSERT_TRUE(UserInput::selectTab(*shell, TabBarLayout::kMessageTab));
    auto* messages = dynamic_cast<MessageNavigationController*>(shell->viewControllers()[2].get());
    auto list = std::dynamic_pointer_cast<SmsViewController>(messages->viewControllers().front());
    ASSERT_TRUE(
        waitUntil([&] { return list->data && list->data->count() == 1 && !list->reloading; }, 20000ms));
    EXPECT_TRUE(badge.badgeValue().empty());
    auto dialog = std::static_pointer_cast<Dialog>(list->data->objectAtIndex(0));
    EXPECT_EQ(dialog->targetUser->nickname, "爱丽丝");
    EXPECT_EQ(dialog->latestContent, "周末去香山吗？");
    EXPECT_TRUE(dialog->isSendToMe());

    // Still unread on the service until the conversation is read.
    shell->doNotice();
    ASSERT_TRUE(waitUntil([&] { return badge.badgeValue() == "2"; }, 20000ms));
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, IndexPath{0, 0}));
    auto conversation =
        std::dynamic_pointer_cast<DialogContentViewController>(messages->viewControllers().back());
    ASSERT_TRUE(conversation);
    ASSERT_TRUE(waitUntil([&] { return conversation->data->count() == 2; }, 20000ms));
    EXPECT_EQ(std::static_pointer_cast<DialogContent>(conversation->data->objectAtIndex(0))->content,
              "你好，鲍勃！");
    shell->doNotice();
    ASSERT_TRUE(waitUntil([&] { return badge.badgeValue().empty(); }, 20000ms));
    say(*conversation, "好啊，九点见");
    leave(bob_);

    use(alice_);
    {
        auto conversation = openConversation(bob, 3);
        auto last = std::static_pointer_cast<DialogContent>(conversation->data->objectAtIndex(2));
        EXPECT_EQ(last->content, "好啊，九点见");
        EXPECT_EQ(last->senderUid, bobUid_);
    }
    leave(alice_);
}

}  // namespace
}  // namespace zorlet::test
