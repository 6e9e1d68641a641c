#pragma once

#include "ui/MapView.h"

#include <string>

namespace zorlet {

// The pin of an idea on its map.
class IdeaMapAnnotation : public MapAnnotation {
public:
    IdeaMapAnnotation(Coordinate coordinate, std::string title, std::string subtitle)
        : coordinate_(coordinate), title_(std::move(title)), subtitle_(std::move(subtitle)) {}

    Coordinate coordinate() const override { return coordinate_; }
    std::string title() const override { return title_; }
    std::string subtitle() const override { return subtitle_; }

private:
    Coordinate coordinate_;
    std::string title_;
    std::string subtitle_;
};

}  // namespace zorlet
