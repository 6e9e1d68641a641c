#include "app/InterfaceDescription.h"

#include "ui/PageControl.h"

#include "platform/AtomicFile.h"
#include "platform/Log.h"
#include "ui/ActivityIndicatorView.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"
#include "ui/TextField.h"
#include "ui/WebView.h"

#include <map>
#include <mutex>

namespace zorlet {

namespace {

// Descriptions are read once and kept: screens are built many times.
const Json& cachedDescription(const std::string& name) {
    static std::mutex mutex;
    static std::map<std::string, Json> cache;
    std::lock_guard lock(mutex);
    if (auto it = cache.find(name); it != cache.end()) {
        return it->second;
    }
    std::string path = std::string(ZORLET_RESOURCES_DIR) + "/interfaces/" + name + ".json";
    Json description = Json::object();
    if (auto bytes = AtomicFile::read(path)) {
        if (auto parsed = parseJson(*bytes); parsed && parsed->is_object()) {
            description = std::move(*parsed);
        }
    }
    if (!description.contains("objects")) {
        log().warn("the interface description {} is missing or unreadable", path);
    }
    return cache.emplace(name, std::move(description)).first->second;
}

Rect frameOf(const Json& description) {
    const Json& frame = jsonArray(description, "frame");
    if (frame.size() != 4) {
        return {};
    }
    auto at = [&](std::size_t i) { return frame[i].is_number() ? frame[i].get<double>() : 0.0; };
    return Rect(at(0), at(1), at(2), at(3));
}

// "#RRGGBB", optionally with an alpha as a separate "…Alpha" member.
std::optional<Color> colorOf(const Json& description, const std::string& key) {
    std::string text = jsonString(description, key);
    if (text.size() != 7 || text[0] != '#') {
        return std::nullopt;
    }
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str() + 1, &end, 16);
    if (end == nullptr || *end != '\0') {
        return std::nullopt;
    }
    double alpha = jsonHas(description, key + "Alpha") ? jsonDouble(description, key + "Alpha") : 1.0;
    return Color::hex(static_cast<std::uint32_t>(value), alpha);
}

Font fontOf(const Json& description, double fallbackSize) {
    double size = jsonHas(description, "fontSize") ? jsonDouble(description, "fontSize") : fallbackSize;
    return jsonBool(description, "bold") ? Font::boldSystemFont(size) : Font::systemFont(size);
}

TextAlignment alignmentOf(const Json& description) {
    std::string alignment = jsonString(description, "alignment");
    if (alignment == "center") {
        return TextAlignment::Center;
    }
    if (alignment == "right") {
        return TextAlignment::Right;
    }
    return TextAlignment::Left;
}

ViewPtr makeLabel(const Json& d) {
    auto label = std::make_shared<Label>();
    label->setText(jsonString(d, "text"));
    label->setFont(fontOf(d, 17));
    label->setTextAlignment(alignmentOf(d));
    if (jsonHas(d, "numberOfLines")) {
        label->setNumberOfLines(static_cast<int>(jsonInt(d, "numberOfLines")));
        label->setLineBreakMode(LineBreakMode::WordWrap);
    }
    if (auto color = colorOf(d, "textColor")) {
        label->setTextColor(*color);
    }
    return label;
}

ViewPtr makeButton(const Json& d) {
    auto button = Button::create(jsonString(d, "buttonType") == "roundedRect" ? Button::Type::RoundedRect
                                                                              : Button::Type::Custom);
    if (jsonHas(d, "title")) {
        button->setTitle(jsonString(d, "title"));
    }
    if (auto color = colorOf(d, "titleColor")) {
        button->setTitleColor(*color);
    }
    if (jsonHas(d, "fontSize")) {
        button->setTitleFont(fontOf(d, 15));
    }
    if (jsonHas(d, "image")) {
        button->setImage(ImageAsset::named(jsonString(d, "image")));
    }
    if (jsonHas(d, "highlightedImage")) {
        button->setImage(ImageAsset::named(jsonString(d, "highlightedImage")), Highlighted);
    }
    if (jsonHas(d, "buttonBackground")) {
        button->setBackgroundImage(ImageAsset::named(jsonString(d, "buttonBackground")));
    }
    if (jsonHas(d, "highlightedButtonBackground")) {
        button->setBackgroundImage(ImageAsset::named(jsonString(d, "highlightedButtonBackground")),
                                   Highlighted);
    }
    return button;
}

ViewPtr makeTextField(const Json& d) {
    auto field = std::make_shared<TextField>();
    field->setPlaceholder(jsonString(d, "placeholder"));
    field->setText(jsonString(d, "text"));
    field->setFont(fontOf(d, 17));
    field->setSecureTextEntry(jsonBool(d, "secure"));
    if (jsonString(d, "keyboardType") == "email") {
        field->setKeyboardType(KeyboardType::EmailAddress);
    }
    static const std::map<std::string, ReturnKeyType> returnKeys = {
        {"next", ReturnKeyType::Next}, {"done", ReturnKeyType::Done}, {"go", ReturnKeyType::Go}};
    if (auto it = returnKeys.find(jsonString(d, "returnKeyType")); it != returnKeys.end()) {
        field->setReturnKeyType(it->second);
    }
    if (jsonString(d, "borderStyle") == "roundedRect") {
        field->setBorderStyle(TextField::BorderStyle::RoundedRect);
    }
    return field;
}

ViewPtr makeImageView(const Json& d) {
    auto imageView = std::make_shared<ImageView>();
    if (jsonHas(d, "image")) {
        imageView->setImage(ImageAsset::named(jsonString(d, "image")));
    }
    return imageView;
}

ViewPtr makeTableView(const Json& d) {
    auto style = jsonString(d, "style") == "grouped" ? TableView::Style::Grouped : TableView::Style::Plain;
    auto table = std::make_shared<TableView>(Rect(), style);
    if (jsonHas(d, "rowHeight")) {
        table->setRowHeight(jsonDouble(d, "rowHeight"));
    }
    table->setScrollEnabled(!jsonHas(d, "scrollEnabled") || jsonBool(d, "scrollEnabled"));
    return table;
}

ViewPtr makeCell(const Json& d) {
    auto cell =
        std::make_shared<TableViewCell>(TableViewCell::Style::Default, jsonString(d, "reuseIdentifier"));
    cell->setSelectionStyle(TableViewCell::SelectionStyle::None);
    return cell;
}

ViewPtr makeView(const std::string& type, const Json& d) {
    if (type == "Label") {
        return makeLabel(d);
    }
    if (type == "Button") {
        return makeButton(d);
    }
    if (type == "TextField") {
        return makeTextField(d);
    }
    if (type == "ImageView") {
        return makeImageView(d);
    }
    if (type == "ScrollView") {
        return std::make_shared<ScrollView>();
    }
    if (type == "TableView") {
        return makeTableView(d);
    }
    if (type == "TableViewCell") {
        return makeCell(d);
    }
    if (type == "WebView") {
        return std::make_shared<WebView>();
    }
    if (type == "PageControl") {
        return std::make_shared<PageControl>();
    }
    if (type == "ActivityIndicatorView") {
        return std::make_shared<ActivityIndicatorView>();
    }
    if (type != "View") {
        log().warn("interface descriptions know no class {}", type);
    }
    return std::make_shared<View>();
}

}  // namespace

ViewPtr InterfaceDescription::build(const Json& description) {
    ViewPtr view = makeView(jsonString(description, "class"), description);
    view->setFrame(frameOf(description));
    view->setId(jsonString(description, "id"));
    view->setTag(static_cast<int>(jsonInt(description, "tag")));
    view->setHidden(jsonBool(description, "hidden"));
    if (auto color = colorOf(description, "backgroundColor")) {
        view->setBackgroundColor(*color);
    }
    if (jsonHas(description, "backgroundImage")) {
        view->setBackgroundImage(ImageAsset::named(jsonString(description, "backgroundImage")));
    }
    if (jsonBool(description, "flexibleSize")) {
        view->setAutoresizingMask(View::FlexibleSize);
    }
    // A cell's pieces belong in its content view.
    auto* cell = dynamic_cast<TableViewCell*>(view.get());
    if (cell != nullptr) {
        cell->contentView().setFrame(Rect(Point{}, view->frame().size));
    }
    View& parent = cell != nullptr ? cell->contentView() : *view;
    for (const auto& child : jsonArray(description, "subviews")) {
        if (child.is_object()) {
            parent.addSubview(build(child));
        }
    }
    return view;
}

std::vector<ViewPtr> InterfaceDescription::load(const std::string& name) {
    std::vector<ViewPtr> objects;
    for (const auto& object : jsonArray(cachedDescription(name), "objects")) {
        if (object.is_object()) {
            objects.push_back(build(object));
        }
    }
    return objects;
}

View* InterfaceDescription::viewWithId(View& root, const std::string& id) {
    if (root.id() == id) {
        return &root;
    }
    for (const auto& child : root.subviews()) {
        if (View* found = viewWithId(*child, id)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace zorlet
