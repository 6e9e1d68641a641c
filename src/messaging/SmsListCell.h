#pragma once

#include "model/Dialog.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableViewCell.h"

#include <memory>
#include <string>

namespace zorlet {

class ViewController;

// A row of the dialog list: the other user's avatar and nickname, who spoke
// last, the latest message in quotation marks and its relative time.
class SmsListCell : public TableViewCell {
public:
    static constexpr const char* kIdentifier = "SmsListCellIdentifier";
    static constexpr double kHeight = 70;
    static constexpr double kRowWidth = 320;
    static constexpr double kTimeRightEdge = 310;
    static constexpr double kTimeMaxWidth = 72;

    SmsListCell();
    const char* typeName() const override { return "SmsListCell"; }

    static std::shared_ptr<SmsListCell> cellFromNib();
    static double heightForCell(const Dialog&) { return kHeight; }
    // The latest message as the row shows it.
    static std::string quoted(const std::string& text) { return "\"" + text + "\""; }

    void redrawn(const DialogPtr& shownDialog);
    // The avatar: the other user's home.
    void logoClick();
    void prepareForReuse() override;

    // The screen holding the table; not owned.
    std::weak_ptr<ViewController> ownerViewController;
    DialogPtr dialog;

    std::shared_ptr<ImageView> userLogoView;
    std::shared_ptr<Label> nicknameLabel;
    std::shared_ptr<Label> infoLabel;
    std::shared_ptr<ImageView> targetImageView;
    std::shared_ptr<Label> latestContentLabel;
    std::shared_ptr<Label> timeLabel;
};

}  // namespace zorlet
