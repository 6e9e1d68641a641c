#include "ui/MapView.h"

#include "ui/Painter.h"
#include "ui/UserLocationSource.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>
#include <cmath>

namespace zorlet {

namespace {
constexpr double kMetersPerDegreeLatitude = 111320.0;
}  // namespace

CoordinateRegion CoordinateRegion::makeWithDistance(Coordinate center, double latitudeMeters,
                                                    double longitudeMeters) {
    double cosLatitude = std::max(1e-6, std::cos(center.latitude * M_PI / 180.0));
    return {center,
            {latitudeMeters / kMetersPerDegreeLatitude,
             longitudeMeters / (kMetersPerDegreeLatitude * cosLatitude)}};
}

MapView::MapView() {
    setBackgroundColor(Color::rgb(229, 227, 223));
}

MapView::MapView(Rect frame) : View(frame) {
    setBackgroundColor(Color::rgb(229, 227, 223));
}

MapView::~MapView() {
    UserLocationSource::shared().stopUpdating(this);
}

void MapView::setRegion(const CoordinateRegion& region, bool animated) {
    region_ = region;
    lastAnimated_ = animated;
}

CoordinateRegion MapView::regionThatFits(const CoordinateRegion& region) const {
    if (frame().width() <= 0 || frame().height() <= 0) {
        return region;
    }
    // Compare in metres on the ground so the fitted region keeps the view's aspect.
    double cosLatitude = std::max(1e-6, std::cos(region.center.latitude * M_PI / 180.0));
    double tall = region.span.latitudeDelta;
    double wide = region.span.longitudeDelta * cosLatitude;
    double aspect = frame().width() / frame().height();
    CoordinateRegion fitted = region;
    if (wide / tall < aspect) {
        wide = tall * aspect;
    } else {
        tall = wide / aspect;
    }
    fitted.span = {tall, wide / cosLatitude};
    return fitted;
}

void MapView::addAnnotation(std::shared_ptr<MapAnnotation> annotation) {
    if (annotation) {
        annotations_.push_back(std::move(annotation));
    }
}

void MapView::setShowsUserLocation(bool shows) {
    showsUserLocation_ = shows;
    if (shows) {
        UserLocationSource::shared().startUpdating(this);
    } else {
        UserLocationSource::shared().stopUpdating(this);
        userLocation_.reset();
    }
}

void MapView::deliverUserLocation(Coordinate location) {
    if (!showsUserLocation_) {
        return;
    }
    userLocation_ = location;
    if (delegate_ != nullptr) {
        delegate_->mapViewDidUpdateUserLocation(*this, location);
    }
}

void MapView::deliverLocationFailure() {
    if (showsUserLocation_ && delegate_ != nullptr) {
        delegate_->mapViewDidFailToLocateUser(*this);
    }
}

void MapView::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    if (box.isEmpty()) {
        return;
    }
    for (double x = 0; x < box.width(); x += 40) {
        painter.drawLine({x, 0}, {x, box.height()}, Color::white(1, 0.6));
    }
    for (double y = 0; y < box.height(); y += 40) {
        painter.drawLine({0, y}, {box.width(), y}, Color::white(1, 0.6));
    }
    auto toPoint = [&](Coordinate c) {
        double x = box.midX() + (c.longitude - region_.center.longitude) /
                                    std::max(1e-9, region_.span.longitudeDelta) * box.width();
        double y = box.midY() - (c.latitude - region_.center.latitude) /
                                    std::max(1e-9, region_.span.latitudeDelta) * box.height();
        return Point{x, y};
    };
    for (const auto& annotation : annotations_) {
        Point p = toPoint(annotation->coordinate());
        painter.fillCircle({p.x, p.y - 12}, 8, Color::rgb(220, 40, 40));
        painter.drawLine({p.x, p.y - 12}, p, Color::rgb(120, 20, 20), 2);
        std::string title = annotation->title();
        if (!title.empty()) {
            painter.drawText(Rect(p.x - 80, p.y - 44, 160, 20), title, Font::boldSystemFont(13),
                             Color::blackColor(), TextAlignment::Center);
        }
    }
    if (userLocation_) {
        Point p = toPoint(*userLocation_);
        painter.fillCircle(p, 9, Color::whiteColor());
        painter.fillCircle(p, 6, Color::rgb(30, 110, 240));
    }
}

void MapView::describe(std::string& out) const {
    out += " center=(" + ViewTreeDump::number(region_.center.latitude) + "," +
           ViewTreeDump::number(region_.center.longitude) + ")";
    out += " annotations=" + std::to_string(annotations_.size());
    if (showsUserLocation_) {
        out += " showsUser";
    }
}

}  // namespace zorlet
