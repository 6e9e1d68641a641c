#pragma once

#include "model/User.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableViewCell.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

class ViewController;

// A row of the users feed: the user (avatar, nickname, age and profession,
// online state, distance) and their latest post, with the buttons to
// comment, respond, or, for a user without a post, to invite them.
class UserListCell : public TableViewCell {
public:
    static constexpr const char* kIdentifier = "UserListCellIdentifier";
    static constexpr double kRowWidth = 320;
    static constexpr double kContentX = 80;
    static constexpr double kContentY = 42;
    static constexpr double kTextWidth = 206;
    static constexpr double kMaxTextHeight = 1000;
    static constexpr double kRightEdge = 300;
    static constexpr double kNicknameMaxWidth = 130;
    static constexpr double kDistanceMaxWidth = 60;
    static constexpr double kPictureSide = 70;
    static constexpr double kButtonHeight = 28;
    static constexpr double kHeightWithoutPost = 111;
    static constexpr double kHeightAroundText = 93;
    static constexpr double kPictureHeight = 80;
    static constexpr double kViewerButtonsHeight = 33;
    static constexpr const char* kNoPostText = "ta还没想好去哪玩...";

    UserListCell();
    const char* typeName() const override { return "UserListCell"; }

    static std::shared_ptr<UserListCell> cellFromNib();
    static double heightForCell(const User& user);
    // "purpose：content", the text measured for the row height.
    static std::string contentText(const Post& post);
    // The respond button's title: the count, or nothing for none.
    static std::string respTitle(std::int64_t count);

    void redrawn(const UserPtr& shownUser);

    // Row actions; navigation goes through the owner's navigation controller.
    void logoClick();
    void comment();
    void date();
    void respPost();

    void prepareForReuse() override;

    // The screen holding the table; not owned.
    std::weak_ptr<ViewController> ownerViewController;
    UserPtr user;

    std::shared_ptr<ImageView> logoView;
    std::shared_ptr<Label> nicknameLabel;
    std::shared_ptr<Label> infoLabel;
    std::shared_ptr<Label> onlineLabel;
    std::shared_ptr<Label> contentLabel;
    std::shared_ptr<ImageView> imageView;
    std::shared_ptr<Label> locationLabel;
    std::shared_ptr<ImageView> locationIcon;
    std::shared_ptr<ImageView> backgroundImageView;

    // Made on first need.
    Button& respButton();
    Button& commentButton();
    Button& dateButton();
    bool hasRespButton() const { return respButton_ != nullptr; }

private:
    std::shared_ptr<Button> makeButton(const std::string& id, const std::string& image,
                                       void (UserListCell::*action)());
    void layoutUserLine();
    void layoutPost(const Post& post);
    void layoutWithoutPost();
    // Sizes the respond button to its title and puts it 10 points left of the comment button.
    void placeRespButton();
    void push(const std::shared_ptr<ViewController>& screen);

    std::shared_ptr<Button> respButton_;
    std::shared_ptr<Button> commentButton_;
    std::shared_ptr<Button> dateButton_;
};

}  // namespace zorlet
