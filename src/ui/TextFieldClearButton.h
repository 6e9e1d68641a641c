#pragma once

#include "ui/Button.h"

namespace zorlet {

// The round grey button with a cross that empties a text field.
class TextFieldClearButton : public Button {
public:
    static constexpr double kSide = 20;

    TextFieldClearButton();
    const char* typeName() const override { return "TextFieldClearButton"; }
    void draw(Painter& painter) const override;
};

}  // namespace zorlet
