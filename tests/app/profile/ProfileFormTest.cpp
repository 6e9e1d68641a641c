#include "ProfileTestSupport.h"

#include "platform/Calendar.h"
#include "platform/Image.h"
#include "platform/WebImageLoader.h"
#include "profile/FeatureEditorViewController.h"
#include "profile/NicknameEditorViewController.h"
#include "profile/ProfessionEditorViewController.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

TEST_F(ProfileFormTest, FillsFromTheSignedInUserWithTheProfileLayout) {
    auto form = openProfileForm();
    EXPECT_EQ(form->title(), "设置基本资料");
    EXPECT_EQ(form->nicknameLabel->text(), "阿明");
    EXPECT_EQ(form->genderLabel->text(), "男");
    EXPECT_EQ(form->genderLabel->tag(), 1);
    EXPECT_EQ(form->birthLabel->text(), "1990-3-5");
    EXPECT_EQ(form->locationLabel->text(), "河西区");
    EXPECT_EQ(form->locationLabel->tag(), 120103);
    EXPECT_EQ(form->professionLabel->text(), "程序员");
    EXPECT_EQ(form->professionLabel->tag(), 8);
    EXPECT_EQ(form->featureLabel->text(), SettingViewController::kFeaturePlaceholder);
    EXPECT_EQ(form->featureLabel->tag(), 0);
    EXPECT_FALSE(form->saveButton()->isEnabled());
    EXPECT_FALSE(navigation_->popAlert());

    TableView& table = *form->tableView;
    ASSERT_EQ(table.numberOfSections(), 3);
    EXPECT_EQ(table.numberOfRows(0), 1);
    EXPECT_EQ(table.numberOfRows(1), 3);
    EXPECT_EQ(table.numberOfRows(2), 3);
    EXPECT_DOUBLE_EQ(table.rectForRow({0, 0}).height(), 60);
    EXPECT_DOUBLE_EQ(table.rectForRow({1, 1}).height(), 44);
    EXPECT_DOUBLE_EQ(table.rectForRow({2, 0}).height(), form->featureLabel->frame().height() + 50);
    EXPECT_DOUBLE_EQ(table.rectForFooter(1).height(), 5);
    EXPECT_EQ(table.cellForRow({2, 2})->reuseIdentifier(), "ProfessionCell");

    // A user without a birth year shows no birthday; null texts leave a label as it was.
    auto other = profileUser();
    other["birthYear"] = nullptr;
    other["feature"] = "喜欢爬山";
    other["profession"] = nullptr;
    signInAs(other);
    form->viewWillAppear(false);
    auto fresh = std::make_shared<ProfileSettingViewController>();
    fresh->view();
    fresh->viewWillAppear(false);
    EXPECT_EQ(fresh->birthLabel->text(), "");
    EXPECT_EQ(fresh->featureLabel->text(), "喜欢爬山");
    EXPECT_EQ(fresh->featureLabel->tag(), 1);
    EXPECT_EQ(fresh->professionLabel->text(), "");
}

TEST_F(ProfileFormTest, PickersEditTheLabelsAndAnyEditAsksBeforeLeaving) {
    auto form = openProfileForm();

    ASSERT_TRUE(tapRow(*form, 1, 1));
    ActionSheet* genderSheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(genderSheet, nullptr);
    EXPECT_EQ(genderSheet->buttonTitles(), (std::vector<std::string>{"女", "男", "取消"}));
    ASSERT_TRUE(UserInput::answerSheet(0));
    EXPECT_EQ(form->genderLabel->text(), "女");
    EXPECT_EQ(form->genderLabel->tag(), 0);
    EXPECT_TRUE(form->saveButton()->isEnabled());
    EXPECT_TRUE(navigation_->popAlert());

    // The birthday picker starts at the label's date and keeps to 1949 ... now.
    loop().clock().pinNow(Calendar::timeOf(DateParts{2013, 6, 1, 12, 0, 0}));
    ASSERT_TRUE(tapRow(*form, 1, 2));
    ASSERT_NE(topPickerSheet(), nullptr);
    EXPECT_EQ(topPickerSheet()->titleItem()->title(), "生日");
    DatePicker& date = *form->datePicker();
    EXPECT_EQ(Calendar::format(date.date(), "yyyy-MM-dd"), "1990-03-05");
    EXPECT_EQ(Calendar::format(*date.minimumDate(), "yyyy-MM-dd"), "1949-01-01");
    ASSERT_TRUE(UserInput::pickDate(date, Calendar::timeOf(DateParts{2030, 1, 1})));
    EXPECT_EQ(Calendar::format(date.date(), "yyyy-MM-dd"), "2013-06-01");
    ASSERT_TRUE(UserInput::pickDate(date, Calendar::timeOf(DateParts{1988, 12, 24})));
    ASSERT_TRUE(tapDone());
    EXPECT_EQ(form->birthLabel->text(), "1988-12-24");
    EXPECT_EQ(AlertRegistry::shared().topSheet(), nullptr);

    // The location picker opens on the user's province and city.
    ASSERT_TRUE(tapRow(*form, 2, 1));
    PickerView& location = *form->locationPicker();
    EXPECT_EQ(topPickerSheet()->titleItem()->title(), "所在地");
    EXPECT_EQ(location.selectedRow(0), 1);
    EXPECT_EQ(location.selectedRow(1), 2);
    ASSERT_TRUE(UserInput::pickRow(location, 0, 0));
    EXPECT_EQ(location.selectedRow(1), 0);
    ASSERT_TRUE(UserInput::pickRow(location, 5, 1));
    ASSERT_TRUE(tapDone());
    EXPECT_EQ(form->locationLabel->text(), "海淀区");
    EXPECT_EQ(form->locationLabel->tag(), 110108);

    // Cancelling a picker changes nothing.
    ASSERT_TRUE(tapRow(*form, 2, 1));
    ASSERT_TRUE(UserInput::pickRow(location, 2, 0));
    ASSERT_TRUE(UserInput::tapBarButton(*topPickerSheet()->cancelItem()));
    EXPECT_EQ(form->locationLabel->tag(), 110108);

    // An editor clears the question; back on the form it is asked again and the edits stay.
    ASSERT_TRUE(tapRow(*form, 1, 0));
    auto editor = topEditor<NicknameEditorViewController>();
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(navigation_->popAlert());
    ASSERT_TRUE(UserInput::tapBarButton(*editor->navigationItem().leftBarButtonItem()));
    EXPECT_EQ(navigation_->topViewController(), form.get());
    EXPECT_TRUE(navigation_->popAlert());
    EXPECT_EQ(form->genderLabel->text(), "女");
    EXPECT_EQ(form->birthLabel->text(), "1988-12-24");

    // "取消" asks while there are unsaved edits.
    ASSERT_TRUE(UserInput::tapBarButton(*form->navigationItem().leftBarButtonItem()));
    ASSERT_NE(AlertRegistry::shared().topAlert(), nullptr);
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), CustomNavigationController::kPopAlertMessage);
    ASSERT_TRUE(UserInput::answerAlert(1));
    EXPECT_EQ(home_->modalViewController(), nullptr);
}

TEST_F(ProfileFormTest, SavingSendsTheFormUpdatesTheUserAndCloses) {
    Json saved = profileUser();
    saved["gender"] = 0;
    saved["feature"] = "喜欢爬山";
    server_.onJson("/profile/save", savedUserEnvelope(saved));
    std::size_t saveEvents = eventCount("saveProfile");
    std::size_t logoEvents = eventCount("uploadLogo");
    auto form = openProfileForm();
    ASSERT_TRUE(tapRow(*form, 1, 1));
    ASSERT_TRUE(UserInput::answerSheet(0));
    ASSERT_TRUE(tapRow(*form, 2, 0));
    auto feature = topEditor<FeatureEditorViewController>();
    ASSERT_NE(feature, nullptr);
    EXPECT_EQ(feature->title(), "个人简介");
    EXPECT_EQ(feature->featureTextView->text(), "");
    typeInto(*feature->featureTextView, "  喜欢爬山\n");
    ASSERT_TRUE(tapConfirm(*feature));
    EXPECT_EQ(form->featureLabel->text(), "喜欢爬山");
    EXPECT_EQ(form->featureLabel->tag(), 1);

    ASSERT_TRUE(UserInput::tapBarButton(*form->saveButton()));
    ProgressHUD* hud = ProgressHUD::HUDForView(&navigation_->view());
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->labelText(), "保存中...");
    EXPECT_TRUE(hud->dimBackground());
    ASSERT_TRUE(waitForRequests("/profile/save"));
    auto request = server_.lastRequestTo("/profile/save");
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.param("nickname"), "阿明");
    EXPECT_EQ(request.param("gender"), "0");
    EXPECT_EQ(request.param("birth"), "1990-3-5");
    EXPECT_EQ(request.param("professionId"), "8");
    EXPECT_EQ(request.param("profession"), "程序员");
    EXPECT_EQ(request.param("cityId"), "120103");
    EXPECT_EQ(request.param("feature"), "喜欢爬山");
    EXPECT_TRUE(request.files.empty());

    ASSERT_TRUE(waitUntil([&] { return !form->saveButton()->isEnabled(); }));
    EXPECT_FALSE(navigation_->popAlert());
    EXPECT_EQ(UserContext::getUser()->feature, "喜欢爬山");
    EXPECT_EQ(UserContext::getUser()->gender, 0);
    EXPECT_EQ(UserContext::getUid(), 42);
    hud = ProgressHUD::HUDForView(&navigation_->view());
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->labelText(), "保存成功");
    EXPECT_EQ(home_->modalViewController(), navigation_.get());
    advance(2s);
    EXPECT_EQ(home_->modalViewController(), nullptr);
    EXPECT_EQ(eventCount("saveProfile"), saveEvents + 1);
    EXPECT_EQ(eventCount("uploadLogo"), logoEvents);
}

TEST_F(ProfileFormTest, AClearedSelfIntroductionIsSavedEmptyThenLeftOut) {
    auto user = profileUser();
    user["feature"] = "喜欢爬山";
    signInAs(user);
    auto cleared = profileUser();
    server_.onJson("/profile/save", savedUserEnvelope(cleared));
    auto form = openProfileForm();
    ASSERT_TRUE(tapRow(*form, 2, 0));
    auto feature = topEditor<FeatureEditorViewController>();
    ASSERT_NE(feature, nullptr);
    EXPECT_EQ(feature->featureTextView->text(), "喜欢爬山");
    typeInto(*feature->featureTextView, "", 4);
    ASSERT_TRUE(tapConfirm(*feature));
    EXPECT_EQ(form->featureLabel->tag(), 0);
    EXPECT_EQ(form->featureLabel->text(), SettingViewController::kFeaturePlaceholder);
    EXPECT_TRUE(form->saveButton()->isEnabled());

    ASSERT_TRUE(UserInput::tapBarButton(*form->saveButton()));
    ASSERT_TRUE(waitForRequests("/profile/save"));
    EXPECT_FALSE(server_.lastRequestTo("/profile/save").hasParam("feature"));
    ASSERT_TRUE(waitUntil([&] { return !form->saveButton()->isEnabled(); }));
    advance(std::chrono::seconds(2));
    EXPECT_EQ(UserContext::getUser()->feature, "");

    // Opened and saved again with another edit: still no self-introduction in the request.
    form = openProfileForm();
    EXPECT_EQ(form->featureLabel->tag(), 0);
    ASSERT_TRUE(tapRow(*form, 1, 1));
    ASSERT_TRUE(UserInput::answerSheet(1));
    ASSERT_TRUE(UserInput::tapBarButton(*form->saveButton()));
    ASSERT_TRUE(waitForRequests("/profile/save", 2));
    EXPECT_FALSE(server_.lastRequestTo("/profile/save").hasParam("feature"));
}

TEST_F(ProfileFormTest, SelfIntroductionOfSeventyCharactersPassesSeventyOneFail) {
    auto form = openProfileForm();
    ASSERT_TRUE(tapRow(*form, 2, 0));
    auto feature = topEditor<FeatureEditorViewController>();
    ASSERT_NE(feature, nullptr);
    typeInto(*feature->featureTextView, repeated("字", 71));
    ASSERT_TRUE(tapConfirm(*feature));
    EXPECT_EQ(lastAlertTitle(), "个人简介请不要超过70个字");
    EXPECT_EQ(topEditor<FeatureEditorViewController>(), feature);
    EXPECT_FALSE(form->saveButton()->isEnabled());
    ASSERT_TRUE(UserInput::answerAlert(0));

    typeInto(*feature->featureTextView, "", 1);
    ASSERT_TRUE(tapConfirm(*feature));
    EXPECT_EQ(navigation_->topViewController(), form.get());
    EXPECT_EQ(form->featureLabel->text(), repeated("字", 70));
    // The row grows with the text.
    EXPECT_GT(form->tableView->rectForRow({2, 0}).height(), 44 + 50);
}

TEST_F(ProfileFormTest, ProfessionEditorListsProfessionsAndChecksAFreeText) {
    auto form = openProfileForm();
    ASSERT_TRUE(tapRow(*form, 2, 2));
    auto editor = topEditor<ProfessionEditorViewController>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->title(), "职业");
    PickerView& picker = *editor->professionPicker;
    int other = picker.numberOfRows(0) - 1;
    EXPECT_EQ(editor->titleForRow(picker, other, 0), "其它");
    // A listed profession is selected and the free text hidden.
    EXPECT_EQ(editor->titleForRow(picker, picker.selectedRow(0), 0), "程序员");
    EXPECT_TRUE(editor->professionField->isHidden());

    ASSERT_TRUE(UserInput::pickRow(picker, other, 0));
    EXPECT_FALSE(editor->professionField->isHidden());
    EXPECT_FALSE(editor->tipLabel->isHidden());
    typeInto(*editor->professionField, "a");
    ASSERT_TRUE(tapConfirm(*editor));
    EXPECT_EQ(lastAlertTitle(), "职业描述不能少于1个字");
    ASSERT_TRUE(UserInput::answerAlert(0));
    typeInto(*editor->professionField, repeated("长", 11), 1);
    ASSERT_TRUE(tapConfirm(*editor));
    EXPECT_EQ(lastAlertTitle(), "职业描述请不要超过10个字");
    ASSERT_TRUE(UserInput::answerAlert(0));
    EXPECT_EQ(topEditor<ProfessionEditorViewController>(), editor);
    EXPECT_FALSE(form->saveButton()->isEnabled());

    typeInto(*editor->professionField, " 调酒师 ", 11);
    ASSERT_TRUE(tapConfirm(*editor));
    EXPECT_EQ(form->professionLabel->text(), "调酒师");
    EXPECT_EQ(form->professionLabel->tag(), 0);

    // Opened again on a free text: "其它" with the text shown.
    ASSERT_TRUE(tapRow(*form, 2, 2));
    editor = topEditor<ProfessionEditorViewController>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->professionPicker->selectedRow(0), other);
    EXPECT_FALSE(editor->professionField->isHidden());
    EXPECT_EQ(editor->professionField->text(), "调酒师");
    ASSERT_TRUE(UserInput::pickRow(*editor->professionPicker, 1, 0));
    EXPECT_TRUE(editor->professionField->isHidden());
    ASSERT_TRUE(tapConfirm(*editor));
    EXPECT_EQ(form->professionLabel->text(), "教师");
    EXPECT_EQ(form->professionLabel->tag(), 2);
}

TEST_F(ProfileFormTest, NicknameIsCheckedWithTheServer) {
    server_.on("/profile/validate/nickexist", [](const RecordedRequest& request, Reply& reply) {
        bool taken = request.param("nickname") == "小红";
        reply =
            Reply::json(taken ? R"({"success":false,"result":true,"errorInfo":"该昵称已被使用，换一个吧"})"
                              : R"({"success":true,"result":false})");
    });
    auto form = openProfileForm();
    ASSERT_TRUE(tapRow(*form, 1, 0));
    auto editor = topEditor<NicknameEditorViewController>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->title(), "昵称");
    EXPECT_EQ(editor->nicknameField->text(), "阿明");
    // The keyboard opens half a second after the editor appears.
    EXPECT_FALSE(editor->nicknameField->isFirstResponder());
    advance(500ms);
    EXPECT_TRUE(editor->nicknameField->isFirstResponder());

    typeInto(*editor->nicknameField, "小红", 2);
    ASSERT_TRUE(tapConfirm(*editor));
    EXPECT_EQ(lastAlertTitle(), "该昵称已被使用，换一个吧");
    EXPECT_FALSE(editor->nicknameField->isFirstResponder());
    EXPECT_EQ(server_.lastRequestTo("/profile/validate/nickexist").param("nickname"), "小红");
    ASSERT_TRUE(UserInput::answerAlert(0));

    // Too long is told without asking the server.
    server_.clearRequests();
    typeInto(*editor->nicknameField, repeated("长", 11), 2);
    ASSERT_TRUE(tapConfirm(*editor));
    EXPECT_EQ(lastAlertTitle(), "昵称必须1-10个字以内");
    EXPECT_EQ(server_.countOf("/profile/validate/nickexist"), 0u);
    ASSERT_TRUE(UserInput::answerAlert(0));

    // A name of nothing but an ideographic space is empty once trimmed.
    typeInto(*editor->nicknameField, "\u3000", 11);
    ASSERT_TRUE(tapConfirm(*editor));
    EXPECT_EQ(lastAlertTitle(), "昵称必须1-10个字以内");
    EXPECT_EQ(server_.countOf("/profile/validate/nickexist"), 0u);
    ASSERT_TRUE(UserInput::answerAlert(0));

    // The check uses the trimmed name; the form keeps it as typed.
    typeInto(*editor->nicknameField, " 小明 ", 1);
    ASSERT_TRUE(tapConfirm(*editor));
    EXPECT_EQ(server_.lastRequestTo("/profile/validate/nickexist").param("nickname"), "小明");
    EXPECT_EQ(navigation_->topViewController(), form.get());
    EXPECT_EQ(form->nicknameLabel->text(), " 小明 ");
    EXPECT_TRUE(form->saveButton()->isEnabled());

    // Emoji input is refused.
    ASSERT_TRUE(tapRow(*form, 1, 0));
    editor = topEditor<NicknameEditorViewController>();
    ASSERT_NE(editor, nullptr);
    Keyboard::shared().setCurrentInputMode("emoji");
    editor->nicknameField->becomeFirstResponder();
    UserInput::pasteText("😀");
    EXPECT_EQ(editor->nicknameField->text(), " 小明 ");
}

TEST_F(ProfileFormTest, ARefusedOrFailedSaveKeepsTheEdits) {
    server_.onJson("/profile/save", refusalEnvelope(3, "该昵称已被使用，换一个吧"));
    auto form = openProfileForm();
    ASSERT_TRUE(tapRow(*form, 1, 1));
    ASSERT_TRUE(UserInput::answerSheet(0));
    ASSERT_TRUE(UserInput::tapBarButton(*form->saveButton()));
    ASSERT_TRUE(waitForRequests("/profile/save"));
    ASSERT_TRUE(waitUntil([&] { return !AlertRegistry::shared().shownAlertTitles().empty(); }));
    EXPECT_EQ(lastAlertTitle(), "该昵称已被使用，换一个吧");
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
    EXPECT_TRUE(form->saveButton()->isEnabled());
    EXPECT_TRUE(navigation_->popAlert());
    EXPECT_EQ(form->genderLabel->text(), "女");
    EXPECT_EQ(UserContext::getUser()->gender, 1);

    // A refusal without a reason gets the standard text.
    AlertRegistry::shared().clear();
    server_.onJson("/profile/save", R"({"success":false,"errorInfo":null})");
    ASSERT_TRUE(UserInput::tapBarButton(*form->saveButton()));
    ASSERT_TRUE(waitUntil([&] { return !AlertRegistry::shared().shownAlertTitles().empty(); }));
    EXPECT_EQ(lastAlertTitle(), kGeneric);
    EXPECT_TRUE(form->saveButton()->isEnabled());

    // Without a network there is no request and the indicator goes away.
    AlertRegistry::shared().clear();
    server_.clearRequests();
    Reachability::shared().setNetworkAvailable(false);
    ASSERT_TRUE(UserInput::tapBarButton(*form->saveButton()));
    loop().runPending();
    EXPECT_EQ(server_.countOf("/profile/save"), 0u);
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
    EXPECT_TRUE(form->saveButton()->isEnabled());
}

TEST_F(ProfileFormTest, TheLogoComesThroughTheSharedPictureCachesThatClearingEmpties) {
    WebImageLoader::shared().clearCaches();
    server_.on("/logo.png", [](const RecordedRequest&, Reply& reply) {
        reply.contentType = "image/png";
        reply.body = Image(8, 8).pngData();
    });
    auto user = profileUser();
    user["newLogo"] = server_.url("/logo.png");
    signInAs(user);
    auto logoShown = [](ProfileSettingViewController& form) {
        return waitUntil([&] {
            const auto& image = form.logoImageView->image();
            return image && image->name() != "face_loading";
        });
    };

    auto first = openProfileForm();
    ASSERT_TRUE(logoShown(*first));
    EXPECT_EQ(first->logoImageView->image()->name(), server_.url("/logo.png"));
    EXPECT_EQ(server_.countOf("/logo.png"), 1u);
    home_->dismissModalViewController(false);

    auto second = openProfileForm();
    ASSERT_TRUE(logoShown(*second));
    EXPECT_EQ(server_.countOf("/logo.png"), 1u);
    home_->dismissModalViewController(false);

    WebImageLoader::shared().clearCaches();
    auto third = openProfileForm();
    ASSERT_TRUE(logoShown(*third));
    EXPECT_EQ(server_.countOf("/logo.png"), 2u);
}

}  // namespace
}  // namespace zorlet::test
