#pragma once

#include "ui/View.h"

#include <functional>
#include <vector>

namespace zorlet {

// Events a control reports to its targets; combine with |.
enum ControlEvent : unsigned {
    TouchDown = 1u << 0,
    TouchDragInside = 1u << 2,
    TouchDragOutside = 1u << 3,
    TouchDragEnter = 1u << 4,
    TouchDragExit = 1u << 5,
    TouchUpInside = 1u << 6,
    TouchUpOutside = 1u << 7,
    TouchCancel = 1u << 8,
    ValueChanged = 1u << 12,
    EditingDidBegin = 1u << 16,
    EditingChanged = 1u << 17,
    EditingDidEnd = 1u << 18,
    EditingDidEndOnExit = 1u << 19,
};

// The look a control has; Normal is 0 and the others combine.
enum ControlState : unsigned {
    Normal = 0,
    Highlighted = 1u << 0,
    Disabled = 1u << 1,
    Selected = 1u << 2,
};

// A view that turns touches into events for its targets.
class Control : public View {
public:
    using Action = std::function<void(Control&)>;

    using View::View;
    const char* typeName() const override { return "Control"; }

    bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected) { selected_ = selected; }
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted) { highlighted_ = highlighted; }
    unsigned state() const;

    void addTarget(unsigned events, Action action);
    void sendActionsForControlEvents(unsigned events);

    // One touch phase as a finger would make it; highlight follows the finger.
    void touch(ControlEvent event);

    bool handleTap(Point point) override;
    void describe(std::string& out) const override;

protected:
    // A completed tap inside the control, after TouchUpInside was sent.
    virtual void tapped(Point point) {}

private:
    struct Target {
        unsigned events;
        Action action;
    };
    bool enabled_ = true;
    bool selected_ = false;
    bool highlighted_ = false;
    std::vector<Target> targets_;
};

}  // namespace zorlet
