#include "ui/StatusBar.h"

#include "platform/Calendar.h"
#include "platform/MainLoop.h"
#include "ui/Application.h"
#include "ui/Painter.h"

namespace zorlet {

const char* StatusBar::styleName(StatusBarStyle style) {
    switch (style) {
        case StatusBarStyle::LightContent:
            return "lightContent";
        case StatusBarStyle::BlackOpaque:
            return "blackOpaque";
        case StatusBarStyle::Default:
            break;
    }
    return "default";
}

StatusBar::StatusBar(double width) : View(Rect(0, 0, width, kHeight)) {}

void StatusBar::draw(Painter& painter) const {
    StatusBarStyle style = Application::shared().statusBarStyle();
    Rect bar(0, 0, frame().width(), frame().height());
    Color text = Color::whiteColor();
    if (style == StatusBarStyle::Default) {
        painter.fillRect(bar, Color::white(0.94));
        text = Color::blackColor();
    } else if (style == StatusBarStyle::BlackOpaque) {
        painter.fillRect(bar, Color::blackColor());
    }
    // Light content lets what is under the bar show through.
    Clock& clock = MainLoop::main().clock();
    std::string time = Calendar::format(clock.now(), "HH:mm", clock.timeZone());
    painter.drawText(bar, time, Font::boldSystemFont(12), text, TextAlignment::Center);
    painter.drawText(Rect(6, 0, 100, bar.height()), "Zorlet", Font::systemFont(12), text);
}

void StatusBar::describe(std::string& out) const {
    out += " style=";
    out += styleName(Application::shared().statusBarStyle());
}

}  // namespace zorlet
