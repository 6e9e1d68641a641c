#pragma once

#include <algorithm>

namespace zorlet {

// Points, sizes and rectangles in points, with the phone framework's
// conventions: y grows downwards, a rectangle's origin is its top-left corner.
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
    Point operator+(const Point& o) const { return {x + o.x, y + o.y}; }
    Point operator-(const Point& o) const { return {x - o.x, y - o.y}; }
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    bool operator==(const EdgeInsets&) const = default;
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}
    Rect(Point o, Size s) : origin(o), size(s) {}

    double x() const { return origin.x; }
    double y() const { return origin.y; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double midX() const { return origin.x + size.width / 2; }
    double midY() const { return origin.y + size.height / 2; }
    bool isEmpty() const { return size.width <= 0 || size.height <= 0; }
    bool contains(Point p) const { return p.x >= x() && p.x < maxX() && p.y >= y() && p.y < maxY(); }
    Rect insetBy(const EdgeInsets& i) const {
        return Rect(x() + i.left, y() + i.top, std::max(0.0, width() - i.left - i.right),
                    std::max(0.0, height() - i.top - i.bottom));
    }
    bool operator==(const Rect&) const = default;
};

}  // namespace zorlet
