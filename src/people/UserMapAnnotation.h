#pragma once

#include "ui/MapView.h"

#include <optional>
#include <string>

namespace zorlet {

// A pin at one coordinate, with an optional title and subtitle.
class UserMapAnnotation : public MapAnnotation {
public:
    UserMapAnnotation(Coordinate coordinate, std::optional<std::string> title,
                      std::optional<std::string> subtitle)
        : coordinate_(coordinate), title_(std::move(title)), subtitle_(std::move(subtitle)) {}

    Coordinate coordinate() const override { return coordinate_; }
    std::string title() const override { return title_.value_or(std::string()); }
    std::string subtitle() const override { return subtitle_.value_or(std::string()); }
    bool hasTitle() const { return title_.has_value(); }
    bool hasSubtitle() const { return subtitle_.has_value(); }

private:
    Coordinate coordinate_;
    std::optional<std::string> title_;
    std::optional<std::string> subtitle_;
};

}  // namespace zorlet
