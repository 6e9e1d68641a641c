#pragma once

#include "ui/Button.h"

#include <memory>
#include <string>

namespace zorlet {

// A cell of the place category grid: the category's name, left-aligned on a
// light tile that turns dark while touched.
class ExternalCategoryButton : public Button {
public:
    static constexpr double kWidth = 140;
    static constexpr double kHeight = 40;
    static constexpr double kCapWidth = 5;
    static constexpr double kLeftInset = 10;

    explicit ExternalCategoryButton(const std::string& title);
    static std::shared_ptr<ExternalCategoryButton> create(const std::string& title) {
        return std::make_shared<ExternalCategoryButton>(title);
    }
};

}  // namespace zorlet
