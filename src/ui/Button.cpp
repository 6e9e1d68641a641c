#include "ui/Button.h"

#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>

namespace zorlet {

Button::Button(Type type) : type_(type) {}

Button::Button(Rect frame, Type type) : Control(frame), type_(type) {}

template <typename T>
T Button::lookup(const std::map<unsigned, T>& values, unsigned state, T fallback) {
    if (auto it = values.find(state); it != values.end()) {
        return it->second;
    }
    // Highlighted-and-selected falls back to selected before normal.
    if ((state & Selected) != 0) {
        if (auto it = values.find(Selected); it != values.end()) {
            return it->second;
        }
    }
    if (auto it = values.find(Normal); it != values.end()) {
        return it->second;
    }
    return fallback;
}

void Button::setTitle(std::string title, unsigned state) {
    titles_[state] = std::move(title);
}

std::string Button::title(unsigned state) const {
    return lookup<std::string>(titles_, state, {});
}

void Button::setTitleColor(const Color& color, unsigned state) {
    titleColors_[state] = color;
}

Color Button::titleColor(unsigned state) const {
    Color fallback = type_ == Type::RoundedRect ? Color::rgb(50, 79, 133) : Color::whiteColor();
    return lookup<Color>(titleColors_, state, fallback);
}

void Button::setImage(ImageAssetPtr image, unsigned state) {
    images_[state] = std::move(image);
}

ImageAssetPtr Button::image(unsigned state) const {
    return lookup<ImageAssetPtr>(images_, state, nullptr);
}

void Button::setBackgroundImage(ImageAssetPtr image, unsigned state) {
    backgroundImages_[state] = std::move(image);
}

ImageAssetPtr Button::backgroundImage(unsigned state) const {
    return lookup<ImageAssetPtr>(backgroundImages_, state, nullptr);
}

Size Button::sizeThatFits(Size limit) const {
    if (auto background = currentBackgroundImage()) {
        return background->size();
    }
    Size size;
    if (auto picture = currentImage()) {
        size = picture->size();
    }
    std::string text = currentTitle();
    if (!text.empty()) {
        auto measured = TextLayout::shared().measure(text, font_, 0);
        size.width += measured.width;
        size.height = std::max(size.height, measured.height);
    }
    return size;
}

void Button::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    if (type_ == Type::RoundedRect) {
        painter.fillRoundedRect(box, 8, isHighlighted() ? Color::rgb(25, 101, 229) : Color::whiteColor());
        painter.strokeRoundedRect(box, 8, Color::white(0.6));
    }
    if (auto background = currentBackgroundImage()) {
        painter.drawImage(*background, box);
    } else if (type_ == Type::Custom && isHighlighted()) {
        painter.fillRect(box, Color::white(0, 0.15));
    }
    std::string text = currentTitle();
    Rect content = box.insetBy(titleInsets_);
    if (auto picture = currentImage()) {
        Size size = picture->size();
        double textWidth = text.empty() ? 0 : TextLayout::shared().measure(text, font_, 0).width;
        double left = (box.width() - size.width - textWidth) / 2;
        double top = (box.height() - size.height) / 2;
        painter.drawImage(*picture, Rect(left, top, size.width, size.height));
        content = Rect(left + size.width, 0, textWidth, box.height()).insetBy(titleInsets_);
    }
    if (!text.empty()) {
        Color color = titleColor(state());
        if (!isEnabled() && titleColors_.find(Disabled) == titleColors_.end()) {
            color = color.withAlpha(color.alpha * 0.5);
        }
        painter.drawText(content, text, font_, color, TextAlignment::Center, LineBreakMode::MiddleTruncation,
                         1);
    }
}

void Button::describe(std::string& out) const {
    std::string text = currentTitle();
    if (!text.empty()) {
        out += " title=" + ViewTreeDump::quoted(text);
    }
    if (auto background = currentBackgroundImage()) {
        out += " background=" + ViewTreeDump::quoted(background->name());
    }
    if (auto picture = currentImage()) {
        out += " image=" + ViewTreeDump::quoted(picture->name());
    }
    Control::describe(out);
}

}  // namespace zorlet
