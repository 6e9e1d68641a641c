#include "people/UserLocationViewController.h"

#include "people/UserMapAnnotation.h"
#include "platform/Analytics.h"

namespace zorlet {

void UserLocationViewController::viewDidLoad() {
    setTitle("查看地图");
    view().setId("UserLocationViewController");
    mapView = std::make_shared<MapView>(view().bounds());
    mapView->setId("mapView");
    mapView->setAutoresizingMask(View::FlexibleSize);
    view().addSubview(mapView);

    Coordinate coordinate{latitude, longitude};
    auto region = CoordinateRegion::makeWithDistance(coordinate, kRegionMetres, kRegionMetres);
    mapView->setRegion(mapView->regionThatFits(region), true);
    mapView->addAnnotation(std::make_shared<UserMapAnnotation>(coordinate, std::nullopt, std::nullopt));
}

void UserLocationViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void UserLocationViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

}  // namespace zorlet
