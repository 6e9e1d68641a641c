#pragma once

#include "ui/Application.h"
#include "ui/View.h"

namespace zorlet {

// The system's bar over the top of the window: the time and the carrier,
// in the application's status bar style. The window owns it apart from its
// subviews; the renderer draws it over the window's tree.
class StatusBar : public View {
public:
    static constexpr double kHeight = 20;

    explicit StatusBar(double width);
    // The style's name in text dumps: "default", "lightContent", "blackOpaque".
    static const char* styleName(StatusBarStyle style);
    const char* typeName() const override { return "StatusBar"; }

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;
};

}  // namespace zorlet
