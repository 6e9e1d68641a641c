#pragma once

#include "platform/Clock.h"
#include "ui/TabBarController.h"

namespace zorlet {

class TabBar;
class TabBarItem;

// The tab shell: polls the server every 30 seconds for unread notices and
// shows them as the badge of the message tab, reloads a list when its tab is
// tapped again, and opens the re-authorization screen at start when the
// signed-in user's external account has expired.
class ZorletTabBarController : public TabBarController, public TabBarControllerDelegate {
public:
    ZorletTabBarController();
    std::string className() const override { return "ZorletTabBarController"; }

    void viewDidLoad() override;
    // The status bar, hidden by the welcome screen, shows again with the shell.
    void viewWillAppear(bool animated) override;

    // Polls now and makes sure the repeating poll runs.
    void startNotice();
    // One poll of the unread-notice count.
    void doNotice();

    using TabBarController::tabBar;
    // A tap on a tab, before the selection changes.
    void tabBar(TabBar& tabBar, TabBarItem& item);

    bool shouldSelectViewController(TabBarController& controller, ViewController& target) override;

    static constexpr Duration kNoticeInterval{30000};
    static constexpr double kNoticeTimeOutSeconds = 4;

private:
    static void showNoticeCount(ZorletTabBarController& shell, std::int64_t count);
};

}  // namespace zorlet
