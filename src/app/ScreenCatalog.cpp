#include "app/ScreenCatalog.h"

#include "app/ScreenFactory.h"
#include "ideas/IdeaViewController.h"
#include "messaging/SmsViewController.h"
#include "people/UserViewController.h"
#include "profile/HomeViewController.h"

namespace zorlet {

// The tab roots are the only screens made by name: the tab layout lists them
// in its configuration. Every other screen is built by the one that opens it.
// Registration is explicit rather than by static initialisers, which a static
// library drops when nothing else refers to the screen's file.
void ScreenCatalog::registerAll() {
    ScreenFactory::registerScreen("IdeaViewController",
                                  [](const Json&) { return std::make_shared<IdeaViewController>(); });
    ScreenFactory::registerScreen("SmsViewController",
                                  [](const Json&) { return std::make_shared<SmsViewController>(); });
    ScreenFactory::registerScreen("UserViewController",
                                  [](const Json&) { return std::make_shared<UserViewController>(); });
    ScreenFactory::registerScreen("HomeViewController",
                                  [](const Json&) { return std::make_shared<HomeViewController>(); });
}

}  // namespace zorlet
