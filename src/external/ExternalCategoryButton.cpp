#include "external/ExternalCategoryButton.h"

#include "platform/TextLayout.h"
#include "ui/ImageAsset.h"

#include <algorithm>

namespace zorlet {

ExternalCategoryButton::ExternalCategoryButton(const std::string& title)
    : Button(Rect(0, 0, kWidth, kHeight)) {
    setBackgroundImage(ImageAsset::named("external_category_btn"));
    setBackgroundImage(ImageAsset::named("external_category_btn_hover"), Highlighted);
    setTitle(title);
    setTitle(title, Highlighted);
    setTitleColor(Color::white(0.4));
    setTitleColor(Color::whiteColor(), Highlighted);
    setTitleFont(Font::systemFont(16));
    // Buttons centre their titles: the right inset takes what the title leaves, so it sits on the left.
    double textWidth = TextLayout::shared().measure(title, titleFont(), kWidth, kHeight).width;
    setTitleEdgeInsets(EdgeInsets{0, kLeftInset, 0, std::max(0.0, kWidth - kLeftInset - textWidth)});
}

}  // namespace zorlet
