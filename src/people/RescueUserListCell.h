#pragma once

#include "model/User.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableViewCell.h"

#include <memory>
#include <string>

namespace zorlet {

// A user suggested after publishing a post, with a button that invites
// them to come along.
class RescueUserListCell : public TableViewCell {
public:
    static constexpr const char* kIdentifier = "RescueUsersCellIdentifier";
    static constexpr double kHeight = 80;

    RescueUserListCell();
    const char* typeName() const override { return "RescueUserListCell"; }

    static std::shared_ptr<RescueUserListCell> cellFromNib();
    static double heightForCell(const User&) { return kHeight; }

    void redrawn(const UserPtr& shownUser);
    void dateHim();
    void prepareForReuse() override;

    UserPtr user;
    // The text of the post just published, sent with the invitation.
    std::string postContent;

    std::shared_ptr<ImageView> userLogoView;
    std::shared_ptr<Label> nicknameLabel;
    std::shared_ptr<Label> infoLabel;
    std::shared_ptr<Button> sendDateButton;
};

}  // namespace zorlet
