#pragma once

#include "ui/View.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorlet {

class MapView;

struct Coordinate {
    double latitude = 0;
    double longitude = 0;
    bool operator==(const Coordinate&) const = default;
};

// A centre and the degrees of latitude and longitude shown around it.
struct CoordinateSpan {
    double latitudeDelta = 0;
    double longitudeDelta = 0;
    bool operator==(const CoordinateSpan&) const = default;
};

struct CoordinateRegion {
    Coordinate center;
    CoordinateSpan span;
    bool operator==(const CoordinateRegion&) const = default;

    // A region `latitudeMeters` tall and `longitudeMeters` wide around `center`.
    static CoordinateRegion makeWithDistance(Coordinate center, double latitudeMeters,
                                             double longitudeMeters);
};

// Something placed on the map.
class MapAnnotation {
public:
    virtual ~MapAnnotation() = default;
    virtual Coordinate coordinate() const = 0;
    virtual std::string title() const { return {}; }
    virtual std::string subtitle() const { return {}; }
};

class MapViewDelegate {
public:
    virtual ~MapViewDelegate() = default;
    virtual void mapViewDidUpdateUserLocation(MapView&, Coordinate location) {}
    virtual void mapViewDidFailToLocateUser(MapView&) {}
};

// A map as a model: the region shown, the annotations, and the user's
// location while it shows it (fixes come from UserLocationSource).
class MapView : public View {
public:
    MapView();
    explicit MapView(Rect frame);
    ~MapView() override;
    const char* typeName() const override { return "MapView"; }

    MapViewDelegate* delegate() const { return delegate_; }
    void setDelegate(MapViewDelegate* delegate) { delegate_ = delegate; }

    const CoordinateRegion& region() const { return region_; }
    void setRegion(const CoordinateRegion& region, bool animated);
    // The region widened so that its aspect matches the view's.
    CoordinateRegion regionThatFits(const CoordinateRegion& region) const;

    void addAnnotation(std::shared_ptr<MapAnnotation> annotation);
    const std::vector<std::shared_ptr<MapAnnotation>>& annotations() const { return annotations_; }

    void setShowsUserLocation(bool shows);
    const std::optional<Coordinate>& userLocation() const { return userLocation_; }
    bool lastRegionChangeAnimated() const { return lastAnimated_; }

    // A fix from the location service.
    void deliverUserLocation(Coordinate location);
    void deliverLocationFailure();

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    MapViewDelegate* delegate_ = nullptr;
    CoordinateRegion region_{{39.9042, 116.4074}, {0.2, 0.2}};
    std::vector<std::shared_ptr<MapAnnotation>> annotations_;
    bool showsUserLocation_ = false;
    std::optional<Coordinate> userLocation_;
    bool lastAnimated_ = false;
};

}  // namespace zorlet
