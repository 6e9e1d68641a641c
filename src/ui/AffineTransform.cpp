#include "ui/AffineTransform.h"

#include <cmath>

namespace zorlet {

AffineTransform AffineTransform::rotation(double angle) {
    double cosine = std::cos(angle);
    double sine = std::sin(angle);
    return {cosine, sine, -sine, cosine, 0, 0};
}

AffineTransform AffineTransform::concat(const AffineTransform& next) const {
    return {a * next.a + b * next.c,
            a * next.b + b * next.d,
            c * next.a + d * next.c,
            c * next.b + d * next.d,
            tx * next.a + ty * next.c + next.tx,
            tx * next.b + ty * next.d + next.ty};
}

AffineTransform AffineTransform::interpolate(const AffineTransform& from, const AffineTransform& to,
                                             double t) {
    auto mix = [t](double x, double y) { return x + (y - x) * t; };
    return {mix(from.a, to.a), mix(from.b, to.b),   mix(from.c, to.c),
            mix(from.d, to.d), mix(from.tx, to.tx), mix(from.ty, to.ty)};
}

}  // namespace zorlet
