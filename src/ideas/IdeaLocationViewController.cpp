#include "ideas/IdeaLocationViewController.h"

#include "ideas/IdeaMapAnnotation.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/WeakSelf.h"
#include "ui/Application.h"
#include "ui/BarButtonItem.h"
#include "ui/NavigationController.h"
#include "widgets/OperationProgress.h"

#include <cmath>
#include <cstdio>

namespace zorlet {

void IdeaLocationViewController::viewDidLoad() {
    setTitle("查看地图");
    view().setId("IdeaLocationViewController");
    mapView = std::make_shared<MapView>(view().bounds());
    mapView->setId("mapView");
    mapView->setAutoresizingMask(View::FlexibleSize);
    mapView->setShowsUserLocation(true);
    view().addSubview(mapView);

    navButton = Button::create();
    navButton->setId("navButton");
    navButton->setTitle("导航");
    navButton->setBackgroundImage(ImageAsset::named("top_nav_btn_link"));
    navButton->setFrame(Rect(0, 0, 50, 30));
    auto weak = weakSelf(this);
    navButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->nav();
        }
    });
    navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(navButton));

    NavigationController* navigation = navigationController();
    View* lockView = navigation != nullptr ? &navigation->view() : &view();
    auto hud = OperationProgress::show(lockView, "定位中...");
    auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("idea/v133/location"),
                                                        {{"ideaId", ideaId}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    HttpRequestSender::doRequest(request, lockView, [weak, hud](const Json& envelope) {
        OperationProgress::hide(hud);
        if (auto self = weak.lock()) {
            self->showLocation(jsonHas(envelope, "result") ? envelope["result"] : Json());
        }
    });
}

void IdeaLocationViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void IdeaLocationViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void IdeaLocationViewController::showLocation(const Json& result) {
    if (!result.is_array() || result.size() != 2 || !result[0].is_number() || !result[1].is_number()) {
        return;
    }
    double lon = result[0].get<double>();
    double lat = result[1].get<double>();
    // A position off the globe is as good as none.
    if (!std::isfinite(lat) || !std::isfinite(lon) || std::fabs(lat) > 90 || std::fabs(lon) > 180) {
        return;
    }
    latitude = lat;
    longitude = lon;
    Coordinate coordinate{latitude, longitude};
    auto region = CoordinateRegion::makeWithDistance(coordinate, kRegionMetres, kRegionMetres);
    mapView->setRegion(mapView->regionThatFits(region), true);
    mapView->addAnnotation(std::make_shared<IdeaMapAnnotation>(coordinate, place, std::string()));
    hasLocation = true;
}

std::string IdeaLocationViewController::routeUrl() const {
    char destination[64];
    std::snprintf(destination, sizeof destination, "%f,%f", latitude, longitude);
    // Without a fix of the user's own the start is left to the map, rather than a made-up 0,0.
    std::string start;
    if (mapView && mapView->userLocation()) {
        char text[64];
        std::snprintf(text, sizeof text, "%f,%f", mapView->userLocation()->latitude,
                      mapView->userLocation()->longitude);
        start = text;
    }
    return std::string(kWebMapHost) + "/maps?saddr=" + start + "&daddr=" + destination;
}

void IdeaLocationViewController::nav() {
    if (!hasLocation) {
        return;
    }
    // A current phone hands the route to its maps application; the desktop has none, so the public
    // web route stands in for it whatever the system version.
    Application::shared().openURL(routeUrl());
}

}  // namespace zorlet
