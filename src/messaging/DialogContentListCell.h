#pragma once

#include "model/DialogContent.h"
#include "model/User.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableViewCell.h"

#include <memory>
#include <string>

namespace zorlet {

class DialogContentViewController;

// One message of a conversation: a bubble on the right for the signed-in
// user's messages and on the left for the other's, with the text, an
// optional thumbnail, the sender's avatar, the send state and the time.
class DialogContentListCell : public TableViewCell {
public:
    static constexpr const char* kIdentifier = "DialogContentListCellIdentifier";
    static constexpr double kRowWidth = 320;
    static constexpr double kTextWidth = 175;
    static constexpr double kMaxTextHeight = 1000;
    static constexpr double kThumbnailSide = 50;
    static constexpr double kMyBubbleRight = 260;
    static constexpr double kHisBubbleX = 60;
    static constexpr double kBubbleY = 10;
    static constexpr double kLogoSide = 40;
    static constexpr double kStateIconSide = 20;
    static constexpr double kTimeHeight = 12;

    DialogContentListCell();
    const char* typeName() const override { return "DialogContentListCell"; }

    static std::shared_ptr<DialogContentListCell> cellFromNib();
    static double heightForCell(const DialogContent& message);
    // The text's size as the bubble shows it (nothing for no text).
    static Size textSize(const std::string& content);
    // The picture of each send state; empty for none.
    static std::string stateImageName(int sendStatus);

    void redrawn(const DialogContentPtr& message);
    void redrawnLogo();
    void redrawnDialogText();
    void redrawnTime();
    void logoClick();
    void imageClick();
    void warningClick();
    void prepareForReuse() override;

    // The screen holding the table; not owned.
    std::weak_ptr<DialogContentViewController> ownerViewController;
    DialogContentPtr dialogContent;
    bool isMe = false;
    UserPtr targetUser;

    std::shared_ptr<ImageView> hisLogoView;
    std::shared_ptr<ImageView> myLogoView;
    std::shared_ptr<View> bubbleView;
    std::shared_ptr<ImageView> contentBgView;
    std::shared_ptr<ImageView> imageView;
    std::shared_ptr<Label> dialogContentTextView;
    std::shared_ptr<Label> timeLabel;
    std::shared_ptr<Button> warning;

private:
    void showThumbnail(const ImagePtr& picture);
};

}  // namespace zorlet
