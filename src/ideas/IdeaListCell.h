#pragma once

#include "model/Idea.h"
#include "platform/Clock.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableViewCell.h"

#include <memory>

namespace zorlet {

class ViewController;

// A row of the idea list: the idea's picture with its headline over it, the
// category badge, how many want to go (opens the takers) and the want-to-go
// button.
class IdeaListCell : public TableViewCell {
public:
    static constexpr const char* kIdentifier = "IdeaListCellIdentifier";
    static constexpr double kHeight = 250;
    static constexpr double kTextWidth = 252;
    static constexpr double kMaxTextHeight = 500;
    static constexpr Duration kTakersDelay{2000};

    IdeaListCell();
    const char* typeName() const override { return "IdeaListCell"; }

    static std::shared_ptr<IdeaListCell> cellFromNib();
    static double heightForCell(const Idea&) { return kHeight; }

    void redrawn(const IdeaPtr& shownIdea);
    void wantGo();
    // The taker count tapped: the list without the invitation tip.
    void showUsedUsers(bool dateTip);
    void goToUsedUsers(bool dateTip);

    void prepareForReuse() override;

    // The screen holding the table; not owned.
    std::weak_ptr<ViewController> ownerViewController;
    IdeaPtr idea;

    std::shared_ptr<ImageView> pictureView;
    std::shared_ptr<ImageView> categoryImageView;
    std::shared_ptr<View> textBackground;
    std::shared_ptr<Label> textLabel;
    std::shared_ptr<Button> usersButton;
    std::shared_ptr<Button> wantToButton;

private:
    void showPicture();
};

}  // namespace zorlet
