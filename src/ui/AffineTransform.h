#pragma once

#include "ui/Geometry.h"

namespace zorlet {

// A 2D affine transform in the phone framework's form: a point (x, y) maps to
// (a·x + c·y + tx, b·x + d·y + ty).
struct AffineTransform {
    double a = 1;
    double b = 0;
    double c = 0;
    double d = 1;
    double tx = 0;
    double ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform translation(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
    static AffineTransform scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }

    bool isIdentity() const { return *this == AffineTransform{}; }
    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // Component-wise blend, `t` 0 giving `from` and 1 giving `to`.
    static AffineTransform interpolate(const AffineTransform& from, const AffineTransform& to, double t);

    bool operator==(const AffineTransform&) const = default;
};

}  // namespace zorlet
