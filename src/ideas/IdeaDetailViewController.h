#pragma once

#include "model/Idea.h"
#include "platform/Clock.h"
#include "ui/ActionSheet.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/MailComposeViewController.h"
#include "ui/MessageComposeViewController.h"
#include "ui/ScrollView.h"
#include "ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// One idea on a page: its picture, headline, takers, place, time, price and
// description, the want-to-go button and the share menu. Opened with the
// list's `idea` (changes show on the list) or, from a post made from an
// idea, with only `ideaId` (the idea is then loaded).
class IdeaDetailViewController : public ViewController,
                                 public ActionSheetDelegate,
                                 public MessageComposeViewControllerDelegate,
                                 public MailComposeViewControllerDelegate {
public:
    static constexpr double kContentWidth = 300;
    static constexpr double kTextWidth = 280;
    static constexpr Duration kTakersDelay{2000};
    static constexpr const char* kShareTitle = "分享Zorlet好主意";

    ~IdeaDetailViewController() override;
    std::string className() const override { return "IdeaDetailViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void showIdea();
    void postIdea();
    void showUsedUsers();
    void autoShowUsedUsers();
    void showLocation();
    void openShareLog();
    void displaySMSComposerSheet();
    void displayMailPicker();

    // The texts of the basic information rows; empty when the row is hidden.
    static std::string placeText(const Idea& idea);
    static std::string timeText(const Idea& idea);
    static std::string priceText(const Idea& idea);

    // ActionSheetDelegate
    void actionSheetDidDismiss(ActionSheet& sheet, int buttonIndex) override;
    // The composers' finish callbacks.
    void messageComposeViewController(MessageComposeViewController& controller,
                                      ComposeResult result) override;
    void mailComposeController(MailComposeViewController& controller, ComposeResult result) override;

    IdeaPtr idea;
    std::int64_t ideaId = 0;
    int shareToSmsButtonIdex = -1;
    int shareToMailButtonIdex = -1;
    int shareToThirdparyButtonIdex = -1;

    std::shared_ptr<ScrollView> scrollView;
    std::shared_ptr<ImageView> pictureView;
    std::shared_ptr<ImageView> categoryImageView;
    std::shared_ptr<Label> contentLabel;
    std::shared_ptr<Button> usersButton;
    std::shared_ptr<View> basicSection;
    // The basic information rows; tapping the place opens the map.
    std::shared_ptr<View> placeRow;
    std::shared_ptr<View> timeRow;
    std::shared_ptr<View> priceRow;
    std::shared_ptr<Label> placeLabel;
    std::shared_ptr<Label> timeLabel;
    std::shared_ptr<Label> priceLabel;
    std::shared_ptr<View> detailSection;
    std::shared_ptr<Label> detailLabel;
    std::shared_ptr<Button> wantToButton;
    std::shared_ptr<Button> shareButton;
    std::shared_ptr<ActionSheet> shareSheet;

private:
    void loadIdea();
    void loadPicture();
    // Stacks the visible sections from the top and sizes the scroll content.
    void layoutSections();
    View* messageView();
    std::shared_ptr<View> makeRow(const std::string& id, const std::string& icon,
                                  std::shared_ptr<Label>& label);

    std::string shownPictureUrl_;
};

}  // namespace zorlet
