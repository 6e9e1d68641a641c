#pragma once

#include "ui/Color.h"

#include <cstdint>

namespace zorlet {

// Nicknames are blue for men and pink for women wherever people are listed.
class GenderColors {
public:
    static Color nickname(std::int64_t gender) {
        return gender != 0 ? Color{0.24, 0.51, 0.76, 1} : Color{1.0, 0.4, 0.6, 1};
    }
};

}  // namespace zorlet
