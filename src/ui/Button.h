#pragma once

#include "platform/TextLayout.h"
#include "ui/Control.h"

#include <map>
#include <string>

namespace zorlet {

// A push button with a title, picture and background picture per state. A
// state without its own value shows the Normal one.
class Button : public Control {
public:
    enum class Type { Custom, RoundedRect };

    explicit Button(Type type = Type::Custom);
    explicit Button(Rect frame, Type type = Type::Custom);
    static std::shared_ptr<Button> create(Type type = Type::Custom) { return std::make_shared<Button>(type); }
    const char* typeName() const override { return "Button"; }

    Type buttonType() const { return type_; }

    void setTitle(std::string title, unsigned state = Normal);
    std::string title(unsigned state = Normal) const;
    void setTitleColor(const Color& color, unsigned state = Normal);
    Color titleColor(unsigned state = Normal) const;
    void setImage(ImageAssetPtr image, unsigned state = Normal);
    ImageAssetPtr image(unsigned state = Normal) const;
    void setBackgroundImage(ImageAssetPtr image, unsigned state = Normal);
    ImageAssetPtr backgroundImage(unsigned state = Normal) const;

    std::string currentTitle() const { return title(state()); }
    ImageAssetPtr currentImage() const { return image(state()); }
    ImageAssetPtr currentBackgroundImage() const { return backgroundImage(state()); }

    const Font& titleFont() const { return font_; }
    void setTitleFont(const Font& font) { font_ = font; }
    void setTitleEdgeInsets(const EdgeInsets& insets) { titleInsets_ = insets; }

    Size sizeThatFits(Size limit) const override;
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    template <typename T>
    static T lookup(const std::map<unsigned, T>& values, unsigned state, T fallback);

    Type type_;
    std::map<unsigned, std::string> titles_;
    std::map<unsigned, Color> titleColors_;
    std::map<unsigned, ImageAssetPtr> images_;
    std::map<unsigned, ImageAssetPtr> backgroundImages_;
    Font font_ = Font::boldSystemFont(15);
    EdgeInsets titleInsets_;
};

}  // namespace zorlet
