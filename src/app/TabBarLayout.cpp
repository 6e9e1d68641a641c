#include "app/TabBarLayout.h"

#include "app/CustomNavigationController.h"
#include "app/MessageNavigationController.h"
#include "app/ScreenFactory.h"
#include "app/ZorletTabBarController.h"
#include "ui/ImageAsset.h"

#include <array>

namespace zorlet {

namespace {

constexpr std::array<TabBarLayout::Tab, TabBarLayout::kTabCount> kTabs = {{
    {"UserViewController", "附近", "tab_nearby_link", "tab_nearby_active"},
    {"IdeaViewController", "好主意", "tab_idea_link", "tab_idea_active"},
    {"SmsViewController", "消息", "tab_message_link", "tab_message_active"},
    {"HomeViewController", "我的", "tab_home_link", "tab_home_active"},
}};

}  // namespace

const TabBarLayout::Tab& TabBarLayout::tab(int index) {
    return kTabs.at(static_cast<std::size_t>(index));
}

std::shared_ptr<ZorletTabBarController> TabBarLayout::load() {
    std::vector<ViewControllerPtr> controllers;
    for (int index = 0; index < kTabCount; ++index) {
        const Tab& entry = tab(index);
        auto root = ScreenFactory::create(entry.screenClassName, {{"title", entry.title}});
        if (!root) {
            // Every tab root is in the catalog; an empty screen keeps the bar whole if one ever is not.
            root = std::make_shared<ViewController>();
            root->setTitle(entry.title);
        }
        std::shared_ptr<CustomNavigationController> navigation;
        if (index == kMessageTab) {
            navigation = std::make_shared<MessageNavigationController>(root);
        } else {
            navigation = std::make_shared<CustomNavigationController>(root);
        }
        TabBarItem& item = navigation->tabBarItem();
        item.setTitle(entry.title);
        item.setTag(index);
        item.setImage(ImageAsset::named(entry.image));
        item.setSelectedImage(ImageAsset::named(entry.selectedImage));
        controllers.push_back(std::move(navigation));
    }
    auto shell = std::make_shared<ZorletTabBarController>();
    shell->setViewControllers(std::move(controllers));
    return shell;
}

}  // namespace zorlet
