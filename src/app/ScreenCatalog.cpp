#include "app/ScreenCatalog.h"

#include "app/GuidanceViewController.h"
#include "app/ScreenFactory.h"
#include "app/WelcomeViewController.h"
#include "ideas/IdeaViewController.h"
#include "messaging/SmsViewController.h"
#include "people/SendPostViewController.h"
#include "people/UserLocationViewController.h"
#include "people/UserViewController.h"
#include "profile/GuideSettingViewController.h"
#include "profile/HomeViewController.h"
#include "profile/ProfileSettingViewController.h"
#include "session/AuthorizeExpiredViewController.h"

namespace zorlet {

// Registration is explicit rather than by static initialisers, which a static
// library drops when nothing else refers to the screen's file. One line per
// screen the shell makes by name.
void ScreenCatalog::registerAll() {
    ScreenFactory::registerScreen("WelcomeViewController",
                                  [](const Json&) { return std::make_shared<WelcomeViewController>(); });
    ScreenFactory::registerScreen("GuidanceViewController",
                                  [](const Json&) { return std::make_shared<GuidanceViewController>(); });
    ScreenFactory::registerScreen("AuthorizeExpiredViewController", [](const Json& arguments) {
        return std::make_shared<AuthorizeExpiredViewController>(jsonInt(arguments, "tpId"));
    });
    ScreenFactory::registerScreen("GuideSettingViewController",
                                  [](const Json&) { return std::make_shared<GuideSettingViewController>(); });
    ScreenFactory::registerScreen("ProfileSettingViewController", [](const Json&) {
        return std::make_shared<ProfileSettingViewController>();
    });
    ScreenFactory::registerScreen("IdeaViewController",
                                  [](const Json&) { return std::make_shared<IdeaViewController>(); });
    ScreenFactory::registerScreen("SmsViewController",
                                  [](const Json&) { return std::make_shared<SmsViewController>(); });
    ScreenFactory::registerScreen("UserViewController",
                                  [](const Json&) { return std::make_shared<UserViewController>(); });
    ScreenFactory::registerScreen("HomeViewController",
                                  [](const Json&) { return std::make_shared<HomeViewController>(); });
    ScreenFactory::registerScreen("SendPostViewController",
                                  [](const Json&) { return std::make_shared<SendPostViewController>(); });
    ScreenFactory::registerScreen("UserLocationViewController", [](const Json& arguments) {
        return std::make_shared<UserLocationViewController>(jsonDouble(arguments, "latitude"),
                                                            jsonDouble(arguments, "longitude"));
    });
}

}  // namespace zorlet
