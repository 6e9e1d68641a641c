#pragma once

#include "ui/Control.h"

namespace zorlet {

// An on/off switch; a tap flips it and sends ValueChanged.
class Switch : public Control {
public:
    Switch();
    explicit Switch(Rect frame);
    const char* typeName() const override { return "Switch"; }

    bool isOn() const { return on_; }
    void setOn(bool on, bool animated = false) { on_ = on; }

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

protected:
    void tapped(Point point) override;

private:
    bool on_ = false;
};

}  // namespace zorlet
