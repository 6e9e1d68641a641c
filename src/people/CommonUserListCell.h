#pragma once

#include "model/User.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableViewCell.h"

#include <memory>
#include <string>

namespace zorlet {

// A row of a plain list of people (responders, the blacklist): avatar,
// nickname coloured by gender and the basic information.
class CommonUserListCell : public TableViewCell {
public:
    static constexpr double kHeight = 80;
    static constexpr double kInfoMaxHeight = 40;

    explicit CommonUserListCell(std::string reuseIdentifier);
    const char* typeName() const override { return "CommonUserListCell"; }

    static std::shared_ptr<CommonUserListCell> cellFromNib(std::string reuseIdentifier);
    static double heightForCell(const User&) { return kHeight; }

    void redrawn(const UserPtr& shownUser);
    void prepareForReuse() override;

    UserPtr user;
    std::shared_ptr<ImageView> userLogoView;
    std::shared_ptr<Label> nicknameLabel;
    std::shared_ptr<Label> infoLabel;
};

}  // namespace zorlet
