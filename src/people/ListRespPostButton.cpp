#include "people/ListRespPostButton.h"

#include "platform/TextLayout.h"

#include <cmath>
#include <string>

namespace zorlet {

namespace {

constexpr double kHeight = 28;

}  // namespace

ListRespPostButton::ListRespPostButton() {
    setBackgroundImage(ImageAsset::named("list_resp_btn"));
    setBackgroundImage(ImageAsset::named("list_resp_btn_disabled"), Disabled);
    setTitleFont(Font::systemFont(12));
    setTitleEdgeInsets(EdgeInsets{0, 20, 0, 0});
    setTitleColor(Color::white(0.4));
    setTitleColor(Color::whiteColor(), Highlighted);
    setTitleColor(Color::white(0.8), Disabled);
    setFrame(Rect(0, 0, imgWidth, kHeight));
}

void ListRespPostButton::setCount(std::int64_t count) {
    std::string text = count == 0 ? std::string() : std::to_string(count);
    for (unsigned state : {Normal, Highlighted, Disabled}) {
        setTitle(text, state);
    }
    double textWidth =
        text.empty() ? 0 : std::ceil(TextLayout::shared().measure(text, titleFont(), 100, 25).width);
    setFrame(Rect(frame().origin, Size{textWidth + imgWidth, kHeight}));
}

}  // namespace zorlet
