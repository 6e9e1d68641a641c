#include "ExternalTestSupport.h"

#include "external/ExternalPostContent.h"
#include "external/SendExternalPostViewController.h"
#include "people/RescueUsersViewController.h"
#include "platform/UnicodeText.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "widgets/CustomActionSheet.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

std::string chinese(int count, const std::string& character = "看") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += character;
    }
    return text;
}

class SendExternalPostTest : public ExternalPlacesTest {
protected:
    std::shared_ptr<SendExternalPostViewController> open(ExternalPostPtr shared) {
        auto screen = std::make_shared<SendExternalPostViewController>();
        screen->externalPost = std::move(shared);
        screen->realUrl = screen->externalPost->externalPostUrl;
        navigation_ = show(std::make_shared<ViewController>());
        navigation_->pushViewController(screen, false);
        return screen;
    }
    // Publishes and waits for the check mark.
    RecordedRequest publish(SendExternalPostViewController& screen) {
        std::size_t before = server_.countOf("/post/sendPost");
        screen.sendExternalPost();
        EXPECT_TRUE(waitForRequests("/post/sendPost", before + 1));
        return server_.lastRequestTo("/post/sendPost");
    }

    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(SendExternalPostTest, TheTextIsTheNameAndTheCommentAndTheRescueListFollows) {
    auto screen = open(place(101, "798"));
    EXPECT_EQ(screen->title(), "发布Zorlet");
    EXPECT_EQ(screen->contentLabel1->text(), "我想找伴去：798");
    EXPECT_EQ(screen->placeLabel->text(), "北京市朝阳区酒仙桥路101号");
    // The photo loads under an indicator and is then sent with the post.
    auto* hud = ProgressHUD::HUDForView(window_.get());
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->labelText(), "加载图片");
    ASSERT_TRUE(waitUntil([&] { return screen->photoImageView->tag() == 1; }));

    screen->textView->setText("看展");
    std::size_t eventsBefore = eventAttributes("sendExternalPost").size();
    auto sent = publish(*screen);
    EXPECT_EQ(sent.param("content"), "798，看展");
    EXPECT_EQ(sent.param("place"), "北京市朝阳区酒仙桥路101号");
    EXPECT_EQ(sent.param("link"), server_.url("/place/101"));
    EXPECT_EQ(sent.param("categoryId"), "0");
    EXPECT_EQ(sent.param("dateString"), "");
    ASSERT_EQ(sent.files.size(), 1u);
    EXPECT_EQ(sent.files[0].key, "postImg");
    ASSERT_TRUE(waitUntil([&] { return eventAttributes("sendExternalPost").size() == eventsBefore + 1; }));
    EXPECT_EQ(jsonString(eventAttributes("sendExternalPost").back(), "withComment"), "1");

    advance(2s);
    auto* rescue = dynamic_cast<RescueUsersViewController*>(navigation_->topViewController());
    ASSERT_NE(rescue, nullptr);
    EXPECT_EQ(rescue->postContent, "798，看展");
    EXPECT_EQ(navigation_->viewControllers().size(), 3u);  // the sharing screen stays beneath
}

TEST_F(SendExternalPostTest, AShortNameAloneIsSentWithoutAPictureWhenThereIsNoPhoto) {
    auto screen = open(place(103, "798", false));
    auto* hud = ProgressHUD::HUDForView(window_.get());
    EXPECT_TRUE(hud == nullptr || hud->isHidden());
    EXPECT_EQ(screen->photoImageView->tag(), 0);
    std::size_t eventsBefore = eventAttributes("sendExternalPost").size();
    auto sent = publish(*screen);
    EXPECT_EQ(sent.param("content"), "798");
    EXPECT_TRUE(sent.files.empty());
    ASSERT_TRUE(waitUntil([&] { return eventAttributes("sendExternalPost").size() == eventsBefore + 1; }));
    EXPECT_EQ(jsonString(eventAttributes("sendExternalPost").back(), "withComment"), "0");
}

TEST_F(SendExternalPostTest, TheCommentIsLimitedToFiftyCharacters) {
    auto screen = open(place(103, "后海酒吧", false));
    screen->textView->setText(chinese(51));
    screen->sendExternalPost();
    EXPECT_EQ(lastAlert(), "请不要超过50字");
    settle();
    EXPECT_EQ(server_.countOf("/post/sendPost"), 0u);
    AlertRegistry::shared().clear();
    screen->textView->setText(chinese(50));
    auto sent = publish(*screen);
    EXPECT_EQ(sent.param("content"), "后海酒吧，" + chinese(50));
}

TEST_F(SendExternalPostTest, TheTextNeverExceedsWhatTheServiceTakes) {
    // A long name with a full comment keeps the whole comment and cuts the name.
    std::string longName = chinese(160, "名");
    std::string content = ExternalPostContent::content(longName, chinese(50));
    EXPECT_EQ(UnicodeText::chineseLength(content), ExternalPostContent::kMaxContentLength);
    EXPECT_EQ(content.substr(content.size() - chinese(50).size()), chinese(50));
    EXPECT_NE(content.find("…，"), std::string::npos);
    // Short texts are untouched; a cut never splits a character.
    EXPECT_EQ(ExternalPostContent::content("798", ""), "798");
    EXPECT_EQ(ExternalPostContent::content("798", "  "), "798");
    EXPECT_EQ(ExternalPostContent::clipped("ab名字", 4), "ab…");  // the ellipsis is wide too
    EXPECT_EQ(ExternalPostContent::clipped("名字很长", 5), "名…");
    std::string longAddress = chinese(60, "路");
    EXPECT_EQ(UnicodeText::chineseLength(ExternalPostContent::place(longAddress)), 100u);
    EXPECT_EQ(ExternalPostContent::place("朝阳路1号"), "朝阳路1号");

    auto screen = open(place(103, longName, false));
    screen->externalPost->address = longAddress;
    screen->textView->setText(chinese(50));
    auto sent = publish(*screen);
    EXPECT_EQ(sent.param("content"), content);
    EXPECT_EQ(UnicodeText::chineseLength(sent.param("place")), 100u);
}

TEST_F(SendExternalPostTest, ADayCanBeChosenAndCleared) {
    auto screen = open(place(103, "后海酒吧", false));
    EXPECT_EQ(screen->timeLabel->text(), "选择一天");
    ASSERT_TRUE(UserInput::tap(*screen->timeInfoView));
    auto* sheet = dynamic_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->cancelItem()->title(), "清空");
    sheet->done();
    ASSERT_TRUE(screen->time);
    EXPECT_EQ(screen->time->size(), 10u);
    EXPECT_EQ(screen->timeLabel->text(), *screen->time);
    EXPECT_EQ(screen->timeLabel->textAlignment(), TextAlignment::Left);
    auto withDay = publish(*screen);
    EXPECT_EQ(withDay.param("dateString"), *screen->time);
    advance(3s);
    navigation_->popViewController();

    screen->openDate();
    dynamic_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet())->docancel();
    EXPECT_FALSE(screen->time);
    EXPECT_EQ(screen->timeLabel->text(), "选择一天");
    EXPECT_EQ(screen->timeLabel->textAlignment(), TextAlignment::Right);
    EXPECT_EQ(publish(*screen).param("dateString"), "");
}

TEST_F(SendExternalPostTest, TheAddressSetsTheLayoutAndLeavingAsksFirst) {
    auto shared = place(103, "后海酒吧", false);
    shared->address = chinese(80, "址");
    auto screen = open(shared);
    double placeHeight = screen->placeLabel->frame().height();
    EXPECT_GT(placeHeight, 22);
    EXPECT_LE(placeHeight, 200);
    EXPECT_EQ(screen->placeInfoView->frame().height(), placeHeight + 22);
    EXPECT_EQ(screen->placeLine->frame().y(), placeHeight + 22);
    EXPECT_EQ(screen->timeInfoView->frame().y(), screen->placeInfoView->frame().maxY());
    EXPECT_EQ(screen->basicInfoBgView->frame().height(),
              screen->placeInfoView->frame().height() + screen->timeInfoView->frame().height());
    EXPECT_EQ(screen->bigButton->frame().y(), screen->basicInfoBgView->frame().maxY() + 20);

    screen->textView->setText("一起");
    screen->close();
    EXPECT_EQ(lastAlert(), "提示");
    ASSERT_TRUE(UserInput::answerAlert(0));  // cancel: stay
    EXPECT_EQ(navigation_->topViewController(), screen.get());
    screen->close();
    ASSERT_TRUE(UserInput::answerAlert(1));
    EXPECT_NE(navigation_->topViewController(), screen.get());
}

}  // namespace
}  // namespace zorlet::test
