#pragma once

namespace zorlet {

// Great-circle distance in metres between two positions given in degrees,
// by the haversine formula on a sphere of the WGS-84 mean radius
// (6 371 008.8 m). Within 0.5% of the ellipsoidal distance, which is far
// finer than the 100 m steps in which distances are shown. Non-finite input
// gives NaN.
double geodesicDistanceMetres(double latitude1, double longitude1, double latitude2, double longitude2);

inline constexpr double kEarthMeanRadiusMetres = 6371008.8;

}  // namespace zorlet
