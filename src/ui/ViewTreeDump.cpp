#include "ui/ViewTreeDump.h"

#include "ui/AlertRegistry.h"
#include "ui/Keyboard.h"
#include "ui/View.h"
#include "ui/Window.h"

#include <cmath>
#include <cstdio>

namespace zorlet {

std::string ViewTreeDump::quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    out += '"';
    return out;
}

std::string ViewTreeDump::number(double value) {
    if (std::fabs(value) < 5e-3) {
        return "0";
    }
    char buffer[32];
    if (std::fabs(value - std::round(value)) < 5e-3) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.2f", value);
        std::string text = buffer;
        while (!text.empty() && text.back() == '0') {
            text.pop_back();
        }
        return text;
    }
    return buffer;
}

std::string ViewTreeDump::point(Point p) {
    return "(" + number(p.x) + "," + number(p.y) + ")";
}

std::string ViewTreeDump::size(Size s) {
    return number(s.width) + "x" + number(s.height);
}

std::string ViewTreeDump::rect(const Rect& r) {
    return "(" + number(r.x()) + "," + number(r.y()) + "," + number(r.width()) + "," + number(r.height()) +
           ")";
}

std::string ViewTreeDump::line(const View& view) {
    std::string out = view.typeName();
    out += " " + rect(view.frame());
    if (!view.id().empty()) {
        out += " id=" + view.id();
    }
    if (view.tag() != 0) {
        out += " tag=" + std::to_string(view.tag());
    }
    if (view.alpha() < 1) {
        out += " alpha=" + number(view.alpha());
    }
    if (const AffineTransform& t = view.transform(); !t.isIdentity()) {
        out += " transform=(" + number(t.a) + "," + number(t.b) + "," + number(t.c) + "," + number(t.d) +
               "," + number(t.tx) + "," + number(t.ty) + ")";
    }
    view.describe(out);
    return out;
}

void ViewTreeDump::dumpInto(const View& view, int depth, std::string& out) {
    if (view.isHidden() || view.alpha() <= 0) {
        return;
    }
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += line(view);
    out += '\n';
    for (const auto& child : view.subviews()) {
        dumpInto(*child, depth + 1, out);
    }
}

std::string ViewTreeDump::dump(const View& root) {
    std::string out;
    dumpInto(root, 0, out);
    return out;
}

std::string ViewTreeDump::dumpScreen(const Window& window) {
    std::string out = dump(window);
    Size screen = window.frame().size;
    for (const auto& sheet : AlertRegistry::shared().sheets()) {
        sheet->layoutForScreen(screen);
        dumpInto(*sheet, 0, out);
    }
    for (const auto& alert : AlertRegistry::shared().alerts()) {
        alert->layoutForScreen(screen);
        dumpInto(*alert, 0, out);
    }
    if (Keyboard::shared().isShown()) {
        out += "Keyboard " + rect(Keyboard::shared().frame()) +
               " mode=" + Keyboard::shared().currentInputMode() + "\n";
    }
    return out;
}

}  // namespace zorlet
