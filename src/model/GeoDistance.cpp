#include "model/GeoDistance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorlet {

double geodesicDistanceMetres(double latitude1, double longitude1, double latitude2, double longitude2) {
    constexpr double radiansPerDegree = std::numbers::pi / 180.0;
    double phi1 = latitude1 * radiansPerDegree;
    double phi2 = latitude2 * radiansPerDegree;
    double deltaPhi = (latitude2 - latitude1) * radiansPerDegree;
    double deltaLambda = (longitude2 - longitude1) * radiansPerDegree;
    double sinHalfPhi = std::sin(deltaPhi / 2);
    double sinHalfLambda = std::sin(deltaLambda / 2);
    double a = sinHalfPhi * sinHalfPhi + std::cos(phi1) * std::cos(phi2) * sinHalfLambda * sinHalfLambda;
    // Rounding can push `a` a hair outside [0, 1] for antipodal points.
    a = std::clamp(a, 0.0, 1.0);
    return 2 * kEarthMeanRadiusMetres * std::asin(std::sqrt(a));
}

}  // namespace zorlet
