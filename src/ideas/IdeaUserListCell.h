#pragma once

#include "model/IdeaUser.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableViewCell.h"

#include <memory>

namespace zorlet {

class View;

// A row of the taker list: avatar, nickname, basic information and the
// button inviting that user to go to the idea together.
class IdeaUserListCell : public TableViewCell {
public:
    static constexpr const char* kIdentifier = "IdeaUserListCellIdentifier";
    static constexpr double kHeight = 80;

    IdeaUserListCell();
    const char* typeName() const override { return "IdeaUserListCell"; }

    static std::shared_ptr<IdeaUserListCell> cellFromNib();
    static double heightForCell(const IdeaUser&) { return kHeight; }

    void redrawn(const IdeaUserPtr& shownIdeaUser);
    void dateHim();
    void prepareForReuse() override;

    IdeaUserPtr ideaUser;
    // The list's view, for the progress indicator and messages; not owned.
    std::weak_ptr<View> listView;

    std::shared_ptr<ImageView> logoView;
    std::shared_ptr<Label> nicknameLabel;
    std::shared_ptr<Label> infoLabel;
    std::shared_ptr<Button> dateButton;
};

}  // namespace zorlet
