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
    Color ink = Color::whiteColor();
    if (style == StatusBarStyle::Default) {
        painter.fillRect(bar, Color::white(0.97));
        ink = Color::blackColor();
    } else if (style == StatusBarStyle::BlackOpaque) {
        painter.fillRect(bar, Color::blackColor());
    }
    // Light content lets what is under the bar show through.
    const double middle = bar.height() / 2;
    // Signal strength: five dots, four of them full.
    for (int dot = 0; dot < 5; ++dot) {
        Point centre{7.0 + dot * 6.5, middle};
        if (dot < 4) {
            painter.fillCircle(centre, 2.6, ink);
        } else {
            painter.strokeRoundedRect(Rect(centre.x - 2.6, centre.y - 2.6, 5.2, 5.2), 2.6, ink, 0.8);
        }
    }
    painter.drawText(Rect(40, 0, 80, bar.height()), "Zorlet", Font::systemFont(12), ink);
    Clock& clock = MainLoop::main().clock();
    std::string time = Calendar::format(clock.now(), "HH:mm", clock.timeZone());
    painter.drawText(bar, time, Font::boldSystemFont(12), ink, TextAlignment::Center);
    // A battery, mostly full.
    Rect battery(bar.width() - 31, middle - 5, 23, 10);
    painter.strokeRoundedRect(battery, 2.5, ink.withAlpha(ink.alpha * 0.5), 1);
    painter.fillRoundedRect(Rect(battery.maxX() + 1, middle - 2, 1.5, 4), 0.75,
                            ink.withAlpha(ink.alpha * 0.5));
    painter.fillRoundedRect(
        Rect(battery.x() + 2, battery.y() + 2, (battery.width() - 4) * 0.8, battery.height() - 4), 1.2, ink);
    painter.drawText(Rect(bar.width() - 72, 0, 38, bar.height()), "80%", Font::systemFont(11), ink,
                     TextAlignment::Right);
}

void StatusBar::describe(std::string& out) const {
    out += " style=";
    out += styleName(Application::shared().statusBarStyle());
}

}  // namespace zorlet
