#include "UiTestSupport.h"

#include "ui/ActionSheet.h"
#include "ui/AlertRegistry.h"
#include "ui/AlertView.h"
#include "ui/UserInput.h"

using namespace zorlet;
using zorlet::test::CallLog;
using Lines = std::vector<std::string>;

namespace {

class Recorder : public AlertViewDelegate, public ActionSheetDelegate {
public:
    CallLog log;
    void alertViewClickedButton(AlertView& alert, int index) override { add("clicked", alert.tag(), index); }
    void alertViewWillDismiss(AlertView& alert, int index) override {
        add("willDismiss", alert.tag(), index);
        // Still listed while it is being dismissed? No: gone only after will-dismiss.
        log.add(AlertRegistry::shared().topAlert() == &alert ? "still shown" : "gone");
    }
    void alertViewDidDismiss(AlertView& alert, int index) override {
        add("didDismiss", alert.tag(), index);
        log.add(AlertRegistry::shared().topAlert() == &alert ? "still shown" : "gone");
    }
    void actionSheetClickedButton(ActionSheet& sheet, int index) override {
        add("sheet.clicked", sheet.tag(), index);
    }
    void actionSheetDidDismiss(ActionSheet& sheet, int index) override {
        add("sheet.didDismiss", sheet.tag(), index);
    }

private:
    void add(const std::string& what, int tag, int index) {
        log.add(what + " tag=" + std::to_string(tag) + " index=" + std::to_string(index));
    }
};

using AlertTest = zorlet::test::UiTest;

TEST_F(AlertTest, AnAnsweredAlertTellsItsDelegateTheIndexAndTagThenDisappears) {
    Recorder recorder;
    auto alert = AlertView::create("网络状态", "网络不存在", &recorder, "取消", {"确定", "重试"});
    alert->setTag(7);
    alert->show();
    alert.reset();  // the registry keeps a shown alert alive

    auto& registry = AlertRegistry::shared();
    ASSERT_EQ(registry.alerts().size(), 1u);
    AlertView& shown = *registry.topAlert();
    EXPECT_EQ(shown.buttonTitles(), (Lines{"取消", "确定", "重试"}));
    EXPECT_EQ(shown.cancelButtonIndex(), 0);
    EXPECT_EQ(shown.firstOtherButtonIndex(), 1);

    EXPECT_FALSE(UserInput::answerAlert(3));  // no such button: still shown
    ASSERT_TRUE(UserInput::answerAlert(2));
    EXPECT_EQ(recorder.log.take(), (Lines{"clicked tag=7 index=2", "willDismiss tag=7 index=2", "still shown",
                                          "didDismiss tag=7 index=2", "gone"}));
    EXPECT_TRUE(registry.alerts().empty());
    EXPECT_FALSE(UserInput::answerAlert(0));
    EXPECT_EQ(registry.shownAlertTitles(), (Lines{"网络状态"}));
}

TEST_F(AlertTest, CodeDismissalSkipsClickedAndTheLatestAlertAnswersFirst) {
    Recorder recorder;
    auto first = AlertView::create("一", "", &recorder, "关闭");
    first->setTag(1);
    auto second = AlertView::create("二", "", &recorder, "", {"好"});
    second->setTag(2);
    int closureIndex = -1;
    second->setOnDismiss([&](int index) { closureIndex = index; });
    first->show();
    second->show();
    EXPECT_EQ(second->cancelButtonIndex(), -1);
    UserInput::answerAlert(0);
    EXPECT_EQ(closureIndex, 0);
    EXPECT_EQ(AlertRegistry::shared().topAlert(), first.get());
    recorder.log.take();

    first->dismissWithClickedButtonIndex(0, true);
    EXPECT_EQ(recorder.log.take(),
              (Lines{"willDismiss tag=1 index=0", "still shown", "didDismiss tag=1 index=0", "gone"}));
}

TEST_F(AlertTest, ADelegateThatGoesAwayIsNotCalled) {
    auto alert = AlertView::create("标题", "", nullptr, "关闭");
    {
        Recorder recorder;
        alert->setDelegate(&recorder);
        alert->show();
    }
    EXPECT_EQ(alert->delegate(), nullptr);
    EXPECT_TRUE(UserInput::answerAlert(0));
}

TEST_F(AlertTest, ATextInputAlertHasAFocusedFieldThatIsReadOnAnswer) {
    Recorder recorder;
    auto alert = AlertView::create("举报", "请输入理由", &recorder, "取消", {"提交"});
    alert->setAlertViewStyle(AlertView::Style::PlainTextInput);
    alert->show();
    ASSERT_NE(alert->textFieldAtIndex(0), nullptr);
    EXPECT_TRUE(alert->textFieldAtIndex(0)->isFirstResponder());
    UserInput::typeText("广告");
    std::string typed;
    alert->setOnDismiss([&](int) { typed = alert->textFieldAtIndex(0)->text(); });
    UserInput::answerAlert(1);
    EXPECT_EQ(typed, "广告");
    EXPECT_FALSE(Keyboard::shared().isShown());
}

TEST_F(AlertTest, SheetButtonsRunDestructiveOthersCancelAndAnswerWithTheirIndex) {
    Recorder recorder;
    View host(Rect(0, 0, 320, 460));
    auto sheet = ActionSheet::create("筛选", &recorder, "取消", "", {"全部", "宅男", "宅女"});
    sheet->setTag(9);
    sheet->showInView(&host);
    EXPECT_EQ(sheet->buttonTitles(), (Lines{"全部", "宅男", "宅女", "取消"}));
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    EXPECT_EQ(sheet->destructiveButtonIndex(), -1);
    EXPECT_EQ(AlertRegistry::shared().topSheet()->shownInView(), &host);
    ASSERT_TRUE(UserInput::answerSheet(2));
    EXPECT_EQ(recorder.log.take(), (Lines{"sheet.clicked tag=9 index=2", "sheet.didDismiss tag=9 index=2"}));
    EXPECT_TRUE(AlertRegistry::shared().sheets().empty());

    auto destructive = ActionSheet::create("", &recorder, "取消", "删除", {"编辑"});
    EXPECT_EQ(destructive->destructiveButtonIndex(), 0);
    EXPECT_EQ(destructive->firstOtherButtonIndex(), 1);
    EXPECT_EQ(destructive->cancelButtonIndex(), 2);
}

}  // namespace
