#pragma once

#include "ui/MapView.h"
#include "ui/ViewController.h"

#include <memory>

namespace zorlet {

// A small map showing one user's position, a kilometre across.
class UserLocationViewController : public ViewController {
public:
    static constexpr double kRegionMetres = 1000;

    UserLocationViewController(double latitude = 0, double longitude = 0)
        : latitude(latitude), longitude(longitude) {}
    std::string className() const override { return "UserLocationViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    double latitude;
    double longitude;
    std::shared_ptr<MapView> mapView;
};

}  // namespace zorlet
