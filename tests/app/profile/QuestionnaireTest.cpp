#include "MyHomeTestSupport.h"

#include "profile/EditorListViewController.h"
#include "profile/ProfileSettingViewController.h"
#include "profile/UserPreferenceCheckboxViewController.h"
#include "profile/UserPreferenceDescriptionViewController.h"
#include "profile/UserPreferenceSettingViewController.h"
#include "profile/UserPreferenceTextareaViewController.h"
#include "ui/Keyboard.h"

namespace zorlet::test {
namespace {

std::string chinese(int characters) {
    std::string text;
    for (int i = 0; i < characters; ++i) {
        text += "山";
    }
    return text;
}

class QuestionnaireTest : public MyHomeTestBase {
protected:
    void TearDown() override {
        Keyboard::shared().reset();
        MyHomeTestBase::TearDown();
    }
    std::shared_ptr<UserPreferenceSettingViewController> openQuestionnaire() {
        show(std::make_shared<ViewController>());
        auto screen = std::make_shared<UserPreferenceSettingViewController>();
        navigation_->pushViewController(screen, false);
        return screen;
    }
    // Selects the question's row; for a picker question, picks rows and answers the sheet.
    static CustomActionSheet* sheet() {
        return dynamic_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet());
    }
    static bool confirmSheet() { return sheet() != nullptr && UserInput::tapBarButton(*sheet()->doneItem()); }
    static bool cancelSheet() {
        return sheet() != nullptr && UserInput::tapBarButton(*sheet()->cancelItem());
    }
    static std::vector<std::string> answersOf(const Preference& preference) {
        std::vector<std::string> texts;
        for (const auto& answer : preference.answers) {
            texts.push_back(jsonTextForm(answer));
        }
        return texts;
    }
    // Answers the single-choice question (second row) with its third option, unsaved.
    void answerSingleChoice(UserPreferenceSettingViewController& screen) {
        ASSERT_TRUE(UserInput::tapRow(*screen.tableView, {0, 1}));
        ASSERT_TRUE(UserInput::pickRow(*screen.picker, 3, 0));
        ASSERT_TRUE(confirmSheet());
        ASSERT_TRUE(screen.saveButton()->isEnabled());
    }
    bool hudGone() {
        return waitUntil([&] { return ProgressHUD::HUDForView(&navigation_->view()) == nullptr; });
    }
};

TEST_F(QuestionnaireTest, TheEditorListLeadsToTheProfileAndTheQuestionnaire) {
    auto list = std::make_shared<EditorListViewController>();
    show(list);
    EXPECT_EQ(list->title(), "设置个人资料");
    EXPECT_EQ(list->cellForRow(*list->tableView, {0, 1})->textLabel().text(), "Zorlet偏好");
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, {0, 0}));
    auto* modal = dynamic_cast<CustomNavigationController*>(list->modalViewController());
    ASSERT_NE(modal, nullptr);
    EXPECT_NE(dynamic_cast<ProfileSettingViewController*>(modal->topViewController()), nullptr);
    list->dismissModalViewController(false);
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, {0, 1}));
    auto* questionnaire = top<UserPreferenceSettingViewController>();
    ASSERT_NE(questionnaire, nullptr);
    EXPECT_EQ(questionnaire->title(), "设置Zorlet偏好");
    EXPECT_EQ(questionnaire->preferenceArray.size(), 4u);
}

TEST_F(QuestionnaireTest, QuestionsAreGroupedByFourAndEditedInACopy) {
    Json nine = myHomeJson();
    for (int id = 5; id <= 9; ++id) {
        nine["preferenceViews"].push_back(myQuestion(id, 1));
    }
    signInWith(nine);
    auto screen = openQuestionnaire();
    TableView& table = *screen->tableView;
    EXPECT_EQ(screen->numberOfSections(table), 3);
    EXPECT_EQ(screen->numberOfRows(table, 1), 4);
    EXPECT_EQ(screen->numberOfRows(table, 2), 1);
    EXPECT_NE(screen->preferenceArray[0], UserContext::getUserHome()->preferences[0]);
    EXPECT_FALSE(screen->saveButton()->isEnabled());

    // Single choice: "请选择" and the options; confirming on "请选择" leaves no answer and shows the tip.
    ASSERT_TRUE(UserInput::tapRow(table, {0, 1}));
    ASSERT_NE(screen->picker, nullptr);
    EXPECT_EQ(screen->picker->numberOfComponents(), 1);
    EXPECT_EQ(screen->picker->numberOfRows(0), 5);
    EXPECT_EQ(screen->titleForRow(*screen->picker, 0, 0), "请选择");
    EXPECT_EQ(screen->titleForRow(*screen->picker, 3, 0), "选项2");
    ASSERT_TRUE(UserInput::pickRow(*screen->picker, 3, 0));
    ASSERT_TRUE(cancelSheet());
    EXPECT_FALSE(screen->saveButton()->isEnabled());
    ASSERT_TRUE(UserInput::tapRow(table, {0, 1}));
    ASSERT_TRUE(UserInput::pickRow(*screen->picker, 3, 0));
    ASSERT_TRUE(confirmSheet());
    const Preference& single = *screen->preferenceArray[1];
    EXPECT_EQ(answersOf(single), std::vector<std::string>{"2"});
    EXPECT_EQ(single.displayAnswer, "选项2");
    EXPECT_TRUE(screen->saveButton()->isEnabled());
    EXPECT_TRUE(navigation_->popAlert());
    // The signed-in user's home is untouched until saved.
    EXPECT_TRUE(UserContext::getUserHome()->preferences[1]->answers.empty());
    ASSERT_TRUE(UserInput::tapRow(table, {0, 1}));
    EXPECT_EQ(screen->picker->selectedRow(0), 3);
    ASSERT_TRUE(UserInput::pickRow(*screen->picker, 0, 0));
    ASSERT_TRUE(confirmSheet());
    EXPECT_TRUE(single.answers.empty());
    EXPECT_EQ(single.finalDisplayAnswer(), "还没有填写");

    // Range from 18 to 40: 23 values per wheel, stored low then high.
    ASSERT_TRUE(UserInput::tapRow(table, {0, 2}));
    EXPECT_EQ(screen->picker->numberOfComponents(), 2);
    EXPECT_EQ(screen->picker->numberOfRows(1), 23);
    ASSERT_TRUE(UserInput::pickRow(*screen->picker, 30 - 18, 0));
    ASSERT_TRUE(UserInput::pickRow(*screen->picker, 25 - 18, 1));
    ASSERT_TRUE(confirmSheet());
    const Preference& range = *screen->preferenceArray[2];
    EXPECT_EQ(answersOf(range), (std::vector<std::string>{"25", "30"}));
    EXPECT_EQ(range.displayAnswer, "25-30");
    ASSERT_TRUE(UserInput::tapRow(table, {0, 2}));
    EXPECT_EQ(screen->picker->selectedRow(0), 7);
    EXPECT_EQ(screen->picker->selectedRow(1), 12);
    ASSERT_TRUE(UserInput::pickRow(*screen->picker, 12, 0));
    ASSERT_TRUE(confirmSheet());
    EXPECT_EQ(range.displayAnswer, "30");

    // Leaving with unsaved answers asks first.
    ASSERT_TRUE(tapLeft(*screen));
    EXPECT_EQ(top<UserPreferenceSettingViewController>(), screen.get());
    EXPECT_NE(AlertRegistry::shared().topAlert(), nullptr);
}

TEST_F(QuestionnaireTest, MultipleChoiceKeepsItsBoundsAndItsSupplement) {
    auto screen = openQuestionnaire();
    ASSERT_TRUE(UserInput::tapRow(*screen->tableView, {0, 0}));
    auto* boxes = top<UserPreferenceCheckboxViewController>();
    ASSERT_NE(boxes, nullptr);
    EXPECT_EQ(boxes->numberOfSections(*boxes->tableView), 2);
    EXPECT_FALSE(navigation_->popAlert());
    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {0, 2}));
    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {0, 0}));
    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {0, 3}));
    EXPECT_EQ(boxes->cellForRow(*boxes->tableView, {0, 3})->accessoryType(),
              TableViewCell::AccessoryType::Checkmark);
    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {0, 1}));
    EXPECT_EQ(lastAlertTitle(), "选择请不要超过3项");
    AlertRegistry::shared().clear();
    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {0, 3}));
    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {0, 0}));
    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {0, 2}));
    EXPECT_EQ(lastAlertTitle(), "请至少选择1项");
    EXPECT_EQ(answersOf(*boxes->copyPreference), std::vector<std::string>{"2"});
    AlertRegistry::shared().clear();

    // The supplement: over 50 characters refused, 50 accepted, into the copy only.
    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {1, 0}));
    auto* supplement = top<UserPreferenceDescriptionViewController>();
    ASSERT_NE(supplement, nullptr);
    supplement->textField->setText(chinese(51));
    ASSERT_TRUE(tapRight(*supplement));
    EXPECT_EQ(lastAlertTitle(), "补充内容请不要超过50字");
    EXPECT_EQ(top<UserPreferenceDescriptionViewController>(), supplement);
    supplement->textField->setText(chinese(50));
    ASSERT_TRUE(tapRight(*supplement));
    ASSERT_EQ(top<UserPreferenceCheckboxViewController>(), boxes);
    EXPECT_EQ(boxes->cellForRow(*boxes->tableView, {1, 0})->detailTextLabel().text(), chinese(50));
    EXPECT_TRUE(screen->preferenceArray[0]->description.empty());

    ASSERT_TRUE(UserInput::tapRow(*boxes->tableView, {0, 0}));
    ASSERT_TRUE(tapRight(*boxes));
    ASSERT_EQ(top<UserPreferenceSettingViewController>(), screen.get());
    const Preference& chosen = *screen->preferenceArray[0];
    EXPECT_EQ(answersOf(chosen), (std::vector<std::string>{"2", "0"}));
    EXPECT_EQ(chosen.displayAnswer, "选项2,选项0");
    EXPECT_EQ(chosen.description, chinese(50));
    EXPECT_TRUE(screen->saveButton()->isEnabled());
    EXPECT_TRUE(navigation_->popAlert());

    // Leaving the choices without confirming discards them.
    ASSERT_TRUE(UserInput::tapRow(*screen->tableView, {0, 0}));
    ASSERT_TRUE(UserInput::tapRow(*top<UserPreferenceCheckboxViewController>()->tableView, {0, 1}));
    navigation_->popViewController(false);
    EXPECT_EQ(answersOf(chosen), (std::vector<std::string>{"2", "0"}));
}

TEST_F(QuestionnaireTest, FreeTextIsCheckedInLengthUnits) {
    auto screen = openQuestionnaire();
    ASSERT_TRUE(UserInput::tapRow(*screen->tableView, {0, 3}));
    auto* editor = top<UserPreferenceTextareaViewController>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->title(), "问题4");
    editor->textView->setText(chinese(101));
    ASSERT_TRUE(tapRight(*editor));
    EXPECT_EQ(lastAlertTitle(), "输入内容请不要超过100字");
    EXPECT_EQ(top<UserPreferenceTextareaViewController>(), editor);

    // No emoji while the keyboard is in its emoji mode.
    editor->textView->setText("");
    editor->textView->becomeFirstResponder();
    Keyboard::shared().setCurrentInputMode("emoji");
    UserInput::typeText("x");
    EXPECT_EQ(editor->textView->text(), "");
    Keyboard::shared().setCurrentInputMode("zh-Hans");

    // Empty with a minimum of 0: accepted as no answer.
    ASSERT_TRUE(tapRight(*editor));
    ASSERT_EQ(top<UserPreferenceSettingViewController>(), screen.get());
    EXPECT_TRUE(screen->preferenceArray[3]->answers.empty());
    EXPECT_TRUE(screen->saveButton()->isEnabled());

    ASSERT_TRUE(UserInput::tapRow(*screen->tableView, {0, 3}));
    editor = top<UserPreferenceTextareaViewController>();
    editor->textView->setText(" 香山 ");
    ASSERT_TRUE(tapRight(*editor));
    EXPECT_EQ(answersOf(*screen->preferenceArray[3]), std::vector<std::string>{"香山"});
    EXPECT_EQ(screen->preferenceArray[3]->displayAnswer, "香山");
}

TEST_F(QuestionnaireTest, SavingSendsEveryQuestionAndUpdatesTheHomeInPlace) {
    Json home = myHomeJson();
    Json wide = myQuestion(9, 0, Json::array({"3", "5"}), "c,e");
    for (int value = 4; value < 6; ++value) {
        wide["options"].push_back({{"name", "选项" + std::to_string(value)}, {"value", value}});
    }
    wide["description"] = "周末";
    home["preferenceViews"] = Json::array({myQuestion(1, 1), myQuestion(2, 3), wide});
    signInWith(home);
    UserHomePtr records = UserContext::getUserHome();
    auto screen = openQuestionnaire();
    Json params = screen->saveParams();
    EXPECT_EQ(params.size(), 6u);
    EXPECT_EQ(params["userPreferences[0].preferenceId"], 1);
    EXPECT_EQ(params["userPreferences[2].preferenceId"], 9);
    EXPECT_EQ(params["userPreferences[2].description"], "周末");
    EXPECT_EQ(params["userPreferences[2].answer[0]"], "3");
    EXPECT_EQ(params["userPreferences[2].answer[1]"], "5");

    ASSERT_TRUE(UserInput::tapRow(*screen->tableView, {0, 0}));
    ASSERT_TRUE(UserInput::pickRow(*screen->picker, 2, 0));
    ASSERT_TRUE(confirmSheet());

    // Refused: shown, and the changes stay to be saved again.
    server_.onJson("/home/v132/savePreference", refusalEnvelope(100001, "问卷中没有这个问题"));
    ASSERT_TRUE(tapRight(*screen));
    ASSERT_TRUE(waitForAnswer("/home/v132/savePreference"));
    ASSERT_TRUE(waitUntil([&] { return !lastAlertTitle().empty(); }));
    EXPECT_EQ(lastAlertTitle(), "问卷中没有这个问题");
    EXPECT_TRUE(screen->saveButton()->isEnabled());
    EXPECT_TRUE(records->preferences[0]->answers.empty());
    auto sent = server_.lastRequestTo("/home/v132/savePreference");
    EXPECT_EQ(sent.param("userPreferences[0].answer[0]"), "1");
    EXPECT_EQ(sent.param("userPreferences[2].answer[1]"), "5");
    AlertRegistry::shared().clear();

    Json saved = home;
    saved["preferenceViews"][0] = myQuestion(1, 1, Json::array({1}), "选项1");
    server_.onJson("/home/v132/savePreference", okEnvelope(saved));
    ASSERT_TRUE(tapRight(*screen));
    ASSERT_TRUE(waitUntil([&] { return !screen->saveButton()->isEnabled(); }));
    EXPECT_EQ(UserContext::getUserHome(), records);
    EXPECT_EQ(records->preferences[0]->displayAnswer, "选项1");
    EXPECT_FALSE(navigation_->popAlert());
    EXPECT_EQ(top<UserPreferenceSettingViewController>(), screen.get());
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view())->labelText(), "保存成功");
    loop().advance(Duration(2500));

    // My home shows the saved answer without a refresh.
    auto myHome = std::make_shared<HomeViewController>();
    navigation_->pushViewController(myHome, false);
    EXPECT_EQ(myHome->cellForRow(*myHome->infoTableView, {3, 0})->detailTextLabel().text(), "选项1");
}

TEST_F(QuestionnaireTest, AFailedSaveKeepsTheUnsavedAnswers) {
    UserHomePtr records = UserContext::getUserHome();
    auto screen = openQuestionnaire();
    answerSingleChoice(*screen);
    auto expectStillUnsaved = [&] {
        EXPECT_TRUE(screen->saveButton()->isEnabled());
        EXPECT_TRUE(navigation_->popAlert());
        EXPECT_EQ(top<UserPreferenceSettingViewController>(), screen.get());
        EXPECT_EQ(answersOf(*screen->preferenceArray[1]), std::vector<std::string>{"2"});
        EXPECT_EQ(screen->preferenceArray[1]->displayAnswer, "选项2");
        EXPECT_EQ(UserContext::getUserHome(), records);
        EXPECT_TRUE(records->preferences[1]->answers.empty());
        EXPECT_EQ(records->preferences[1]->finalDisplayAnswer(), "还没有填写");
    };

    // A server error and an answer that is no envelope both read as the generic failure.
    for (auto [body, status] : {std::pair<const char*, int>{"oops", 500}, {"{not json", 200}}) {
        SCOPED_TRACE(status);
        server_.onJson("/home/v132/savePreference", body, status);
        std::size_t before = server_.countOf("/home/v132/savePreference");
        ASSERT_TRUE(tapRight(*screen));
        ASSERT_TRUE(waitForAnswer("/home/v132/savePreference", before + 1));
        ASSERT_TRUE(waitUntil([&] { return !lastAlertTitle().empty(); }));
        EXPECT_EQ(AlertRegistry::shared().shownAlertTitles(), std::vector<std::string>{kGeneric});
        EXPECT_TRUE(hudGone());
        EXPECT_EQ(server_.lastRequestTo("/home/v132/savePreference").param("userPreferences[1].answer[0]"),
                  "2");
        expectStillUnsaved();
        AlertRegistry::shared().clear();
    }

    // No network: the user is told, nothing is sent, no indicator stays behind.
    Reachability::shared().setNetworkAvailable(false);
    std::size_t sent = server_.countOf("/home/v132/savePreference");
    ASSERT_TRUE(tapRight(*screen));
    ASSERT_NE(AlertRegistry::shared().topAlert(), nullptr);
    EXPECT_EQ(AlertRegistry::shared().topAlert()->title(), "网络状态");
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "网络不存在");
    loop().advance(Duration(1000));
    EXPECT_EQ(server_.countOf("/home/v132/savePreference"), sent);
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
    expectStillUnsaved();
    Reachability::shared().setNetworkAvailable(true);
}

TEST_F(QuestionnaireTest, AnHttp401OnSavingSignsOut) {
    UserHomePtr records = UserContext::getUserHome();
    auto screen = openQuestionnaire();
    answerSingleChoice(*screen);
    server_.onJson("/home/v132/savePreference", "{}", 401);
    ASSERT_TRUE(tapRight(*screen));
    ASSERT_TRUE(waitUntil([] { return !UserContext::hasLogin(); }));
    ASSERT_NE(window_->rootViewController(), nullptr);
    EXPECT_EQ(window_->rootViewController()->className(), "WelcomeViewController");
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
    EXPECT_TRUE(hudGone());
    EXPECT_TRUE(records->preferences[1]->answers.empty());
}

}  // namespace
}  // namespace zorlet::test
