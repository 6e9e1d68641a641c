#pragma once

#include "platform/Json.h"
#include "ui/Button.h"
#include "ui/MapView.h"
#include "ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// Where an idea takes place: a map with its pin, and "导航" handing the
// route from the user's position to the idea to a web map.
class IdeaLocationViewController : public ViewController {
public:
    static constexpr double kRegionMetres = 1000;
    static constexpr const char* kWebMapHost = "https://maps.google.com";

    std::string className() const override { return "IdeaLocationViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Applies a location answer: [longitude, latitude] places the pin; anything else changes nothing.
    void showLocation(const Json& result);
    void nav();
    // The route URL, from the user's position when it is known.
    std::string routeUrl() const;

    std::int64_t ideaId = 0;
    std::string place;
    double latitude = 0;
    double longitude = 0;
    bool hasLocation = false;
    std::shared_ptr<MapView> mapView;
    std::shared_ptr<Button> navButton;
};

}  // namespace zorlet
