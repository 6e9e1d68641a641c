#include "ui/AffineTransform.h"

namespace zorlet {

AffineTransform AffineTransform::interpolate(const AffineTransform& from, const AffineTransform& to,
                                             double t) {
    auto mix = [t](double x, double y) { return x + (y - x) * t; };
    return {mix(from.a, to.a), mix(from.b, to.b),   mix(from.c, to.c),
            mix(from.d, to.d), mix(from.tx, to.tx), mix(from.ty, to.ty)};
}

}  // namespace zorlet
