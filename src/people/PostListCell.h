#pragma once

#include "model/Post.h"
#include "model/User.h"
#include "people/ListRespPostButton.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableViewCell.h"

#include <memory>
#include <string>

namespace zorlet {

class ViewController;

// A row of one user's post list: the author's avatar, the post's text and
// picture; the author sees how many are interested, others can respond or
// comment.
class PostListCell : public TableViewCell {
public:
    static constexpr const char* kIdentifier = "PostListCellIdentifier";
    static constexpr double kTextX = 73;
    static constexpr double kTextY = 18;
    static constexpr double kTextWidth = 227;
    static constexpr double kRightEdge = 300;
    static constexpr double kPictureSide = 70;

    PostListCell();
    const char* typeName() const override { return "PostListCell"; }

    static std::shared_ptr<PostListCell> cellFromNib();
    static double heightForCell(const Post& post);

    void redrawn(const PostPtr& shownPost);
    void prepareForReuse() override;

    void respPost();
    void comment();
    void goRespUsers();

    PostPtr post;
    // The author; the signed-in user when not set.
    UserPtr user;
    // The screen holding the table; not owned.
    std::weak_ptr<ViewController> ownerViewController;

    std::shared_ptr<ImageView> logoView;
    std::shared_ptr<Label> contentLabel;
    std::shared_ptr<ImageView> postImageView;
    std::shared_ptr<Button> respUsersButton;

    // Made on first need.
    ListRespPostButton& respButton();
    Button& commentButton();

private:
    UserPtr author() const;
    void pushDetail(bool startComment);
    void placeRespButton();

    std::shared_ptr<ListRespPostButton> respButton_;
    std::shared_ptr<Button> commentButton_;
};

}  // namespace zorlet
