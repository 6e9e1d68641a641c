#pragma once

#include "ui/Button.h"

#include <cstdint>
#include <memory>

namespace zorlet {

// The small "interested" button of post rows: a stretchable picture with the
// response count after the icon; it grows with the count's text.
class ListRespPostButton : public Button {
public:
    ListRespPostButton();
    static std::shared_ptr<ListRespPostButton> create() { return std::make_shared<ListRespPostButton>(); }
    const char* typeName() const override { return "ListRespPostButton"; }

    // The count as the title (nothing for 0), in every state; the width follows.
    void setCount(std::int64_t count);
    // The width of the background picture, before any title.
    double imgWidth = 50;
};

}  // namespace zorlet
